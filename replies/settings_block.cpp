#include "replies/settings_block.h"

#include "replies/settings_fields.h"
#include "state/control_model.h"

using settings_fields::Field;
using settings_fields::Kind;
using settings_fields::Offset;

namespace {

uint8_t ByteOf(const PayloadBytes& block, int byte) {
  return block[Offset(byte)];
}

int ShownIndex(const ControlModel& controls, const Field& field, uint8_t machineByte) {
  // An index past the list's end leaves the combo without a selection.
  const int index = field.indexOf(machineByte);
  const ControlState* combo = controls.Find(field.controlId);
  const int entries = combo == nullptr ? 0 : static_cast<int>(combo->entries.size());
  return index < entries ? index : -1;
}

bool ShownCheck(const Field& field, uint8_t machineByte) {
  return ((machineByte & field.read) != 0) == field.checkedWhenSet;
}

void Put(PayloadBytes& block, int byte, uint8_t mask, uint8_t bits) {
  uint8_t& target = block[Offset(byte)];
  target = static_cast<uint8_t>((target & ~mask) | (bits & mask));
}

void ComposeCombo(const ControlModel& controls, const Field& field, const PayloadBytes& machine,
                  PayloadBytes& block) {
  const int selection = controls.GetSelection(field.controlId);
  if (selection == -1) return;
  if (selection == ShownIndex(controls, field, ByteOf(machine, field.byte))) return;
  Put(block, field.byte, field.mask, field.bitsOf(selection));
}

void ComposeCheck(const ControlModel& controls, const Field& field, const PayloadBytes& machine,
                  PayloadBytes& block) {
  const bool checked = controls.IsChecked(field.controlId);
  if (checked == ShownCheck(field, ByteOf(machine, field.byte))) return;
  Put(block, field.byte, field.mask, checked == field.checkedWhenSet ? field.mask : 0);
}

}  // namespace

void ShowSettings(ControlModel& controls, const PayloadBytes& machine) {
  // No upper clamp: an index past a list's end leaves that combo without a selection.
  for (const Field& field : settings_fields::kFields) {
    const uint8_t byte = ByteOf(machine, field.byte);
    if (field.kind == Kind::kCombo) {
      controls.SetSelection(field.controlId, field.indexOf(byte));
    } else {
      controls.SetCheck(field.controlId, ShownCheck(field, byte) ? 1 : 0);
    }
  }
}

PayloadBytes SettingsToWrite(const ControlModel& controls, const PayloadBytes& machine) {
  PayloadBytes block = machine;
  for (const Field& field : settings_fields::kFields) {
    if (field.kind == Kind::kCombo) {
      ComposeCombo(controls, field, machine, block);
    } else {
      ComposeCheck(controls, field, machine, block);
    }
  }
  return block;
}

CalibrationTexts ShownCalibration(const ControlModel& controls) {
  CalibrationTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = controls.GetText(settings_fields::kCalibration[i].editId);
  }
  return texts;
}

CalibrationUnchanged UnchangedCalibration(const ControlModel& controls,
                                          const CalibrationTexts& machineShown) {
  const CalibrationTexts shown = ShownCalibration(controls);
  CalibrationUnchanged unchanged{};
  for (std::size_t i = 0; i < shown.size(); ++i) unchanged[i] = shown[i] == machineShown[i];
  return unchanged;
}

PayloadBytes CalibrationToWrite(const CalibrationValues& values,
                                const CalibrationUnchanged& unchanged,
                                const PayloadBytes& machine) {
  PayloadBytes block = machine;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!unchanged[i]) block[i] = static_cast<uint8_t>(values[i] & 0xFF);
  }
  return block;
}
