// The panel's message map: which operator event of which control runs which handler.
// Only the operator's own events are connected (clicked, textEdited, activated), so
// changes made from code never run a handler.

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <span>

#include "app/panel_window.h"
#include "app/text_codec.h"
#include "panel/panel_dialog.h"

namespace {

using Dlg = CKeloConfigurationDlg;
using Handler = void (Dlg::*)();

struct Route {
  int id;
  Handler handler;
};

// Button clicked. Button 1 (Exit) is the dialog's OK command.
constexpr Route kButtonClicked[] = {
    {ids::kExitButton, &Dlg::OnOK},
    {ids::kWriteButton, &Dlg::OnWriteClicked},
    {ids::kReadButton, &Dlg::OnReadClicked},
    {ids::kConnectButton, &Dlg::OnConnectClicked},
    {ids::kGetAllButton, &Dlg::OnGetAllClicked},
    {ids::kSetDefaultsButton, &Dlg::OnSetDefaultsClicked},
    {ids::kSetDateButton, &Dlg::OnSetDateClicked},
    {ids::kSetServiceButton, &Dlg::OnSetServiceClicked},
    {ids::kSaveLogButton, &Dlg::OnSaveLogClicked},
    {ids::kSaveAllButton, &Dlg::OnSaveAllClicked},
    {ids::kHelpButton, &Dlg::OnHelpClicked},
    {ids::kClearLogButton, &Dlg::OnClearLogClicked},
    {ids::kCompressorRunCheck, &Dlg::OnCompressorRunClicked},
};

// Edit changed: after every change of its text that the operator makes.
constexpr Route kEditChanged[] = {
    {ids::kCalValueEdit, &Dlg::OnCalValueChanged},
    {ids::kPortEdit, &Dlg::OnPortNumberChanged},
};

// Selection changed by the operator. Combo 1061 notifies, but nothing handles it.
constexpr Route kSelectionChanged[] = {
    {ids::kLocalTempCombo, &Dlg::OnLocalTempChanged},
    {ids::kRunTimeCombo, &Dlg::OnRunTimeChanged},
};

Handler HandlerOf(std::span<const Route> routes, int id) {
  for (const Route& route : routes) {
    if (route.id == id) return route.handler;
  }
  return nullptr;
}

}  // namespace

void PanelWindow::ConnectOperatorEvents() {
  for (const ControlSpec& spec : PanelControls()) {
    QWidget* widget = Control(spec.id);
    if (widget == nullptr) continue;
    switch (spec.kind) {
      case ControlKind::kPushButton:
      case ControlKind::kDefaultPushButton:
        ConnectButton(spec.id, widget);
        break;
      case ControlKind::kCheckBox:
        ConnectCheckBox(spec.id, widget);
        break;
      case ControlKind::kEdit:
        ConnectEdit(spec.id, widget);
        break;
      case ControlKind::kCombo:
        ConnectCombo(spec.id, widget);
        break;
      default:  // indicators, statics, the list, progress bars: no operator events
        break;
    }
  }
}

void PanelWindow::ConnectButton(int id, QWidget* widget) {
  const auto handler = HandlerOf(kButtonClicked, id);
  if (handler == nullptr) return;
  connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
          [this, handler] { Run(handler); });
}

void PanelWindow::ConnectCheckBox(int id, QWidget* widget) {
  // The check box has toggled; the model takes the new mark before any handler runs.
  const auto handler = HandlerOf(kButtonClicked, id);
  connect(static_cast<QAbstractButton*>(widget), &QAbstractButton::clicked, this,
          [this, id, handler](bool checked) {
            model_.SetCheck(id, checked ? 1 : 0);
            if (handler != nullptr) Run(handler);
          });
}

void PanelWindow::ConnectEdit(int id, QWidget* widget) {
  const auto handler = HandlerOf(kEditChanged, id);
  connect(static_cast<QLineEdit*>(widget), &QLineEdit::textEdited, this,
          [this, id, handler](const QString& text) {
            model_.SetText(id, ToCore(text));
            if (handler != nullptr) Run(handler);
          });
}

void PanelWindow::ConnectCombo(int id, QWidget* widget) {
  auto* combo = static_cast<QComboBox*>(widget);
  const auto handler = HandlerOf(kSelectionChanged, id);
  connect(combo->lineEdit(), &QLineEdit::textEdited, this,
          [this, id](const QString& text) { model_.TypeComboText(id, ToCore(text)); });
  connect(combo, &QComboBox::activated, this, [this, id, handler](int index) {
    model_.SetSelection(id, index);
    if (handler != nullptr) Run(handler);
  });
}

void PanelWindow::Run(Handler handler) {
  (panel_.*handler)();
  // Any handler may have read the panel, and with it the port number.
  RefreshPortToolTip();
}
