// Start-up and shutdown of the panel window, the exit confirmation and Help.

#include "link/serial_port.h"
#include "panel/panel_dialog.h"

namespace {

constexpr int kOkResult = 10;
constexpr int kCancelResult = 2;

}  // namespace

bool CKeloConfigurationDlg::OnInitDialog() {
  controls_.FillComboLists();
  ShowPanel();
  ApplyStartUpSet();
  LoadPortNumber();
  ShowPanel();
  serviceBaseDate = host_.CurrentTime();
  controls_.SetText(ids::kServiceDueLine, "Next due ");
  firstLogReply = true;
  nextLogPointer = logPointer = 0;
  msgStack.Clear();
  // A refused timer does not stop start-up; the panel runs without that tick.
  if (!host_.StartTimer(kLinkTimerId, kLinkTickMs)) {
    host_.ShowMessage("No Timers Available", MessageButtons::kOk);
  }
  if (!host_.StartTimer(kConnectTimerId, kConnectTickMs)) {
    host_.ShowMessage("No Timers Available", MessageButtons::kOk);
  }
  controls_.SetFocus(ids::kExitButton);
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
  connectPending = false;
  connectSecondsLeft = 0;
}

void CKeloConfigurationDlg::OnDestroy() {
  if (portOpen) port_.ClosePort();
  SavePortNumber();
  host_.StopTimer(kLinkTimerId);
  host_.StopTimer(kConnectTimerId);
}

void CKeloConfigurationDlg::OnHelpClicked() {
  const std::string directory = host_.CurrentDirectory();
  if (host_.OpenDocument(directory + "/kelo manual.pdf")) return;
  host_.ShowMessage("Help files not found !\n Navigate to find", MessageButtons::kOk);
  host_.OpenDocument(directory);
}
