#include "panel/settings_file_commands.h"

#include <algorithm>
#include <array>
#include <variant>

#include "link/link_engine.h"
#include "panel/commands.h"
#include "panel/escaped_text.h"
#include "panel/file_names.h"
#include "panel/host.h"
#include "panel/saved_file.h"
#include "panel/telemetry_recording.h"
#include "replies/time_text.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

constexpr std::string_view kWaitForRx = "Wait for Rx to complete";
constexpr std::array<int32_t BoundValues::*, 4> kCalibrationValues = {
    &BoundValues::calValue, &BoundValues::sHt, &BoundValues::tMin, &BoundValues::tMax};

std::optional<std::size_t> SettingOfControl(int id) {
  for (std::size_t setting = 0; setting < kNamedSettingCount; ++setting) {
    if (SettingControl(setting) == id) return setting;
  }
  return std::nullopt;
}

const CompareRow* RowOf(const Comparison& comparison, std::size_t setting) {
  const auto row = std::find_if(comparison.rows.begin(), comparison.rows.end(),
                                [setting](const CompareRow& r) { return r.setting == setting; });
  return row == comparison.rows.end() ? nullptr : &*row;
}

}  // namespace

std::optional<std::string> MachineSettingsFile(const PanelState& panel, int64_t now) {
  const MachineReadings& machine = panel.machine;
  if (!machine.machineSettings || !machine.machineCalibration) return std::nullopt;
  const ReadSinceConnect& read = machine.readSinceConnect;
  const SettingsFileHeader header{
      read.machineName ? EscapedText(machine.machineName) : std::string(),
      read.firmwareRevision ? EscapedText(machine.firmwareRevision) : std::string(),
      FormatTime(now, "%Y-%m-%d %H:%M:%S"), std::string("Kelo Configuration ") + KELO_VERSION};
  return SettingsFileText(header, {*machine.machineSettings, *machine.machineCalibration});
}

SettingsFileCommands::SettingsFileCommands(PanelState& panel, const LinkEngine& link,
                                           PanelCommands& commands,
                                           const TelemetryRecording& recording, Host& host)
    : panel_(panel), link_(link), commands_(commands), recording_(recording), host_(host) {}

void SettingsFileCommands::OnSaveSettingsFileClicked() {
  const MachineReadings& machine = panel_.machine;
  if (!machine.machineSettings || !machine.machineCalibration) {
    host_.ShowMessage(kWaitForRx, MessageButtons::kOk);
    return;
  }
  const std::optional<std::string> path = host_.AskSavePath(SuggestedFileName(
      machine.machineName, "settings", host_.CurrentTime(), kSettingsFileExtension));
  if (path && !path->empty()) SaveSettingsFile(*path);
}

void SettingsFileCommands::SaveSettingsFile(const std::string& path) {
  const std::optional<std::string> content = MachineSettingsFile(panel_, host_.CurrentTime());
  if (!content) {
    host_.ShowMessage(kWaitForRx, MessageButtons::kOk);
    return;
  }
  if (const auto failure = recording_.SaveOutside(path, *content)) {
    host_.ShowMessage(SaveFailedMessage(path, *failure), MessageButtons::kOk);
  }
}

bool SettingsFileCommands::ReadyToCompare() {
  const MachineReadings& machine = panel_.machine;
  if (!link_.IsOpen() || (machine.machineSettings && machine.machineCalibration)) return true;
  host_.ShowMessage(kWaitForRx, MessageButtons::kOk);
  return false;
}

std::optional<Comparison> SettingsFileCommands::OnCompareWithFileClicked() {
  if (!ReadyToCompare()) return std::nullopt;
  const std::optional<std::string> path = host_.AskOpenPath(kSettingsFileExtension);
  if (!path || path->empty()) return std::nullopt;
  return CompareWithFile(*path);
}

