#include "panel/settings_compare.h"

#include <algorithm>
#include <string_view>

#include "panel/commands.h"
#include "panel/escaped_text.h"
#include "replies/settings_block.h"

namespace {

constexpr std::size_t kCalValueSetting = kFirstCalibrationSetting + kCalValueField;
constexpr std::size_t kSHtSetting = kFirstCalibrationSetting + kSHtField;

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

// Why Apply cannot put the file's value of a setting on its control, if it cannot.
std::optional<std::string> WhyNotSettable(std::size_t setting, const MachineBlocks& file) {
  if (setting >= kNamedSettingCount) return "No control shows these; Write keeps the machine's";
  if (!SettingExact(setting, file)) return "No control of the panel sends this value";
  const uint8_t value = IsCalibrationSetting(setting)
                            ? file.calibration[setting - kFirstCalibrationSetting]
                            : uint8_t{0};
  if (setting == kCalValueSetting && value > kCalValueMax) {
    return "The panel keeps Cal Value within 0 to " + std::to_string(kCalValueMax);
  }
  if (setting == kSHtSetting && value > kSHtMax) {
    return "Write sends S_Ht within 0 to " + std::to_string(kSHtMax);
  }
  return std::nullopt;
}

Comparison Begin(const SettingsFile& file, const std::optional<std::string>& machineName,
                 bool withPanel) {
  Comparison comparison;
  comparison.withPanel = withPanel;
  comparison.fileBlocks = file.blocks;
  const std::string_view fileMachine = Trimmed(file.header.machineName);
  const std::string shown = machineName ? EscapedText(*machineName) : std::string();
  comparison.otherMachine = !machineName || Trimmed(shown) != fileMachine;
  if (withPanel) {
    comparison.headlines.emplace_back(
        "Not connected: the file is compared with what the panel's controls show.");
  }
  const std::string unticked = ": Cal Value and the other calibration values start unticked.";
  if (comparison.otherMachine && machineName) {
    comparison.headlines.push_back("This file comes from another machine, " + Quoted(fileMachine) +
                                   " (this one is " + Quoted(Trimmed(shown)) + ")" + unticked);
  } else if (comparison.otherMachine) {
    comparison.headlines.push_back("This file comes from " + Quoted(fileMachine) +
                                   ", and this machine's name has not been read" + unticked);
  }
  comparison.headlines.insert(comparison.headlines.end(), file.notes.begin(), file.notes.end());
  return comparison;
}

void Add(Comparison& comparison, CompareRow row, const std::optional<std::string>& why) {
  if (row.differs) {
    row.settable = !why;
    row.note = why.value_or(std::string());
  }
  row.ticked = row.settable && !(comparison.otherMachine && IsMachineSpecific(row.setting));
  comparison.rows.push_back(std::move(row));
}

void DifferingFirst(Comparison& comparison) {
  std::stable_partition(comparison.rows.begin(), comparison.rows.end(),
                        [](const CompareRow& row) { return row.differs; });
}

bool Refused(const SettingsFile& file, std::size_t setting) {
  return setting < kNamedSettingCount && file.refused[setting];
}

}  // namespace

bool IsMachineSpecific(std::size_t setting) {
  return IsCalibrationSetting(setting) || setting == kUnshownCalibrationBytes;
}

Comparison CompareWithMachine(const SettingsFile& file, const MachineBlocks& machine,
                              const std::optional<std::string>& machineName) {
  Comparison comparison = Begin(file, machineName, false);
  for (std::size_t setting = 0; setting < kSettingCount; ++setting) {
    if (Refused(file, setting)) continue;
    CompareRow row;
    row.setting = setting;
    row.current = SettingDetail(setting, machine);
    row.file = SettingDetail(setting, file.blocks);
    row.differs = !SameSetting(setting, machine, file.blocks);
    std::optional<std::string> why = WhyNotSettable(setting, file.blocks);
    const std::string text = SettingText(setting, file.blocks);
    // Write sends a changed control only; one that shows the same entry is unchanged.
    if (!why && text == SettingText(setting, machine)) {
      why = "The panel shows both as " + Quoted(text) + "; Write cannot tell them apart";
    }
    Add(comparison, std::move(row), why);
  }
  DifferingFirst(comparison);
  return comparison;
}

Comparison CompareWithPanel(const SettingsFile& file, const ControlModel& controls,
                            const std::optional<std::string>& machineName) {
  Comparison comparison = Begin(file, machineName, true);
  // The bits no control shows are not on the panel to compare.
  for (std::size_t setting = 0; setting < kNamedSettingCount; ++setting) {
    if (Refused(file, setting)) continue;
    CompareRow row;
    row.setting = setting;
    row.current = SettingShown(setting, controls);
    row.file = SettingDetail(setting, file.blocks);
    row.differs = row.current != SettingText(setting, file.blocks);
    Add(comparison, std::move(row), WhyNotSettable(setting, file.blocks));
  }
  DifferingFirst(comparison);
  return comparison;
}

std::string CompareSummary(const Comparison& comparison) {
  const auto differ =
      static_cast<std::size_t>(std::count_if(comparison.rows.begin(), comparison.rows.end(),
                                             [](const CompareRow& r) { return r.differs; }));
  const std::size_t same = comparison.rows.size() - differ;
  if (differ == 0) {
    return comparison.withPanel ? "The panel already shows every setting in this file"
                                : "The machine already holds every setting in this file";
  }
  return std::to_string(differ) + (differ == 1 ? " setting differs, " : " settings differ, ") +
         std::to_string(same) + (same == 1 ? " is the same" : " are the same");
}
