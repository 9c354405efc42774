// The machine's identity and clocks: name halves, firmware revision, service date and
// machine clock.
//
// Names and revisions are kept as the bytes the machine sent, whatever their values:
// the name goes back to the machine byte for byte (requests 10 and 12 take it from
// edit 1059) and into the settings report. The window shows a name that is valid UTF-8
// as UTF-8, and any other byte for byte as Latin-1, so no byte is lost from view.

#include <algorithm>
#include <array>
#include <string>

#include "replies/decoders.h"
#include "replies/reply_bytes.h"
#include "replies/time_text.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

constexpr int kHalfNameSize = 8;
constexpr int kRevisionSize = 8;
constexpr int kFirstPayloadByte = 3;
// The service interval restarts at the base date and runs 364 days.
constexpr int64_t kServiceIntervalSeconds = int64_t{364} * 24 * 60 * 60;

// The bytes up to the first zero.
template <typename Bytes>
std::string ZeroTerminated(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

}  // namespace

void DecodeNameFirstHalf(const Frame& reply, PanelState& panel) {
  auto& name = panel.machine.nameBuffer;
  for (int i = 0; i < kHalfNameSize; ++i) {
    name[static_cast<std::size_t>(i)] = ReplyByte(reply, kFirstPayloadByte + i);
  }
  panel.machine.readSinceConnect.nameFirstHalf = true;
}

void DecodeNameSecondHalf(const Frame& reply, PanelState& panel) {
  MachineReadings& machine = panel.machine;
  auto& name = machine.nameBuffer;
  for (int i = 0; i < kHalfNameSize; ++i) {
    name[kHalfNameSize + static_cast<std::size_t>(i)] = ReplyByte(reply, kFirstPayloadByte + i);
  }
  name[name.size() - 1] = 0;
  // Trailing spaces of a space-filled name stay part of it.
  machine.machineName = ZeroTerminated(name);
  // Without this session's first half, the name is partly another session's.
  machine.readSinceConnect.machineName = machine.readSinceConnect.nameFirstHalf;
  panel.controls.SetText(ids::kNameEdit, machine.machineName);
}

void DecodeFirmware(const Frame& reply, PanelState& panel) {
  std::array<uint8_t, kRevisionSize> revision{};
  for (int i = 0; i < kRevisionSize; ++i) {
    revision[static_cast<std::size_t>(i)] = ReplyByte(reply, kFirstPayloadByte + i);
  }
  // Shown in the status line from the next complete reply on.
  panel.machine.firmwareRevision = ZeroTerminated(revision);
  panel.machine.readSinceConnect.firmwareRevision = true;
}

void DecodeServiceDate(const Frame& reply, PanelState& panel) {
  panel.machine.serviceBaseDate = ReplyTime(reply, kFirstPayloadByte);
  panel.machine.readSinceConnect.serviceBaseDate = true;
  const int64_t nextDue = panel.machine.serviceBaseDate + kServiceIntervalSeconds;
  panel.controls.SetText(ids::kServiceDueLine, "Next due " + FormatTime(nextDue, "%x"));
}

void DecodeClock(const Frame& reply, PanelState& panel) {
  // Shown in the clock line at each poll-set refill.
  panel.machine.deviceClock = ReplyTime(reply, kFirstPayloadByte);
  panel.machine.readSinceConnect.deviceClock = true;
}
