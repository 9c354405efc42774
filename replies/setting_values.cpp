#include "replies/setting_values.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <span>

#include "replies/settings_fields.h"
#include "resources/panel_template.h"
#include "state/control_model.h"

using settings_fields::Field;
using settings_fields::kCalibration;
using settings_fields::kFields;
using settings_fields::Kind;
using settings_fields::Offset;

namespace {

constexpr std::array<std::string_view, 2> kUnshownNames = {"Settings bits no control shows",
                                                           "Calibration bytes no control shows"};
constexpr uint8_t kHighNibble = 0xF0;

const Field* FieldOf(std::size_t setting) {
  return setting < kFields.size() ? &kFields[setting] : nullptr;
}

bool IsUnshown(std::size_t setting) {
  return setting == kUnshownSettingsBits || setting == kUnshownCalibrationBytes;
}

std::span<const std::string_view> EntriesOf(int comboId) {
  for (const ComboListSpec& list : PanelComboLists()) {
    if (list.comboId == comboId) return list.entries;
  }
  return {};
}

uint8_t ByteOf(const Field& field, const MachineBlocks& blocks) {
  return blocks.settings[Offset(field.byte)];
}

// The entry a combo shows for its byte; -1 past the list's end.
int EntryIndex(const Field& field, uint8_t byte) {
  const int index = field.indexOf(byte);
  return index < static_cast<int>(EntriesOf(field.controlId).size()) ? index : -1;
}

bool Checked(const Field& field, uint8_t byte) {
  return ((byte & field.read) != 0) == field.checkedWhenSet;
}

void Put(const Field& field, uint8_t bits, MachineBlocks& blocks) {
  uint8_t& target = blocks.settings[Offset(field.byte)];
  target = static_cast<uint8_t>((target & ~field.mask) | (bits & field.mask));
}

// Per byte of a block, the bits some control shows.
PayloadBytes ShownMask(std::size_t unshownSetting) {
  PayloadBytes mask{};
  if (unshownSetting == kUnshownCalibrationBytes) {
    for (std::size_t i = 0; i < kCalibration.size(); ++i) mask[i] = 0xFF;
    return mask;
  }
  for (const Field& field : kFields) mask[Offset(field.byte)] |= field.read;
  return mask;
}

const PayloadBytes& BlockOf(std::size_t setting, const MachineBlocks& blocks) {
  return setting == kUnshownCalibrationBytes || IsCalibrationSetting(setting) ? blocks.calibration
                                                                              : blocks.settings;
}

std::string Hex(unsigned value) {
  std::array<char, 4> text{};
  std::snprintf(text.data(), text.size(), "%02X", value & 0xFFU);
  return text.data();
}

std::string UnshownText(std::size_t setting, const MachineBlocks& blocks) {
  const PayloadBytes shown = ShownMask(setting);
  const PayloadBytes& block = BlockOf(setting, blocks);
  std::string text;
  for (std::size_t i = 0; i < block.size(); ++i) {
    if (shown[i] == 0xFF) continue;
    if (!text.empty()) text += ' ';
    text += std::to_string(i + settings_fields::kFirstByte) + ":" +
            Hex(static_cast<unsigned>(block[i] & ~shown[i]));
  }
  return text;
}

}  // namespace

std::string_view SettingName(std::size_t setting) {
  if (const Field* field = FieldOf(setting)) return field->name;
  if (IsCalibrationSetting(setting)) return kCalibration[setting - kFirstCalibrationSetting].name;
  return IsUnshown(setting) ? kUnshownNames[setting - kUnshownSettingsBits] : std::string_view();
}

std::optional<std::size_t> SettingNamed(std::string_view name) {
  for (std::size_t setting = 0; setting < kNamedSettingCount; ++setting) {
    if (SettingName(setting) == name) return setting;
  }
  return std::nullopt;
}

bool IsCalibrationSetting(std::size_t setting) {
  return setting >= kFirstCalibrationSetting && setting < kNamedSettingCount;
}

int SettingControl(std::size_t setting) {
  if (const Field* field = FieldOf(setting)) return field->controlId;
  if (IsCalibrationSetting(setting)) return kCalibration[setting - kFirstCalibrationSetting].editId;
  return kNoControlId;
}

