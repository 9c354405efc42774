#include "app/settings_compare_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/palette_colours.h"
#include "app/text_codec.h"

namespace {

enum Column { kSetting, kCurrent, kFile, kNote, kColumns };

QLabel* Line(const QString& text, const QString& accessibleName) {
  auto* label = new QLabel(text);
  label->setWordWrap(true);
  label->setTextFormat(Qt::PlainText);
  label->setAccessibleName(accessibleName);
  return label;
}

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(FromCore(text));
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  return item;
}

}  // namespace

SettingsCompareDialog::SettingsCompareDialog(const Comparison& comparison, QWidget* parent)
    : QDialog(parent), table_(new QTableWidget(0, kColumns)) {
  setWindowTitle(tr("Compare with file"));
  auto* layout = new QVBoxLayout(this);
  for (const std::string& headline : comparison.headlines) {
    QLabel* label = Line(FromCore(headline), tr("About this comparison"));
    ShowAsWarning(*label);
    layout->addWidget(label);
  }
  QLabel* summary = Line(FromCore(CompareSummary(comparison)), tr("Summary"));
  QFont bold = summary->font();
  bold.setBold(true);
  summary->setFont(bold);
  layout->addWidget(summary);

  table_->setAccessibleName(tr("Settings compared"));
  table_->setAccessibleDescription(tr("Space ticks or unticks the setting of the current row"));
  table_->setHorizontalHeaderLabels(
      {tr("Setting"), comparison.withPanel ? tr("Panel") : tr("Machine"), tr("File"), tr("Note")});
  table_->verticalHeader()->hide();
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setWordWrap(false);
  FillTable(comparison);
  layout->addWidget(table_, 1);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
  apply_ = buttons->addButton(tr("&Apply"), QDialogButtonBox::ApplyRole);
  applyAndWrite_ = buttons->addButton(tr("Apply and &Write"), QDialogButtonBox::AcceptRole);
  apply_->setToolTip(tr("Put the ticked values into the panel's controls; Write sends them"));
  applyAndWrite_->setToolTip(tr("Put the ticked values into the panel and write them"));
  connect(apply_, &QPushButton::clicked, this, [this] { Choose(Choice::kApply); });
  connect(applyAndWrite_, &QPushButton::clicked, this, [this] { Choose(Choice::kApplyAndWrite); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(table_, &QTableWidget::itemChanged, this, &SettingsCompareDialog::TicksChanged);
  TicksChanged();
  resize(ContentSize());
}

void SettingsCompareDialog::FillTable(const Comparison& comparison) {
  table_->setRowCount(static_cast<int>(comparison.rows.size()));
  for (int r = 0; r < table_->rowCount(); ++r) {
    const CompareRow& row = comparison.rows[static_cast<std::size_t>(r)];
    settings_.push_back(row.setting);
    QTableWidgetItem* name = Cell(std::string(SettingName(row.setting)));
    // The note also where a narrow screen scrolls its column out of sight.
    name->setToolTip(FromCore(row.note));
    if (row.settable) {
      name->setFlags(name->flags() | Qt::ItemIsUserCheckable);
      name->setCheckState(row.ticked ? Qt::Checked : Qt::Unchecked);
    }
    if (row.differs) {
      QFont bold = name->font();
      bold.setBold(true);
      name->setFont(bold);
    }
    table_->setItem(r, kSetting, name);
    table_->setItem(r, kCurrent, Cell(row.current));
    table_->setItem(r, kFile, Cell(row.file));
    table_->setItem(r, kNote, Cell(row.note));
  }
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);
  if (table_->rowCount() > 0) table_->setCurrentCell(0, kSetting);
}

std::vector<std::size_t> SettingsCompareDialog::Ticked() const {
  std::vector<std::size_t> ticked;
  for (int r = 0; r < table_->rowCount(); ++r) {
    const QTableWidgetItem* name = table_->item(r, kSetting);
    if (name->flags().testFlag(Qt::ItemIsUserCheckable) && name->checkState() == Qt::Checked) {
      ticked.push_back(settings_[static_cast<std::size_t>(r)]);
    }
  }
  return ticked;
}

void SettingsCompareDialog::TicksChanged() {
  const bool any = !Ticked().empty();
  apply_->setEnabled(any);
  applyAndWrite_->setEnabled(any);
}

void SettingsCompareDialog::Choose(Choice choice) {
  choice_ = choice;
  accept();
}

// Room for every row and column, as far as the screen allows.
QSize SettingsCompareDialog::ContentSize() const {
  const QHeaderView* header = table_->horizontalHeader();
  const int frame = 2 * table_->frameWidth();
  const int width = header->length() + frame + table_->verticalScrollBar()->sizeHint().width();
  const int tableHeight = header->height() + table_->verticalHeader()->length() + frame;
  QSize size = sizeHint();
  size.setWidth(std::max(size.width(), width + 2 * layout()->contentsMargins().left()));
  size.setHeight(size.height() - table_->sizeHint().height() + tableHeight);
  if (const QScreen* shown = screen()) size = size.boundedTo(shown->availableGeometry().size());
  return size;
}
