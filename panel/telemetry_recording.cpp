#include "panel/telemetry_recording.h"

#include <cerrno>

#include "link/command_codes.h"
#include "panel/saved_file.h"
#include "state/machine_readings.h"

namespace {

constexpr unsigned kStatus = 1U << 0;
constexpr unsigned kTemperatures = 1U << 1;
constexpr unsigned kPressures = 1U << 2;
constexpr unsigned kWholePass = kStatus | kTemperatures | kPressures;

TelemetrySample SampleOf(const MachineReadings& machine, int64_t pcTimeMs) {
  const TelemetryReadings& raw = machine.telemetry;
  TelemetrySample sample;
  sample.pcTimeMs = pcTimeMs;
  sample.machineClock = machine.deviceClock;
  sample.ei = raw.ei;
  sample.eo = raw.eo;
  sample.ci = raw.ci;
  sample.co = raw.co;
  sample.pLow = raw.pLow;
  sample.pHigh = raw.pHigh;
  sample.pwm = raw.pwm;
  sample.fogStatus = static_cast<uint8_t>(machine.fogStatusByte);
  sample.mains = static_cast<uint8_t>(machine.mainsValue);
  sample.outputHz = static_cast<uint8_t>(machine.outputFrequency);
  return sample;
}

}  // namespace

std::optional<Interruption> WhyNoPollPasses(bool open, const LinkHealth& health, bool gettingAll,
                                            std::optional<Interruption> before) {
  if (!open) {
    switch (health.end()) {
      case LinkHealth::End::kLost:
        return Interruption::kPortLost;
      case LinkHealth::End::kClosed:
        return Interruption::kClosed;
      case LinkHealth::End::kNone:
        break;
    }
    return before.value_or(Interruption::kClosed);
  }
  if (!health.Live(open)) return Interruption::kNoReplies;
  if (gettingAll) return Interruption::kGetAll;
  return std::nullopt;
}

void TelemetryRecording::NoteReply(int code) {
  if (code == cmd::kReadStatus) arrived_ |= kStatus;
  if (code == cmd::kReadTemperatures) arrived_ |= kTemperatures;
  if (code == cmd::kReadPressures) arrived_ |= kPressures;
}

Outcome TelemetryRecording::PassEnded(const MachineReadings& machine, int64_t pcTimeMs) {
  const bool whole = arrived_ == kWholePass;
  arrived_ = 0;
  if (!whole) return std::nullopt;
  const TelemetrySample sample = SampleOf(machine, pcTimeMs);
  ring_.Add(sample);
  if (!recorder_.recording()) return std::nullopt;
  return recorder_.Append(sample);
}

Outcome TelemetryRecording::SaveOutside(const std::string& path, std::string_view content) const {
  if (recorder_.Records(path)) {
    return Failure{EBUSY, "It is the file being recorded. Stop recording, or choose another name."};
  }
  return SaveFileWhole(path, content);
}
