#include "tools/brumo-sim/machine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "link/command_codes.h"

namespace sim {
namespace {

constexpr int64_t kDay = int64_t{24} * 60 * 60;
constexpr int64_t kDefaultServiceAge = 200 * kDay;
constexpr int kProgressDone = 100;

// Texts of a fixed width: shorter ones end in zero bytes, longer ones are cut.
template <std::size_t N>
std::array<uint8_t, N> FixedText(const std::string& text) {
  std::array<uint8_t, N> bytes{};
  for (std::size_t i = 0; i < N && i < text.size(); ++i) bytes[i] = static_cast<uint8_t>(text[i]);
  return bytes;
}

}  // namespace

BrumoMachine::BrumoMachine(const MachineSetup& setup, MilliClock clock)
    : clock_(std::move(clock)),
      state_(setup),
      name_(FixedText<MachineSetup::kNameLength>(setup.name)),
      firmware_(FixedText<MachineSetup::kFirmwareLength>(setup.firmware)),
      clockBase_(setup.clockStart),
      clockBaseMs_(clock_()),
      serviceDate_(setup.serviceDate.value_or(setup.clockStart - kDefaultServiceAge)),
      log_(EventLog::MakeHistory(setup.logLength, setup.clockStart)) {
  if (setup.logPointer) log_.SetPointer(*setup.logPointer);
}

int BrumoMachine::Wandered(int value, int swing, int periodS) const {
  if (!state_.wander) return value;
  const double turns =
      static_cast<double>(clock_() % (int64_t{periodS} * 1000)) / (periodS * 1000.0);
  const long swung = std::lround(value + swing * std::sin(2 * std::numbers::pi * turns));
  // Values near the ends of their field stay in it.
  return static_cast<int>(std::clamp<long>(swung, INT16_MIN, INT16_MAX));
}

int64_t BrumoMachine::ClockNow() const {
  return clockBase_ + (clock_() - clockBaseMs_) / 1000;
}

int BrumoMachine::CalibrationProgress() const {
  if (!calibrationStartMs_ || state_.calibrationMs <= 0) return kProgressDone;
  const int64_t elapsed = clock_() - *calibrationStartMs_;
  return static_cast<int>(
      std::min<int64_t>(kProgressDone, elapsed * kProgressDone / state_.calibrationMs));
}

Frame BrumoMachine::Answer(const Frame& request) {
  const uint8_t code = request[kCodeByte];
  Write(code, request);
  return Read(code, request);
}

void BrumoMachine::SetClock(int64_t time) {
  clockBase_ = time;
  clockBaseMs_ = clock_();
}

// The requests that change the machine. Each change that a service engineer makes is
// also written to the event log, as the machine's own firmware does.
void BrumoMachine::Write(uint8_t code, const Frame& request) {
  const auto* const payload = request.begin() + kPayloadStart;
  switch (code) {
    case cmd::kWriteSettings:
      Take(payload, state_.settings);
      break;
    case cmd::kWriteCalibration:
      Take(payload, state_.calibration);
      break;
    case cmd::kWriteNameFirstHalf:
      std::copy_n(payload, 8, name_.begin());
      break;
    case cmd::kWriteNameSecondHalf:
      std::copy_n(payload, 8, name_.begin() + 8);
      break;
    case cmd::kSetServiceDate:
      serviceDate_ = GetTime32(request, kPayloadStart);
      log_.Append(ClockNow(), kEventServiceReset, 0);
      break;
    case cmd::kSetClock:
      SetClock(GetTime32(request, kPayloadStart));
      log_.Append(ClockNow(), kEventTimeSet, 0);
      break;
    case cmd::kReferenceCalibration:
      // A run already under way goes on; the panel sends this request five times.
      if (CalibrationProgress() >= kProgressDone) calibrationStartMs_ = clock_();
      break;
    default:
      break;
  }
}

void BrumoMachine::Take(const uint8_t* payload, std::array<uint8_t, 9>& block) const {
  for (std::size_t i = 0; i < block.size(); ++i) {
    if ((state_.refusedBytes >> (i + kPayloadStart) & 1U) == 0) block[i] = payload[i];
  }
}

Frame BrumoMachine::Read(uint8_t code, const Frame& request) const {
  Frame reply{};
  reply[kCodeByte] = code;
  switch (code) {
    case cmd::kReadStatus:
      reply[6] = state_.frequencyByte;
      reply[7] = state_.fogStatus;
      reply[8] = state_.mains;
      break;
    case cmd::kReadSettings:
      std::copy(state_.settings.begin(), state_.settings.end(), reply.begin() + kPayloadStart);
      break;
    case cmd::kReadCalibration:
      std::copy(state_.calibration.begin(), state_.calibration.end(),
                reply.begin() + kPayloadStart);
      break;
    case cmd::kReadNameFirstHalf:
      std::copy_n(name_.begin(), 8, reply.begin() + kPayloadStart);
      break;
    case cmd::kReadNameSecondHalf:
      std::copy_n(name_.begin() + 8, 8, reply.begin() + kPayloadStart);
      break;
    case cmd::kReadServiceDate:
      PutLe32(reply, kPayloadStart, static_cast<uint32_t>(serviceDate_));
      break;
    case cmd::kReadClock:
      PutLe32(reply, kPayloadStart, static_cast<uint32_t>(ClockNow()));
      break;
    case cmd::kReadLogPointer:
      PutLe16(reply, kPayloadStart, static_cast<uint16_t>(log_.Pointer()));
      break;
    case cmd::kReadFirmware:
      std::copy(firmware_.begin(), firmware_.end(), reply.begin() + kPayloadStart);
      break;
    case cmd::kReadLogRecord:
    case cmd::kReadLogRecordAt: {
      const Record record = log_.RecordAt(GetLe16(request, kPayloadStart));
      std::copy(record.begin(), record.end(), reply.begin() + kPayloadStart);
      break;
    }
    case cmd::kReadCalProgress:
      reply[3] = static_cast<uint8_t>(CalibrationProgress());
      break;
    case cmd::kReadTemperatures:
      PutLe16(reply, 3, static_cast<uint16_t>(Wandered(state_.ei, 4, 240)));
      PutLe16(reply, 5, static_cast<uint16_t>(Wandered(state_.eo, 3, 300)));
      PutLe16(reply, 7, static_cast<uint16_t>(Wandered(state_.ci, 8, 200)));
      PutLe16(reply, 9, static_cast<uint16_t>(Wandered(state_.co, 6, 260)));
      reply[11] = static_cast<uint8_t>(std::clamp(Wandered(state_.pwm, 20, 90), 0, 255));
      break;
    case cmd::kReadPressures:
      PutLe16(reply, 3, static_cast<uint16_t>(Wandered(state_.pHigh, 8, 200)));
      PutLe16(reply, 5, static_cast<uint16_t>(Wandered(state_.pLow, 4, 240)));
      break;
    default:
      break;  // writes, Ref Cal and codes without a meaning: acknowledged, no payload
  }
  return reply;
}

}  // namespace sim
