#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "resources/control_ids.h"

// The fields of the settings block (bytes 3 to 11 of reply 3 and request 4) and of the
// calibration block (reply 7 and request 8): one table, from which the panel shows the
// machine's settings, Write composes what it sends, and a settings file names each
// setting as the panel's own caption reads.

namespace settings_fields {

inline constexpr int kFirstByte = 3;

// Local Temp entries start at 17 degrees; lower readings select the first entry.
inline constexpr int kLocalTempFirst = 17;
inline constexpr int kRunTimeStep = 10;

enum class Kind { kCombo, kCheck };

// A combo whose entry i stands for a byte value, or a check box standing for a group of
// bits: checked when the bit it reads is set (or, for the N/C and Latching boxes, clear);
// it sends the whole group set or clear.
struct Field {
  std::string_view name;  // the panel's caption; hidden boxes by the report's grouping
  Kind kind;
  int controlId;
  int byte;
  uint8_t mask;  // the bits the control sends: a combo's own, a check box's group
  uint8_t read;  // the bits the control shows
  bool checkedWhenSet = false;
  int (*indexOf)(uint8_t byte) = nullptr;  // the entry the machine's byte selects
  uint8_t (*bitsOf)(int index) = nullptr;  // the bits an entry stands for
};

constexpr Field Combo(std::string_view name, int id, int byte, uint8_t mask,
                      int (*indexOf)(uint8_t), uint8_t (*bitsOf)(int)) {
  return {name, Kind::kCombo, id, byte, mask, mask, false, indexOf, bitsOf};
}

constexpr Field Check(std::string_view name, int id, int byte, uint8_t group, uint8_t read,
                      bool checkedWhenSet) {
  return {name, Kind::kCheck, id, byte, group, read, checkedWhenSet};
}

// In the order the panel shows them: the combos, byte 7 (the contact flags), byte 8 (the
// run flags), and last the pump maximum from the high nibble of the run flags. Bits 5
// and 1 of byte 7 travel with the N/C and Latching boxes of the main fault but are not
// read back.
inline constexpr std::array<Field, 15> kFields = {
    Combo(
        "Local Temp' (C)", ids::kLocalTempCombo, 3, 0xFF,
        [](uint8_t b) { return b < kLocalTempFirst ? 0 : b - kLocalTempFirst; },
        [](int i) { return static_cast<uint8_t>(i + kLocalTempFirst); }),
    Combo(
        "Run Time", ids::kRunTimeCombo, 4, 0xFF, [](uint8_t b) { return b / kRunTimeStep; },
        [](int i) { return static_cast<uint8_t>(i * kRunTimeStep); }),
    Combo(
        "EVAP FAN ADJUST", ids::kEvapFanCombo, 5, 0x0F, [](uint8_t b) { return b & 0x0F; },
        [](int i) { return static_cast<uint8_t>(i); }),
    Combo(
        "PUMP ADJUST Min", ids::kPumpMinCombo, 6, 0x0F, [](uint8_t b) { return b & 0x0F; },
        [](int i) { return static_cast<uint8_t>(i); }),
    Check("Aux Out N/C", ids::kAuxOutNcCheck, 7, 0x80, 0x80, false),
    Check("Main Fault N/C", ids::kMainFaultNcCheck, 7, 0x30, 0x10, false),
    Check("Trig Relay N/C", ids::kTrigRelayNcCheck, 7, 0x40, 0x40, false),
    Check("Aux Out Latching", ids::kAuxOutLatchingCheck, 7, 0x08, 0x08, false),
    Check("Main Fault Latching", ids::kMainFaultLatchingCheck, 7, 0x03, 0x01, false),
    Check("Idle Enable", ids::kIdleEnableCheck, 7, 0x04, 0x04, true),
    Check("Pump Run", ids::kPumpRunCheck, 8, 0x02, 0x02, true),
    Check("Compressor Run", ids::kCompressorRunCheck, 8, 0x01, 0x01, true),
    Check("Fault Supress", ids::kFaultSuppressCheck, 8, 0x04, 0x04, true),
    Check("USB SAI Off", ids::kUsbSaiOffCheck, 8, 0x08, 0x08, true),
    Combo(
        "PUMP ADJUST Max", ids::kPumpMaxCombo, 8, 0xF0, [](uint8_t b) { return (b >> 4) & 0x0F; },
        [](int i) { return static_cast<uint8_t>((i & 0x0F) << 4); }),
};

// Bytes 3 to 6 of the calibration block, by the captions of their edits.
struct CalibrationField {
  std::string_view name;
  int editId;
};

inline constexpr std::array<CalibrationField, 4> kCalibration = {{
    {"Cal Value", ids::kCalValueEdit},
    {"S_Ht (C)", ids::kSHtEdit},
    {"T_Min (C)", ids::kTMinEdit},
    {"T_Max (C)", ids::kTMaxEdit},
}};

constexpr std::size_t Offset(int byte) {
  return static_cast<std::size_t>(byte - kFirstByte);
}

}  // namespace settings_fields
