// The window's side of the control model: every change of a control's state, whoever
// made it, is shown in its widget. Signals are blocked while a widget is changed, so
// no operator handler runs; a text the operator has just typed is not set again, so
// the cursor stays where it is.

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>

#include "app/accessible_names.h"
#include "app/link_status_bar.h"
#include "app/panel_window.h"
#include "app/text_codec.h"
#include "resources/control_ids.h"

void PanelWindow::TextChanged(int id, const std::string& text) {
  QWidget* widget = Control(id);
  const QString shown = FromCore(text);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    if (edit->text() != shown) {
      const QSignalBlocker blocker(edit);
      edit->setText(shown);
    }
    if (id == ids::kPortEdit) RefreshPortToolTip();
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    MirrorCombo(id, combo);
  } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
    button->setText(shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(shown);
    if (id == ids::kStatusLine) StatusLineChanged();
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(shown);
  }
}

// A reply came, or none did, or the port opened or closed: the readouts' look follows
// at once (a few flags); the status bar reads the panel after the tick.
void PanelWindow::StatusLineChanged() {
  DimStaleReadouts();
  statusBar_->RefreshSoon();
}

void PanelWindow::CheckChanged(int id, int check) {
  if (auto* button = qobject_cast<QAbstractButton*>(Control(id))) {
    const QSignalBlocker blocker(button);
    button->setChecked(check != 0);
    if (qobject_cast<QRadioButton*>(button) != nullptr) NameIndicator(*button);
  }
}

void PanelWindow::SelectionChanged(int id, int /*index*/) {
  if (auto* combo = qobject_cast<QComboBox*>(Control(id))) MirrorCombo(id, combo);
}

void PanelWindow::ComboEntriesChanged(int id) {
  auto* combo = qobject_cast<QComboBox*>(Control(id));
  const ControlState* state = model_.Find(id);
  if (combo == nullptr || state == nullptr) return;
  {
    const QSignalBlocker blocker(combo);
    combo->clear();
    for (const std::string& entry : state->entries) combo->addItem(FromCore(entry));
  }
  MirrorCombo(id, combo);
}

// Shows the model's selection and field text. Qt's combo rewrites its field when its
// index changes (to nothing for -1), so the field is put back afterwards; when that
// restores what the operator was typing, the cursor goes back where it was.
void PanelWindow::MirrorCombo(int id, QComboBox* combo) {
  const ControlState* state = model_.Find(id);
  if (state == nullptr) return;
  QLineEdit* field = combo->lineEdit();
  const QSignalBlocker comboBlocker(combo);
  const QSignalBlocker fieldBlocker(field);
  const QString typed = field->text();
  const int cursor = field->cursorPosition();
  if (combo->currentIndex() != state->selection) combo->setCurrentIndex(state->selection);
  const QString text = FromCore(state->text);
  if (field->text() != text) {
    field->setText(text);
    if (text == typed) field->setCursorPosition(cursor);
  }
}

void PanelWindow::ProgressChanged(int id, int position) {
  if (auto* bar = qobject_cast<QProgressBar*>(Control(id))) bar->setValue(position);
}

void PanelWindow::LineAdded(int id, const std::string& line) {
  if (auto* list = qobject_cast<QListWidget*>(Control(id))) list->addItem(FromCore(line));
}

void PanelWindow::ListCleared(int id) {
  if (id == ids::kEventList) statusBar_->OfferUndoClear();
  if (auto* list = qobject_cast<QListWidget*>(Control(id))) {
    const QSignalBlocker blocker(list);
    list->clear();
  }
}

void PanelWindow::TopIndexChanged(int id, int index) {
  auto* list = qobject_cast<QListWidget*>(Control(id));
  if (list == nullptr) return;
  if (QListWidgetItem* item = list->item(index)) {
    list->scrollToItem(item, QAbstractItemView::PositionAtTop);
  }
}

void PanelWindow::TextSelectedAll(int id) {
  if (auto* edit = qobject_cast<QLineEdit*>(Control(id))) edit->selectAll();
}

void PanelWindow::FocusRequested(int id) {
  if (QWidget* widget = Control(id)) widget->setFocus(Qt::OtherFocusReason);
}

// A window built over a panel that has already started shows the panel as it is, not
// the template's captions; over a panel not yet started this changes nothing.
void PanelWindow::ShowModelState() {
  for (const ControlState& control : model_.All()) {
    TextChanged(control.id, control.text);
    switch (control.kind) {
      case ControlKind::kCombo:
        ComboEntriesChanged(control.id);
        break;
      case ControlKind::kIndicator:
      case ControlKind::kCheckBox:
        CheckChanged(control.id, control.check);
        break;
      case ControlKind::kProgressBar:
        ProgressChanged(control.id, control.position);
        break;
      case ControlKind::kListBox:
        for (const std::string& line : control.lines) LineAdded(control.id, line);
        TopIndexChanged(control.id, control.topIndex);
        break;
      default:
        break;
    }
  }
  FocusRequested(model_.FocusedControl());
}
