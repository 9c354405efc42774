// Start-up and shutdown of the panel window, the exit confirmation and Help.

#include "panel/exchange.h"
#include "panel/panel_dialog.h"
#include "panel/panel_sets.h"
#include "resources/control_ids.h"

namespace {

constexpr int kOkResult = 10;
constexpr int kCancelResult = 2;

}  // namespace

bool CKeloConfigurationDlg::OnInitDialog() {
  ControlModel& controls = state_.controls;
  controls.FillComboLists();
  ShowPanel(state_);
  ApplyStartUpSet(controls);
  connection_.LoadPortNumber();
  ShowPanel(state_);
  state_.machine.serviceBaseDate = host_.CurrentTime();
  controls.SetText(ids::kServiceDueLine, "Next due ");
  log_.RestartFollowing();
  link_.ClearQueue();
  // A refused timer does not stop start-up; the panel runs without that tick.
  if (!host_.StartTimer(kLinkTimerId, kLinkTickMs)) {
    host_.ShowMessage("No Timers Available", MessageButtons::kOk);
  }
  if (!host_.StartTimer(kConnectTimerId, kConnectTickMs)) {
    host_.ShowMessage("No Timers Available", MessageButtons::kOk);
  }
  controls.SetFocus(ids::kExitButton);
  return true;
}

// Exit is the default button, so Enter in any edit asks to exit; the box defaults to
// Cancel, so that a second Enter does not quit and lose an unsaved event log.
void CKeloConfigurationDlg::OnOK() {
  if (host_.ShowMessage("Confirm Exit", MessageButtons::kOkCancelDefaultCancel) !=
      MessageAnswer::kOk) {
    return;
  }
  host_.EndDialog(kOkResult);
}

void CKeloConfigurationDlg::OnCancel() {
  if (host_.ShowMessage("Confirm Exit", MessageButtons::kOkCancelDefaultCancel) !=
      MessageAnswer::kOk) {
    return;
  }
  host_.EndDialog(kCancelResult);
  connection_.StopAttempt();
}

void CKeloConfigurationDlg::OnDestroy() {
  if (link_.IsOpen()) link_.Close();
  connection_.SavePortNumber();
  host_.StopTimer(kLinkTimerId);
  host_.StopTimer(kConnectTimerId);
  host_.StopTimer(kFindTimerId);
}

void CKeloConfigurationDlg::OnHelpClicked() {
  const std::string directory = host_.CurrentDirectory();
  if (host_.OpenDocument(directory + "/kelo manual.pdf")) return;
  host_.ShowMessage("Help files not found !\n Navigate to find", MessageButtons::kOk);
  host_.OpenDocument(directory);
}