std::optional<Comparison> SettingsFileCommands::CompareWithFile(const std::string& path) {
  // Asked again: the link went on while the operator chose the file.
  if (!ReadyToCompare()) return std::nullopt;
  const std::variant<SettingsFile, std::string> read = ReadSettingsFile(path);
  if (const auto* fault = std::get_if<std::string>(&read)) {
    host_.ShowMessage("The settings file cannot be used:\n" + path + "\n" + *fault,
                      MessageButtons::kOk);
    return std::nullopt;
  }
  const auto& file = std::get<SettingsFile>(read);
  const MachineReadings& machine = panel_.machine;
  const std::optional<std::string> name =
      machine.readSinceConnect.machineName ? std::optional(machine.machineName) : std::nullopt;
  if (!link_.IsOpen()) return CompareWithPanel(file, panel_.controls, name);
  return CompareWithMachine(file, {*machine.machineSettings, *machine.machineCalibration}, name);
}

void SettingsFileCommands::Apply(const Comparison& comparison,
                                 const std::vector<std::size_t>& settings) {
  std::vector<bool> applied(kNamedSettingCount, false);
  for (const std::size_t setting : settings) {
    const CompareRow* row = RowOf(comparison, setting);
    if (row == nullptr || !row->settable || setting >= kNamedSettingCount) continue;
    Put(setting, comparison.fileBlocks);
    applied[setting] = true;
  }
  FollowUps(applied, comparison.fileBlocks);
}

void SettingsFileCommands::ApplyAndWrite(const Comparison& comparison,
                                         const std::vector<std::size_t>& settings) {
  Apply(comparison, settings);
  commands_.OnWriteClicked();
}

// As the operator sets the control; a calibration value is also stored, as the edit's
// change handlers store what is typed, so that a status reply does not show the old one.
void SettingsFileCommands::Put(std::size_t setting, const MachineBlocks& file) {
  ControlModel& controls = panel_.controls;
  const int id = SettingControl(setting);
  const std::string text = SettingText(setting, file);
  const ControlState* control = controls.Find(id);
  if (control == nullptr) return;
  if (IsCalibrationSetting(setting)) {
    panel_.values.*kCalibrationValues[setting - kFirstCalibrationSetting] =
        file.calibration[setting - kFirstCalibrationSetting];
    controls.SetText(id, text);
  } else if (control->kind == ControlKind::kCheckBox) {
    controls.SetCheck(id, text == kChecked ? 1 : 0);
  } else {
    const auto entry = std::find(control->entries.begin(), control->entries.end(), text);
    controls.SetSelection(id, static_cast<int>(entry - control->entries.begin()));
  }
}

// The panel's follow-ups of an operator's change run as they would (Local Temp "18" sets
// the fan to "+1"; Compressor Run and Run Time "+0" keep apart), except where the other
// control is also set by this Apply or already shows the file's value: there the file's
// combination stands, as the machine it came from held it.
void SettingsFileCommands::FollowUps(const std::vector<bool>& applied, const MachineBlocks& file) {
  auto follows = [&](int changedId, int otherId) {
    const std::size_t changed = *SettingOfControl(changedId);
    const std::size_t other = *SettingOfControl(otherId);
    return applied[changed] && !applied[other] &&
           SettingShown(other, panel_.controls) != SettingText(other, file);
  };
  if (follows(ids::kLocalTempCombo, ids::kEvapFanCombo)) commands_.OnLocalTempChanged();
  if (follows(ids::kCompressorRunCheck, ids::kRunTimeCombo)) commands_.OnCompressorRunClicked();
  if (follows(ids::kRunTimeCombo, ids::kCompressorRunCheck)) commands_.OnRunTimeChanged();
}

void SettingsFileCommands::LoadSettings(const std::string& path,
                                        const std::vector<std::string>& names) {
  const std::optional<Comparison> comparison = CompareWithFile(path);
  if (!comparison) return;
  std::vector<std::size_t> chosen;
  const bool all = names.empty() || (names.size() == 1 && names[0] == "all");
  for (const CompareRow& row : comparison->rows) {
    if (all && row.ticked) chosen.push_back(row.setting);
  }
  for (const std::string& name : all ? std::vector<std::string>() : names) {
    const std::optional<std::size_t> setting = SettingNamed(name);
    const CompareRow* row = setting ? RowOf(*comparison, *setting) : nullptr;
    if (row == nullptr) {
      host_.Note("No setting \"" + name + "\" to load from this file");
    } else if (row->differs && !row->settable) {
      host_.Note(name + ": " + row->note);
    } else {
      chosen.push_back(*setting);
    }
  }
  Apply(*comparison, chosen);
}
