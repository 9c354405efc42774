// The event log on the panel: log following (reply 17 and the records it asks for),
// the Get All chain (replies 21) and Clear. Records go into list 1055 as text lines.

#include <limits>

#include "link/command_codes.h"
#include "panel/panel_dialog.h"
#include "replies/event_texts.h"
#include "replies/reply_bytes.h"

namespace {

// A record takes six bytes of the machine's log memory.
constexpr int32_t kRecordSize = 6;
// After a connect, log following starts five records before the machine's pointer.
constexpr int32_t kFollowBack = 5 * kRecordSize;
// Get All reads log addresses 0..882: 148 records.
constexpr int32_t kLogEnd = 888;
// With more lines than this the list scrolls so that the newest stay in view.
constexpr int kLinesBeforeScroll = 5;
constexpr int kLinesKeptAboveEnd = 3;

}  // namespace

void CKeloConfigurationDlg::OnLogPointerReply() {
  const int32_t machinePointer = ReplyUnsigned16(replyFrame, 3);
  // The push comes before logPointer moves; request 5 is built when it is sent, so it
  // still asks for the new address.
  if (firstLogReply) {
    logPointer = nextLogPointer = machinePointer;
    if (machinePointer > kFollowBack) {
      nextLogPointer = machinePointer - kFollowBack;
      msgStack.Push(cmd::kReadLogRecord);
      logPointer = nextLogPointer;
      nextLogPointer += kRecordSize;
    }
    firstLogReply = false;
  } else if (nextLogPointer < machinePointer) {
    msgStack.Push(cmd::kReadLogRecord);
    logPointer = nextLogPointer;
    nextLogPointer += kRecordSize;
  } else if (nextLogPointer > machinePointer) {
    // The machine's log restarted: follow it again from address 0.
    nextLogPointer = 0;
  }
}

void CKeloConfigurationDlg::OnEventRecordReply(bool readAll) {
  // Replies 21 arriving after the chain has ended still count, but never overflow.
  if (readAll && readPointer <= std::numeric_limits<int32_t>::max() - kRecordSize) {
    readPointer += kRecordSize;
  }
  const int64_t time = ReplyTime(replyFrame, 3);
  const int type = ReplyByte(replyFrame, 7);
  std::string detail = EventDetailLine(type, ReplyByte(replyFrame, 8));
  controls_.AddLine(ids::kEventList, EventLine(type, time));
  if (!detail.empty()) controls_.AddLine(ids::kEventList, std::move(detail));
  const int count = controls_.LineCount(ids::kEventList);
  if (count > kLinesBeforeScroll)
    controls_.SetTopIndex(ids::kEventList, count - kLinesKeptAboveEnd);
  if (readAll && readPointer < kLogEnd) msgStack.Push(cmd::kReadLogRecordAt);
}

void CKeloConfigurationDlg::OnGetAllClicked() {
  // Runs whether or not a port is open; the next Connect empties the stack.
  controls_.ResetList(ids::kEventList);
  readPointer = 0;
  msgStack.Push(cmd::kReadLogRecordAt);
}

void CKeloConfigurationDlg::OnClearLogClicked() {
  controls_.ResetList(ids::kEventList);
}
