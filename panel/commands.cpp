// The operator's commands on the settings and the machine: Write, Read, Set Date, Set
// Service, Set Defaults, and the guards and interlocks of the panel's fields.

#include "panel/commands.h"

#include <array>
#include <string>
#include <utility>

#include "link/command_codes.h"
#include "link/link_engine.h"
#include "panel/exchange.h"
#include "panel/host.h"
#include "panel/panel_sets.h"
#include "replies/settings_block.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

constexpr int32_t kByteMax = 255;
// The "s-heat minimum" message shows this divided by 4, so its digit is always 0.
constexpr int32_t kSHtMinimumRaw = 1;

}  // namespace

PanelCommands::PanelCommands(PanelState& panel, LinkEngine& link, LogFollower& log,
                             const TelemetryRecording& recording, Host& host)
    : panel_(panel), link_(link), log_(log), recording_(recording), host_(host) {}

void PanelCommands::OnWriteClicked() {
  MachineReadings& machine = panel_.machine;
  if (panel_.gate.rxInProgress) {
    host_.ShowMessage("Wait for Rx to complete", MessageButtons::kOk);
    return;
  }
  if (!link_.IsOpen()) {
    host_.ShowMessage("Error \nNo port open", MessageButtons::kOk);
    return;
  }
  // Until the machine's own settings are on the panel, writing would overwrite them
  // with the panel's start-up values.
  if (!machine.machineSettings || !machine.machineCalibration) {
    host_.ShowMessage("Wait for Rx to complete", MessageButtons::kOk);
    return;
  }
  // Decided before the panel is read: keeping Cal Value within 250 changes its edit.
  const CalibrationUnchanged unchanged =
      UnchangedCalibration(panel_.controls, machine.calibrationShown);
  BoundValues& values = panel_.values;
  const BoundValues before = values;
  // The exchange has told the operator what is wrong; nothing is sent, nothing kept.
  if (!ReadPanel(panel_, host_)) {
    values = before;
    return;
  }
  // An S_Ht the operator left alone goes back as the machine's byte, whatever it is.
  if (!unchanged[kSHtField] && (values.sHt > kSHtMax || values.sHt < 0)) {
    RefuseSHt(before);
    return;
  }
  if (!CalibrationFitsItsBytes()) {
    values = before;
    return;
  }
  if (values.calValue > kCalValueMax || values.calValue < 0) values.calValue = 0;
  ShowPanel(panel_);
  KeepWhatStandsForTheMachine(unchanged);
  panel_.gate.settingsToSend = SettingsToWrite(panel_.controls, *machine.machineSettings);
  panel_.gate.calibrationToSend =
      CalibrationToWrite({values.calValue, values.sHt, values.tMin, values.tMax}, unchanged,
                         *machine.machineCalibration);
  panel_.gate.txInProgress = true;
  for (int code :
       {cmd::kReadStatus, cmd::kReadCalibration, cmd::kReadNameSecondHalf, cmd::kReadNameFirstHalf,
        cmd::kReadSettings, cmd::kReadServiceDate, cmd::kWriteCalibration, cmd::kWriteSettings}) {
    link_.Queue(code);
  }
}

// S_Ht, T_Min and T_Max go back to what they were and are shown so; the other values
// keep what the panel held.
void PanelCommands::RefuseSHt(const BoundValues& before) {
  BoundValues& values = panel_.values;
  const bool tooHigh = values.sHt > kSHtMax;
  values.sHt = before.sHt;
  values.tMin = before.tMin;
  values.tMax = before.tMax;
  host_.ShowMessage(tooHigh ? std::string("s-heat max is \n 10C")
                            : "s-heat minimum is \n" + std::to_string(kSHtMinimumRaw / 4),
                    MessageButtons::kOk);
  ShowPanel(panel_);
}

