#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/frames.h"

// The last telemetry readings as the machine sent them (replies 25 and 27).
struct TelemetryReadings {
  int16_t ei = 0, eo = 0, ci = 0, co = 0;  // quarter degrees
  uint8_t pwm = 0;                         // 255 = 100 %
  int16_t pHigh = 0, pLow = 0;             // raw pressures
};

// The machine's facts that arrived since the last Connect. Until they do, the readings
// hold the panel's placeholders (or an earlier session's values), which a file must not
// give out as the machine's.
struct ReadSinceConnect {
  bool nameFirstHalf = false;     // reply 9
  bool machineName = false;       // reply 11, after reply 9
  bool firmwareRevision = false;  // reply 19
  bool serviceBaseDate = false;   // reply 13
  bool deviceClock = false;       // reply 15
};

// What the machine has told the panel about itself. Each reading keeps its last
// received value for the life of the panel; closing the port changes none of them.
struct MachineReadings {
  std::string firmwareRevision = "1vXX";         // reply 19; shown in the status line
  std::array<uint8_t, 17> nameBuffer{};          // replies 9 and 11; byte 16 ends it
  std::string machineName = "Insert Name Here";  // reply 11; the settings report's name
  int64_t deviceClock = 0;      // reply 15: the machine's clock, seconds since 1970
  int64_t serviceBaseDate = 0;  // reply 13; the PC's time at start-up until then
  int32_t fogStatusByte = 0;    // reply 1
  int32_t mainsValue = 0;       // reply 1; shown by reply 27
  int32_t outputFrequency = 0;  // reply 1, in Hz; shown by reply 27
  TelemetryReadings telemetry;  // replies 25 and 27
  // The machine's settings (reply 3) and calibration values (reply 7), bytes 3 to 11 as
  // received since the last Connect. Write waits for both, and sends the machine's own
  // bits back for whatever the operator has not changed.
  std::optional<PayloadBytes> machineSettings;
  std::optional<PayloadBytes> machineCalibration;
  // The texts of the Cal Value, S_Ht, T_Min and T_Max edits that stand for the machine's
  // calibration values: as reply 7 showed them, or as Write showed a value it keeps
  // clamped (a Cal Value above 250 as 0). An edit that still shows its text is one the
  // operator left alone, and Write sends the machine's byte for it.
  std::array<std::string, 4> calibrationShown;
  ReadSinceConnect readSinceConnect;
};
