// The operator's commands. None of them touches the port: they check the panel and
// push command codes, which the link sends last-pushed first.

#include <string>
#include <utility>

#include "link/command_codes.h"
#include "panel/panel_dialog.h"

namespace {

constexpr int32_t kSHtMax = 10;
constexpr int32_t kCalValueMax = 250;
constexpr int32_t kByteMax = 255;

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
  if (!machineSettings || !machineCalibration) {
    host_.ShowMessage("Wait for Rx to complete", MessageButtons::kOk);
    return;
  }
  sHtBackup = sHt;
  tMinBackup = tMin;
  tMaxBackup = tMax;
  // The exchange has told the operator what is wrong; nothing is sent.
  if (!ReadPanel()) return;
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
  if (!CalibrationFitsItsBytes()) return;
  ShowPanel();
  txInProgress = true;
  for (int code :
       {cmd::kReadStatus, cmd::kReadCalibration, cmd::kReadNameSecondHalf, cmd::kReadNameFirstHalf,
        cmd::kReadSettings, cmd::kReadServiceDate, cmd::kWriteCalibration, cmd::kWriteSettings}) {
    msgStack.Push(code);
  }
}

bool CKeloConfigurationDlg::CalibrationFitsItsBytes() {
  // In exchange order; Cal Value and S_Ht are already held within their ranges.
  for (const auto& [value, editId] : {std::pair{tMax, ids::kTMaxEdit}, {tMin, ids::kTMinEdit}}) {
    if (value < 0 || value > kByteMax) {
      host_.ShowMessage("Please enter an integer between 0 and 255.", MessageButtons::kOk);
      controls_.SetFocus(editId);
      return false;
    }
  }
  return true;
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

void CKeloConfigurationDlg::OnSetDateClicked() {
  msgStack.Push(cmd::kSetClock);
}

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
