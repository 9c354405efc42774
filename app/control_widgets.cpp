// One Qt widget per kind of template control, behaving as that kind does.

#include "app/control_widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <algorithm>

#include "app/template_group_box.h"
#include "app/text_codec.h"

namespace {

// A closed combo is as tall as an edit; the rest of its rectangle is the dropped list.
constexpr int kComboFieldHeight = 14;
constexpr int kComboItemHeight = 8;  // dialog units per entry of a dropped list

// A radio mark that only the program sets or clears: a click, however it arrives,
// leaves the mark as it is.
class IndicatorButton : public QRadioButton {
 public:
  using QRadioButton::QRadioButton;

 protected:
  void nextCheckState() override {}
};

QWidget* CreateIndicator(const QString& caption, QWidget* parent) {
  // Clicks fall through to the window beneath, and there is no tab stop.
  auto* indicator = new IndicatorButton(caption, parent);
  indicator->setAutoExclusive(false);
  indicator->setAttribute(Qt::WA_TransparentForMouseEvents);
  indicator->setFocusPolicy(Qt::NoFocus);
  return indicator;
}

// Typed text stays typed text: no completion, and neither Enter nor leaving the field
// picks an entry that happens to match it.
void KeepTypedText(QComboBox& combo) {
  combo.setInsertPolicy(QComboBox::NoInsert);
  QObject::disconnect(combo.lineEdit(), &QLineEdit::returnPressed, &combo, nullptr);
  QObject::disconnect(combo.lineEdit(), &QLineEdit::editingFinished, &combo, nullptr);
}

QWidget* CreateListBox(QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setSortingEnabled(false);
  list->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list->setUniformItemSizes(true);
  return list;
}

QWidget* CreateProgressBar(QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

QWidget* CreateStatic(const QString& caption, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setWordWrap(false);
  return label;
}

// Where a control sits, in pixels.
QRect ControlGeometry(const ControlSpec& entry, DialogBaseUnits base) {
  DialogRect rect = entry.rect;
  if (entry.kind == ControlKind::kCombo) rect.height = kComboFieldHeight;
  return MapDialogRect(rect, base);
}

}  // namespace

ControlMaker::ControlMaker(DialogBaseUnits base) : base_(base) {}

ControlMaker::~ControlMaker() = default;

QWidget* ControlMaker::Make(const ControlSpec& entry, QWidget* parent) {
  QWidget* widget = MakeOfKind(entry, parent);
  // Placed before it is shown: a widget shown without a size of its own is first sized
  // to its contents, and that measuring is thrown away.
  widget->setGeometry(ControlGeometry(entry, base_));
  widget->setHidden(!entry.shown);
  widget->setEnabled(entry.enabled);
  return widget;
}

QWidget* ControlMaker::MakeOfKind(const ControlSpec& entry, QWidget* parent) {
  const QString caption = FromCore(entry.caption);
  switch (entry.kind) {
    case ControlKind::kPushButton:
      return new QPushButton(caption, parent);
    case ControlKind::kDefaultPushButton: {
      auto* button = new QPushButton(caption, parent);
      button->setDefault(true);
      return button;
    }
    case ControlKind::kIndicator:
      return CreateIndicator(caption, parent);
    case ControlKind::kCheckBox:
      return new QCheckBox(caption, parent);
    case ControlKind::kEdit:
      return new QLineEdit(caption, parent);
    case ControlKind::kCombo:
      return MakeCombo(entry, parent);
    case ControlKind::kListBox:
      return CreateListBox(parent);
    case ControlKind::kProgressBar:
      return CreateProgressBar(parent);
    case ControlKind::kStatic:
      return CreateStatic(caption, parent);
    case ControlKind::kGroupBox:
      break;
  }
  return new TemplateGroupBox(caption, parent);
}

QWidget* ControlMaker::MakeCombo(const ControlSpec& entry, QWidget* parent) {
  if (!comboStandIn_) comboStandIn_ = std::make_unique<QCompleter>();
  auto* combo = new QComboBox(parent);
  auto* edit = new QLineEdit(combo);
  edit->setCompleter(comboStandIn_.get());
  combo->setLineEdit(edit);
  edit->setCompleter(nullptr);
  KeepTypedText(*combo);
  combo->setMaxVisibleItems(
      std::max(1, (entry.rect.height - kComboFieldHeight) / kComboItemHeight));
  return combo;
}
