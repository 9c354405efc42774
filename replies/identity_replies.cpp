// The machine's identity and clocks: name halves, firmware revision, service date and
// machine clock.
//
// Names and revisions are kept as the bytes the machine sent, whatever their values:
// the name goes back to the machine byte for byte (requests 10 and 12 take it from
// edit 1059) and into the settings report. The window shows a name that is valid UTF-8
// as UTF-8, and any other byte for byte as Latin-1, so no byte is lost from view.

#include <algorithm>
#include <string>

#include "panel/panel_dialog.h"
#include "replies/reply_bytes.h"
#include "replies/time_text.h"

namespace {

constexpr int kHalfNameSize = 8;
constexpr int kRevisionSize = 8;
constexpr int kFirstPayloadByte = 3;
// The service interval restarts at the base date and runs 364 days.
constexpr int64_t kServiceIntervalSeconds = 364 * 24 * 60 * 60;

// The bytes up to the first zero.
template <typename Bytes>
std::string ZeroTerminated(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return std::string(bytes.begin(), end);
}

}  // namespace

void CKeloConfigurationDlg::OnNameFirstHalfReply() {
  for (int i = 0; i < kHalfNameSize; ++i) {
    nameBuffer[static_cast<std::size_t>(i)] = ReplyByte(replyFrame, kFirstPayloadByte + i);
  }
}

void CKeloConfigurationDlg::OnNameSecondHalfReply() {
  for (int i = 0; i < kHalfNameSize; ++i) {
    nameBuffer[static_cast<std::size_t>(kHalfNameSize + i)] =
        ReplyByte(replyFrame, kFirstPayloadByte + i);
  }
  nameBuffer[2 * kHalfNameSize] = 0;
  // Trailing spaces of a space-filled name stay part of it.
  machineName = ZeroTerminated(nameBuffer);
  controls_.SetText(ids::kNameEdit, machineName);
}

void CKeloConfigurationDlg::OnFirmwareReply() {
  std::array<uint8_t, kRevisionSize> revision{};
  for (int i = 0; i < kRevisionSize; ++i) {
    revision[static_cast<std::size_t>(i)] = ReplyByte(replyFrame, kFirstPayloadByte + i);
  }
  // Shown by the link cycle in the status line from the next reply on.
  firmwareRevision = ZeroTerminated(revision);
}

void CKeloConfigurationDlg::OnServiceDateReply() {
  serviceBaseDate = ReplyTime(replyFrame, kFirstPayloadByte);
  const int64_t nextDue = serviceBaseDate + kServiceIntervalSeconds;
  controls_.SetText(ids::kServiceDueLine, "Next due " + FormatTime(nextDue, "%x"));
}

void CKeloConfigurationDlg::OnClockReply() {
  // Shown by the link cycle at each poll-set refill.
  deviceClock = ReplyTime(replyFrame, kFirstPayloadByte);
}
