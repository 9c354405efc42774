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
#include <algorithm>

#include "app/template_group_box.h"
#include "app/text_codec.h"

namespace {

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

QWidget* CreateCombo(const ControlSpec& entry, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  // Typed text stays typed text: no completion, and neither Enter nor leaving the
  // field picks an entry that happens to match it. The combo makes a completer for a
  // line edit that has none; one that already has one is taken as it is, so this
  // stand-in, dropped at once, spares building a completer over the entries.
  auto* edit = new QLineEdit(combo);
  QCompleter standIn;
  edit->setCompleter(&standIn);
  combo->setLineEdit(edit);
  edit->setCompleter(nullptr);
  combo->setInsertPolicy(QComboBox::NoInsert);
  QObject::disconnect(combo->lineEdit(), &QLineEdit::returnPressed, combo, nullptr);
  QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
  combo->setMaxVisibleItems(
      std::max(1, (entry.rect.height - kComboFieldHeight) / kComboItemHeight));
  return combo;
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

QWidget* CreateOfKind(const ControlSpec& entry, QWidget* parent) {
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
      return CreateCombo(entry, parent);
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

}  // namespace

QWidget* CreateControlWidget(const ControlSpec& entry, QWidget* parent, DialogBaseUnits base) {
  QWidget* widget = CreateOfKind(entry, parent);
  // Placed before it is shown: a widget shown without a size of its own is first sized
  // to its contents, and that measuring is thrown away.
  widget->setGeometry(ControlGeometry(entry, base));
  widget->setHidden(!entry.shown);
  widget->setEnabled(entry.enabled);
  return widget;
}

QRect ControlGeometry(const ControlSpec& entry, DialogBaseUnits base) {
  DialogRect rect = entry.rect;
  if (entry.kind == ControlKind::kCombo) rect.height = kComboFieldHeight;
  return MapDialogRect(rect, base);
}