// An edit left alone still stands for the machine's value after Write has shown the
// panel, even where it now shows that value clamped, so a second Write sends it again.
void PanelCommands::KeepWhatStandsForTheMachine(const CalibrationUnchanged& unchanged) {
  const CalibrationTexts shown = ShownCalibration(panel_.controls);
  CalibrationTexts& machineShown = panel_.machine.calibrationShown;
  for (std::size_t i = 0; i < shown.size(); ++i) {
    if (unchanged[i]) machineShown[i] = shown[i];
  }
}

bool PanelCommands::CalibrationFitsItsBytes() {
  const BoundValues& values = panel_.values;
  // In exchange order. Cal Value and S_Ht fit already: the exchange holds Cal Value within
  // 0 to 255, and S_Ht is either checked or the machine's own.
  for (const auto& [value, editId] :
       {std::pair{values.tMax, ids::kTMaxEdit}, {values.tMin, ids::kTMinEdit}}) {
    if (value < 0 || value > kByteMax) {
      host_.ShowMessage("Please enter an integer between 0 and 255.", MessageButtons::kOk);
      panel_.controls.SetFocus(editId);
      return false;
    }
  }
  return true;
}

void PanelCommands::OnReadClicked() {
  if (panel_.gate.txInProgress) {
    host_.ShowMessage("Wait for Tx to complete", MessageButtons::kOk);
    return;
  }
  if (!link_.IsOpen()) {
    host_.ShowMessage("Error \nNo port open", MessageButtons::kOk);
    return;
  }
  panel_.gate.rxInProgress = true;
  for (int code : {cmd::kReadCalibration, cmd::kReadNameSecondHalf, cmd::kReadNameFirstHalf,
                   cmd::kReadSettings, cmd::kReadServiceDate}) {
    link_.Queue(code);
  }
}

void PanelCommands::OnSetDateClicked() {
  link_.Queue(cmd::kSetClock);
}

void PanelCommands::OnSetServiceClicked() {
  link_.Queue(cmd::kSetServiceDate);
  link_.Queue(cmd::kReadServiceDate);
  link_.Queue(cmd::kReadServiceDate);
}

void PanelCommands::OnSetDefaultsClicked() {
  if (host_.ShowMessage("      Warning!\n Calibration values\n will be overwritten",
                        MessageButtons::kOkCancel) != MessageAnswer::kOk) {
    return;
  }
  ApplyDefaultSet(panel_);
}

void PanelCommands::OnCalValueChanged() {
  ReadPanel(panel_, host_);
  BoundValues& values = panel_.values;
  if (values.calValue > kCalValueMax || values.calValue < 0) {
    values.calValue = 0;
    ShowPanel(panel_);
    panel_.controls.SelectAllText(ids::kCalValueEdit);
  }
}

void PanelCommands::OnLocalTempChanged() {
  ControlModel& controls = panel_.controls;
  // Entry "18" also sets the evaporator fan to "+1".
  if (controls.GetSelection(ids::kLocalTempCombo) == 1) {
    controls.SetSelection(ids::kEvapFanCombo, 1);
  }
}

void PanelCommands::OnCompressorRunClicked() {
  ControlModel& controls = panel_.controls;
  if (controls.IsChecked(ids::kCompressorRunCheck) &&
      controls.GetSelection(ids::kRunTimeCombo) == 0) {
    host_.ShowMessage("Warning, \nAux Input = Panic  \nWill Be Disabled", MessageButtons::kOk);
    controls.SetSelection(ids::kRunTimeCombo, 1);
  }
}

void PanelCommands::OnRunTimeChanged() {
  ControlModel& controls = panel_.controls;
  if (controls.IsChecked(ids::kCompressorRunCheck) &&
      controls.GetSelection(ids::kRunTimeCombo) == 0) {
    host_.ShowMessage("Warning, \nPower Save  \nWill Be Disabled", MessageButtons::kOk);
    controls.SetCheck(ids::kCompressorRunCheck, 0);
  }
}
