#include "replies/settings_block.h"

#include "resources/control_ids.h"
#include "state/control_model.h"

namespace {

constexpr int kFirstByte = 3;

// The edits of bytes 3 to 6 of the calibration block.
constexpr std::array<int, 4> kCalibrationEdits = {ids::kCalValueEdit, ids::kSHtEdit, ids::kTMinEdit,
                                                  ids::kTMaxEdit};

// A combo whose entry i stands for a byte value. `mask` covers the bits it owns.
struct ComboField {
  int comboId;
  int byte;
  uint8_t mask;
  int (*indexOf)(uint8_t byte);  // the entry the machine's byte selects
  uint8_t (*bitsOf)(int index);  // the bits an entry stands for
};

// Local Temp entries start at 17 degrees; lower readings select the first entry.
constexpr int kLocalTempFirst = 17;
constexpr int kRunTimeStep = 10;

constexpr ComboField kCombos[] = {
    {ids::kLocalTempCombo, 3, 0xFF,
     [](uint8_t b) { return b < kLocalTempFirst ? 0 : b - kLocalTempFirst; },
     [](int i) { return static_cast<uint8_t>(i + kLocalTempFirst); }},
    {ids::kRunTimeCombo, 4, 0xFF, [](uint8_t b) { return b / kRunTimeStep; },
     [](int i) { return static_cast<uint8_t>(i * kRunTimeStep); }},
    {ids::kEvapFanCombo, 5, 0x0F, [](uint8_t b) { return b & 0x0F; },
     [](int i) { return static_cast<uint8_t>(i); }},
    {ids::kPumpMinCombo, 6, 0x0F, [](uint8_t b) { return b & 0x0F; },
     [](int i) { return static_cast<uint8_t>(i); }},
};

// The pump maximum rides in the high nibble of the run flags and is shown after them.
constexpr ComboField kPumpMax = {ids::kPumpMaxCombo, 8, 0xF0,
                                 [](uint8_t b) { return (b >> 4) & 0x0F; },
                                 [](int i) { return static_cast<uint8_t>((i & 0x0F) << 4); }};

// A check box standing for a group of bits: checked when the bit it reads is set (or,
// for the N/C and Latching boxes, clear); it sends the whole group set or clear.
struct CheckField {
  int checkId;
  int byte;
  uint8_t group;
  uint8_t read;
  bool checkedWhenSet;
};

// Byte 7, the contact flags, then byte 8, the run flags. Bits 5 and 1 of byte 7 travel
// with the N/C and Latching boxes of the main fault but are not read back.
constexpr CheckField kChecks[] = {
    {ids::kAuxOutNcCheck, 7, 0x80, 0x80, false},
    {ids::kMainFaultNcCheck, 7, 0x30, 0x10, false},
    {ids::kTrigRelayNcCheck, 7, 0x40, 0x40, false},
    {ids::kAuxOutLatchingCheck, 7, 0x08, 0x08, false},
    {ids::kMainFaultLatchingCheck, 7, 0x03, 0x01, false},
    {ids::kIdleEnableCheck, 7, 0x04, 0x04, true},
    {ids::kPumpRunCheck, 8, 0x02, 0x02, true},
    {ids::kCompressorRunCheck, 8, 0x01, 0x01, true},
    {ids::kFaultSuppressCheck, 8, 0x04, 0x04, true},
    {ids::kUsbSaiOffCheck, 8, 0x08, 0x08, true},
};

uint8_t ByteOf(const PayloadBytes& block, int byte) {
  return block[static_cast<std::size_t>(byte - kFirstByte)];
}

uint8_t& ByteOf(PayloadBytes& block, int byte) {
  return block[static_cast<std::size_t>(byte - kFirstByte)];
}

int ShownIndex(const ControlModel& controls, const ComboField& field, uint8_t machineByte) {
  // An index past the list's end leaves the combo without a selection.
  const int index = field.indexOf(machineByte);
  const ControlState* combo = controls.Find(field.comboId);
  const int entries = combo == nullptr ? 0 : static_cast<int>(combo->entries.size());
  return index < entries ? index : -1;
}

bool ShownCheck(const CheckField& field, uint8_t machineByte) {
  return ((machineByte & field.read) != 0) == field.checkedWhenSet;
}

void Put(PayloadBytes& block, int byte, uint8_t mask, uint8_t bits) {
  uint8_t& target = ByteOf(block, byte);
  target = static_cast<uint8_t>((target & ~mask) | (bits & mask));
}

void ComposeCombo(const ControlModel& controls, const ComboField& field,
                  const PayloadBytes& machine, PayloadBytes& block) {
  const int selection = controls.GetSelection(field.comboId);
  if (selection == -1) return;
  if (selection == ShownIndex(controls, field, ByteOf(machine, field.byte))) return;
  Put(block, field.byte, field.mask, field.bitsOf(selection));
}

}  // namespace

void ShowSettings(ControlModel& controls, const PayloadBytes& machine) {
  // No upper clamp: an index past a list's end leaves that combo without a selection.
  for (const ComboField& field : kCombos) {
    controls.SetSelection(field.comboId, field.indexOf(ByteOf(machine, field.byte)));
  }
  for (const CheckField& field : kChecks) {
    controls.SetCheck(field.checkId, ShownCheck(field, ByteOf(machine, field.byte)) ? 1 : 0);
  }
  controls.SetSelection(kPumpMax.comboId, kPumpMax.indexOf(ByteOf(machine, kPumpMax.byte)));
}

PayloadBytes SettingsToWrite(const ControlModel& controls, const PayloadBytes& machine) {
  PayloadBytes block = machine;
  for (const ComboField& field : kCombos) ComposeCombo(controls, field, machine, block);
  ComposeCombo(controls, kPumpMax, machine, block);
  for (const CheckField& field : kChecks) {
    const bool checked = controls.IsChecked(field.checkId);
    if (checked == ShownCheck(field, ByteOf(machine, field.byte))) continue;
    Put(block, field.byte, field.group, checked == field.checkedWhenSet ? field.group : 0);
  }
  return block;
}

CalibrationTexts ShownCalibration(const ControlModel& controls) {
  CalibrationTexts texts;
  for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = controls.GetText(kCalibrationEdits[i]);
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
