#include "panel/operator_events.h"

#include "panel/panel_dialog.h"

namespace {

using Handler = void (CKeloConfigurationDlg::*)();

struct Binding {
  int id;
  Handler handler;
};

constexpr Binding kClickHandlers[] = {
    {ids::kExitButton, &CKeloConfigurationDlg::OnOK},
    {ids::kWriteButton, &CKeloConfigurationDlg::OnWriteClicked},
    {ids::kConnectButton, &CKeloConfigurationDlg::OnConnectClicked},
    {ids::kReadButton, &CKeloConfigurationDlg::OnReadClicked},
    {ids::kGetAllButton, &CKeloConfigurationDlg::OnGetAllClicked},
    {ids::kSetDefaultsButton, &CKeloConfigurationDlg::OnSetDefaultsClicked},
    {ids::kSetDateButton, &CKeloConfigurationDlg::OnSetDateClicked},
    {ids::kSetServiceButton, &CKeloConfigurationDlg::OnSetServiceClicked},
    {ids::kSaveLogButton, &CKeloConfigurationDlg::OnSaveLogClicked},
    {ids::kSaveAllButton, &CKeloConfigurationDlg::OnSaveAllClicked},
    {ids::kHelpButton, &CKeloConfigurationDlg::OnHelpClicked},
    {ids::kClearLogButton, &CKeloConfigurationDlg::OnClearLogClicked},
    {ids::kCompressorRunCheck, &CKeloConfigurationDlg::OnCompressorRunClicked},
};

constexpr Binding kSelectionHandlers[] = {
    {ids::kLocalTempCombo, &CKeloConfigurationDlg::OnLocalTempChanged},
    {ids::kRunTimeCombo, &CKeloConfigurationDlg::OnRunTimeChanged},
};

constexpr Binding kEditHandlers[] = {
    {ids::kCalValueEdit, &CKeloConfigurationDlg::OnCalValueChanged},
    {ids::kPortEdit, &CKeloConfigurationDlg::OnPortNumberChanged},
};

template <std::size_t N>
void Run(CKeloConfigurationDlg& panel, const Binding (&bindings)[N], int id) {
  for (const Binding& binding : bindings) {
    if (binding.id == id) (panel.*binding.handler)();
  }
}

}  // namespace

void OperatorClicked(CKeloConfigurationDlg& panel, int id) {
  ControlModel& controls = panel.controls();
  const ControlState* state = controls.Find(id);
  if (state == nullptr || !state->enabled) return;
  if (state->kind == ControlKind::kCheckBox) controls.SetCheck(id, state->check == 0 ? 1 : 0);
  Run(panel, kClickHandlers, id);
}

void OperatorSelected(CKeloConfigurationDlg& panel, int id, int index) {
  panel.controls().SetSelection(id, index);
  Run(panel, kSelectionHandlers, id);
}

void OperatorEdited(CKeloConfigurationDlg& panel, int id, std::string_view text) {
  const ControlState* state = panel.controls().Find(id);
  if (state == nullptr || state->kind != ControlKind::kEdit) return;
  panel.controls().SetText(id, text);
  Run(panel, kEditHandlers, id);
}

void OperatorTypedComboText(CKeloConfigurationDlg& panel, int id, std::string_view text) {
  panel.controls().TypeComboText(id, text);
}
