// The operator's commands. None of them touches the port: they check the panel and
// push command codes, which the link sends last-pushed first.

#include <string>

#include "link/command_codes.h"
#include "panel/panel_dialog.h"

namespace {

constexpr int32_t kSHtMax = 10;
constexpr int32_t kCalValueMax = 250;

}  // namespace

void CKeloConfigurationDlg::OnWriteClicked() {
  if (rxInProgress) {
    host_.ShowMessage("Wait for Rx to complete", MessageButtons::kOk);
    return;
  }
  if (!portOpen) {
    host_.ShowMessage("Error \nNo port open", MessageButtons::kOk);
    return;
  }
  // Until the machine's own settings are on the panel, writing would overwrite them
  // with the panel's start-up values.
  if (!settingsReceived || !calibrationReceived) {
    host_.ShowMessage("Wait for Rx to complete", MessageButtons::kOk);
    return;
  }
  sHtBackup = sHt;
  tMinBackup = tMin;
  tMaxBackup = tMax;
  ReadPanel();  // a failed exchange does not stop Write
  sHtMinimumRaw = 1;
  if (sHt > kSHtMax || sHt < 0) {
    const bool tooHigh = sHt > kSHtMax;
    sHt = sHtBackup;
    tMin = tMinBackup;
    tMax = tMaxBackup;
    host_.ShowMessage(tooHigh ? std::string("s-heat max is \n 10C")
                              : "s-heat minimum is \n" + std::to_string(sHtMinimumRaw / 4),
                      MessageButtons::kOk);
    ShowPanel();
    return;
  }
  if (calValue > kCalValueMax || calValue < 0) calValue = 0;
  ShowPanel();
  txInProgress = true;
  for (int code : {cmd::kReadStatus, cmd::kReadCalibration, cmd::kReadNameSecondHalf,
                   cmd::kReadNameFirstHalf, cmd::kReadSettings, cmd::kReadServiceDate,
                   cmd::kWriteCalibration, cmd::kWriteSettings}) {
    msgStack.Push(code);
  }
}

void CKeloConfigurationDlg::OnReadClicked() {
  if (txInProgress) {
    host_.ShowMessage("Wait for Tx to complete", MessageButtons::kOk);
    return;
  }
  if (!portOpen) {
    host_.ShowMessage("Error \nNo port open", MessageButtons::kOk);
    return;
  }
  rxInProgress = true;
  for (int code : {cmd::kReadCalibration, cmd::kReadNameSecondHalf, cmd::kReadNameFirstHalf,
                   cmd::kReadSettings, cmd::kReadServiceDate}) {
    msgStack.Push(code);
  }
}

void CKeloConfigurationDlg::OnSetDateClicked() { msgStack.Push(cmd::kSetClock); }

void CKeloConfigurationDlg::OnSetServiceClicked() {
  msgStack.Push(cmd::kSetServiceDate);
  msgStack.Push(cmd::kReadServiceDate);
  msgStack.Push(cmd::kReadServiceDate);
}

void CKeloConfigurationDlg::OnSetDefaultsClicked() {
  if (host_.ShowMessage("      Warning!\n Calibration values\n will be overwritten",
                        MessageButtons::kOkCancel) != MessageAnswer::kOk) {
    return;
  }
  ApplyDefaultSet();
}

void CKeloConfigurationDlg::OnCalValueChanged() {
  ReadPanel();
  if (calValue > kCalValueMax || calValue < 0) {
    calValue = 0;
    ShowPanel();
    controls_.SelectAllText(ids::kCalValueEdit);
  }
}

void CKeloConfigurationDlg::OnLocalTempChanged() {
  // Entry "18" also sets the evaporator fan to "+1".
  if (controls_.GetSelection(ids::kLocalTempCombo) == 1) {
    controls_.SetSelection(ids::kEvapFanCombo, 1);
  }
}

void CKeloConfigurationDlg::OnCompressorRunClicked() {
  if (controls_.IsChecked(ids::kCompressorRunCheck) &&
      controls_.GetSelection(ids::kRunTimeCombo) == 0) {
    host_.ShowMessage("Warning, \nAux Input = Panic  \nWill Be Disabled", MessageButtons::kOk);
    controls_.SetSelection(ids::kRunTimeCombo, 1);
  }
}

void CKeloConfigurationDlg::OnRunTimeChanged() {
  if (controls_.IsChecked(ids::kCompressorRunCheck) &&
      controls_.GetSelection(ids::kRunTimeCombo) == 0) {
    host_.ShowMessage("Warning, \nPower Save  \nWill Be Disabled", MessageButtons::kOk);
    controls_.SetCheck(ids::kCompressorRunCheck, 0);
  }
}