std::string SettingText(std::size_t setting, const MachineBlocks& blocks) {
  if (const Field* field = FieldOf(setting)) {
    const uint8_t byte = ByteOf(*field, blocks);
    if (field->kind == Kind::kCheck)
      return std::string(Checked(*field, byte) ? kChecked : kUnchecked);
    const int index = EntryIndex(*field, byte);
    return index < 0 ? std::string()
                     : std::string(EntriesOf(field->controlId)[static_cast<std::size_t>(index)]);
  }
  if (IsCalibrationSetting(setting)) {
    return std::to_string(blocks.calibration[setting - kFirstCalibrationSetting]);
  }
  return IsUnshown(setting) ? UnshownText(setting, blocks) : std::string();
}

std::string SettingDetail(std::size_t setting, const MachineBlocks& blocks) {
  std::string text = SettingText(setting, blocks);
  const Field* field = FieldOf(setting);
  if (field == nullptr || SettingExact(setting, blocks)) return text;
  const unsigned bits = ByteOf(*field, blocks) & field->mask;
  // A check box's group, in hex; a combo's value, in the units of its byte.
  const std::string held = field->kind == Kind::kCheck
                               ? "bits " + Hex(bits)
                               : std::to_string(field->mask == kHighNibble ? bits >> 4 : bits);
  return text.empty() ? "(" + held + ")" : text + " (" + held + ")";
}

std::string SettingShown(std::size_t setting, const ControlModel& controls) {
  const Field* field = FieldOf(setting);
  if (field != nullptr && field->kind == Kind::kCheck) {
    return std::string(controls.IsChecked(field->controlId) ? kChecked : kUnchecked);
  }
  return controls.GetText(SettingControl(setting));
}

bool SameSetting(std::size_t setting, const MachineBlocks& a, const MachineBlocks& b) {
  if (const Field* field = FieldOf(setting)) {
    return ((ByteOf(*field, a) ^ ByteOf(*field, b)) & field->read) == 0;
  }
  if (IsCalibrationSetting(setting)) {
    const std::size_t byte = setting - kFirstCalibrationSetting;
    return a.calibration[byte] == b.calibration[byte];
  }
  return UnshownText(setting, a) == UnshownText(setting, b);
}

bool SettingExact(std::size_t setting, const MachineBlocks& blocks) {
  const Field* field = FieldOf(setting);
  if (field == nullptr) return IsCalibrationSetting(setting);
  const uint8_t bits = ByteOf(*field, blocks) & field->mask;
  if (field->kind == Kind::kCheck) return bits == 0 || bits == field->mask;
  const int index = EntryIndex(*field, bits);
  return index >= 0 && (field->bitsOf(index) & field->mask) == bits;
}

bool PutSettingText(std::size_t setting, std::string_view text, MachineBlocks& blocks) {
  if (IsCalibrationSetting(setting)) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 0xFF) {
      return false;
    }
    blocks.calibration[setting - kFirstCalibrationSetting] = static_cast<uint8_t>(value);
    return true;
  }
  const Field* field = FieldOf(setting);
  if (field == nullptr) return false;
  if (field->kind == Kind::kCheck) {
    if (text != kChecked && text != kUnchecked) return false;
    Put(*field, (text == kChecked) == field->checkedWhenSet ? field->mask : 0, blocks);
    return true;
  }
  const std::span<const std::string_view> entries = EntriesOf(field->controlId);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i] != text) continue;
    Put(*field, field->bitsOf(static_cast<int>(i)), blocks);
    return true;
  }
  return false;
}

std::string SettingChoices(std::size_t setting) {
  if (IsCalibrationSetting(setting)) return "a whole number from 0 to 255";
  const Field* field = FieldOf(setting);
  if (field == nullptr) return {};
  if (field->kind == Kind::kCheck) return "checked or unchecked";
  std::string choices;
  for (const std::string_view entry : EntriesOf(field->controlId)) {
    choices += (choices.empty() ? "" : ", ") + std::string(entry);
  }
  return "one of " + choices;
}
