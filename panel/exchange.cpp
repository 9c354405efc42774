#include "panel/exchange.h"

#include "panel/host.h"
#include "state/panel_state.h"

void ShowPanel(PanelState& panel) {
  ShowBoundValues(panel.values, panel.controls);
}

bool ReadPanel(PanelState& panel, Host& host) {
  const auto fault = ReadBoundValues(panel.values, panel.controls);
  if (!fault) return true;
  host.ShowMessage(fault->message, MessageButtons::kOk);
  panel.controls.SetFocus(fault->editId);
  return false;
}
