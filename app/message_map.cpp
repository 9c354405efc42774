// The operator's own events of each widget (clicked, textEdited, activated) go to the
// panel's message map; changes made from code raise none of them, so never run a
// handler.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>

#include "app/panel_window.h"
#include "app/text_codec.h"
#include "panel/operator_events.h"
#include "panel/panel_dialog.h"

void PanelWindow::ConnectOperatorEvents() {
  for (const ControlSpec& entry : PanelControls()) {
    QWidget* widget = Control(entry.id);
    if (widget == nullptr) continue;
    switch (entry.kind) {
      case ControlKind::kPushButton:
      case ControlKind::kDefaultPushButton:
      case ControlKind::kCheckBox:  // toggled already; the model toggles its mark alike
        ConnectButton(entry.id, widget);
        break;
      case ControlKind::kEdit:
        ConnectEdit(entry.id, widget);
        break;
      case ControlKind::kCombo:
        ConnectCombo(entry.id, widget);
        break;
      default:  // indicators, statics, the list, progress bars: no operator events
        break;
    }
  }
}

void PanelWindow::ConnectButton(int id, QWidget* widget) {
  connect(qobject_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this, [this, id] {
    OperatorClicked(panel_, id);
    RefreshPortToolTip();
  });
}

void PanelWindow::ConnectEdit(int id, QWidget* widget) {
  connect(qobject_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
          [this, id](const QString& text) {
            OperatorEdited(panel_, id, ToCore(text));
            // Any change handler reads the whole panel, and with it the port number.
            RefreshPortToolTip();
          });
}

void PanelWindow::ConnectCombo(int id, QWidget* widget) {
  auto* combo = qobject_cast<QComboBox*>(widget);
  connect(combo->lineEdit(), &QLineEdit::textEdited, this,
          [this, id](const QString& text) { OperatorTypedComboText(panel_, id, ToCore(text)); });
  connect(combo, &QComboBox::activated, this,
          [this, id](int index) { OperatorSelected(panel_, id, index); });
}
