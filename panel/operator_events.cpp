#include "panel/operator_events.h"

#include "panel/panel_dialog.h"
#include "resources/control_ids.h"

namespace {

using Handler = void (*)(CKeloConfigurationDlg& panel);

struct Binding {
  int id;
  Handler handler;
};

constexpr Binding kClickHandlers[] = {
    {ids::kExitButton, [](CKeloConfigurationDlg& p) { p.OnOK(); }},
    {ids::kWriteButton, [](CKeloConfigurationDlg& p) { p.commands().OnWriteClicked(); }},
    {ids::kConnectButton, [](CKeloConfigurationDlg& p) { p.connection().OnConnectClicked(); }},
    {ids::kReadButton, [](CKeloConfigurationDlg& p) { p.commands().OnReadClicked(); }},
    {ids::kGetAllButton, [](CKeloConfigurationDlg& p) { p.commands().OnGetAllClicked(); }},
    {ids::kSetDefaultsButton,
     [](CKeloConfigurationDlg& p) { p.commands().OnSetDefaultsClicked(); }},
    {ids::kSetDateButton, [](CKeloConfigurationDlg& p) { p.commands().OnSetDateClicked(); }},
    {ids::kSetServiceButton, [](CKeloConfigurationDlg& p) { p.commands().OnSetServiceClicked(); }},
    {ids::kSaveLogButton, [](CKeloConfigurationDlg& p) { p.commands().OnSaveLogClicked(); }},
    {ids::kSaveAllButton, [](CKeloConfigurationDlg& p) { p.commands().OnSaveAllClicked(); }},
    {ids::kHelpButton, [](CKeloConfigurationDlg& p) { p.OnHelpClicked(); }},
    {ids::kClearLogButton, [](CKeloConfigurationDlg& p) { p.commands().OnClearLogClicked(); }},
    {ids::kCompressorRunCheck,
     [](CKeloConfigurationDlg& p) { p.commands().OnCompressorRunClicked(); }},
};

constexpr Binding kSelectionHandlers[] = {
    {ids::kLocalTempCombo, [](CKeloConfigurationDlg& p) { p.commands().OnLocalTempChanged(); }},
    {ids::kRunTimeCombo, [](CKeloConfigurationDlg& p) { p.commands().OnRunTimeChanged(); }},
};

constexpr Binding kEditHandlers[] = {
    {ids::kCalValueEdit, [](CKeloConfigurationDlg& p) { p.commands().OnCalValueChanged(); }},
    {ids::kPortEdit, [](CKeloConfigurationDlg& p) { p.connection().OnPortNumberChanged(); }},
};

template <std::size_t N>
void Run(CKeloConfigurationDlg& panel, const Binding (&bindings)[N], int id) {
  for (const Binding& binding : bindings) {
    if (binding.id == id) binding.handler(panel);
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
