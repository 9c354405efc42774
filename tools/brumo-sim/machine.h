#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tools/brumo-sim/event_log.h"
#include "tools/brumo-sim/frame.h"

namespace sim {

// A steady millisecond counter; injected so tests can move time by hand.
using MilliClock = std::function<int64_t()>;

// What the machine holds when it is switched on.
struct MachineSetup {
  static constexpr std::size_t kNameLength = 16;
  static constexpr std::size_t kFirmwareLength = 8;
  static constexpr int64_t kDefaultClock = 1'700'000'000;

  // Shorter texts are padded with zero bytes, so the panel shows them as given.
  std::string name = "Brumo Sim Unit 1";
  std::string firmware = "2v15";
  int64_t clockStart = kDefaultClock;
  // Unset: 200 days before the clock start.
  std::optional<int64_t> serviceDate;
  int logLength = 150;
  // Unset: just past the newest record.
  std::optional<int> logPointer;

  uint8_t fogStatus = 0x43;     // Ready (bit 0), MainsOk, FluidOk
  uint8_t frequencyByte = 208;  // 70 Hz
  uint8_t mains = 230;
  // Settings block bytes 3 to 11: Local Temp 21, run time 20, fan 3, pump min 2,
  // contact flags, run flags (pump max 6, pump and compressor run), three spare bytes.
  std::array<uint8_t, 9> settings = {21, 20, 3, 2, 0x84, 0x63, 0, 0, 0};
  // Calibration block bytes 3 to 11: Cal Value, S_Ht, T_Min, T_Max, five spare bytes.
  std::array<uint8_t, 9> calibration = {12, 4, 20, 45, 0, 0, 0, 0, 0};
  // Bit n set: the machine keeps its old value of byte n (3 to 11) on requests 4 and 8.
  uint16_t refusedBytes = 0;

  // Temperatures in quarter degrees: -5.25, -2.00, +35.50, +28.75.
  int16_t ei = -21, eo = -8, ci = 142, co = 115;
  uint8_t pwm = 128;                // 50.20 %
  int16_t pHigh = 344, pLow = 213;  // 200.00 PSI and 30.00 PSI
  // How long a reference calibration runs from 0 to 100.
  int calibrationMs = 5000;
  // The temperatures, PWM and pressures swing slowly around the values above, each on
  // its own period of minutes, as a running machine's do; else they hold still.
  bool wander = false;
};

// One Brumo machine as the panel sees it over the line: every request frame gets a
// twelve-byte reply carrying the request's code.
class BrumoMachine {
 public:
  BrumoMachine(const MachineSetup& setup, MilliClock clock);

  // The reply to one request. Bytes 0 and 1 are 0, byte 2 the request's code; codes
  // without a meaning get an all-zero payload.
  Frame Answer(const Frame& request);

  int64_t ClockNow() const;
  int CalibrationProgress() const;
  const EventLog& Log() const { return log_; }

 private:
  void Write(uint8_t code, const Frame& request);
  // Takes a written block but for the bytes the machine refuses.
  void Take(const uint8_t* payload, std::array<uint8_t, 9>& block) const;
  Frame Read(uint8_t code, const Frame& request) const;
  // `value` as it stands now: itself, or swung by up to `swing` over `periodS` seconds.
  int Wandered(int value, int swing, int periodS) const;
  void SetClock(int64_t time);

  MilliClock clock_;
  // Settings, calibration, status and telemetry as last set; name, firmware, clock,
  // service date and log pointer live below.
  MachineSetup state_;
  std::array<uint8_t, MachineSetup::kNameLength> name_{};
  std::array<uint8_t, MachineSetup::kFirmwareLength> firmware_{};
  // The clock runs from clockBase_ seconds at clockBaseMs_ on the steady counter.
  int64_t clockBase_ = 0;
  int64_t clockBaseMs_ = 0;
  int64_t serviceDate_ = 0;
  EventLog log_;
  std::optional<int64_t> calibrationStartMs_;
};

}  // namespace sim
