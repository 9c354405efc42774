#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "link/frames.h"

class ControlModel;

// The machine's settings one by one, as a settings file names them and Compare and the
// Write check show them: the fifteen fields of the settings block in the order the panel
// shows them, the four calibration values (Cal Value, S_Ht, T_Min, T_Max), then the bits
// of each block that no control shows.

// Both blocks as the machine sends them, bytes 3 to 11 of reply 3 and of reply 7.
struct MachineBlocks {
  PayloadBytes settings{};
  PayloadBytes calibration{};
  bool operator==(const MachineBlocks&) const = default;
};

inline constexpr std::size_t kNamedSettingCount = 19;
inline constexpr std::size_t kFirstCalibrationSetting = 15;
inline constexpr std::size_t kUnshownSettingsBits = 19;
inline constexpr std::size_t kUnshownCalibrationBytes = 20;
inline constexpr std::size_t kSettingCount = 21;

inline constexpr std::string_view kChecked = "checked";
inline constexpr std::string_view kUnchecked = "unchecked";

std::string_view SettingName(std::size_t setting);
std::optional<std::size_t> SettingNamed(std::string_view name);
bool IsCalibrationSetting(std::size_t setting);
// The control that shows a named setting.
int SettingControl(std::size_t setting);

// What the panel shows for the setting of these blocks: a combo's entry ("" past its
// list's end), "checked" or "unchecked", a calibration value in decimal; the bits no
// control shows as "byte:hex" pairs.
std::string SettingText(std::size_t setting, const MachineBlocks& blocks);
// The same, and where the panel shows the value rounded or not at all, the value the
// bits hold: "+20 (25)", "(70)".
std::string SettingDetail(std::size_t setting, const MachineBlocks& blocks);
// What the control of a named setting shows now.
std::string SettingShown(std::size_t setting, const ControlModel& controls);
// Whether both blocks hold the same setting: the same bits where its control looks.
bool SameSetting(std::size_t setting, const MachineBlocks& a, const MachineBlocks& b);
// Whether a change of the setting's control sends the setting's bits exactly as these
// blocks hold them: an entry that stands for just those bits, a check box's bits all set
// or all clear. Always so for a calibration value, never for the bits no control shows.
bool SettingExact(std::size_t setting, const MachineBlocks& blocks);
// The setting changed to what a text its control can show stands for, as Write sends a
// changed control. False, and the blocks unchanged, for any other text.
bool PutSettingText(std::size_t setting, std::string_view text, MachineBlocks& blocks);
// The texts a named setting's control can show, for telling the operator.
std::string SettingChoices(std::size_t setting);
