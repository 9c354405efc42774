// The event log on the panel: log following (reply 17 and the records it asks for),
// the Get All chain (replies 21) and Clear. Records go into list 1055 as text lines.

#include "replies/log_follower.h"

#include <limits>
#include <string>

#include "link/command_codes.h"
#include "link/command_queue.h"
#include "replies/event_texts.h"
#include "replies/reply_bytes.h"
#include "resources/control_ids.h"
#include "state/control_model.h"

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

LogFollower::LogFollower(ControlModel& controls, CommandQueue& link)
    : controls_(controls), link_(link) {}

void LogFollower::RestartFollowing() {
  pointers_.firstLogReply = true;
  pointers_.nextLogPointer = pointers_.logPointer = 0;
}

void LogFollower::Restart() {
  RestartFollowing();
  pointers_.readPointer = 0;
  gettingAll_ = false;
}

void LogFollower::OnLogPointerReply(const Frame& reply) {
  const int32_t machinePointer = ReplyUnsigned16(reply, 3);
  auto& p = pointers_;
  // The push comes before logPointer moves; request 5 is built when it is sent, so it
  // still asks for the new address.
  if (p.firstLogReply) {
    p.logPointer = p.nextLogPointer = machinePointer;
    if (machinePointer > kFollowBack) {
      p.nextLogPointer = machinePointer - kFollowBack;
      link_.Queue(cmd::kReadLogRecord);
      p.logPointer = p.nextLogPointer;
      p.nextLogPointer += kRecordSize;
    }
    p.firstLogReply = false;
  } else if (p.nextLogPointer < machinePointer) {
    link_.Queue(cmd::kReadLogRecord);
    p.logPointer = p.nextLogPointer;
    p.nextLogPointer += kRecordSize;
  } else if (p.nextLogPointer > machinePointer) {
    // The machine's log restarted: follow it again from address 0.
    p.nextLogPointer = 0;
  }
}

void LogFollower::OnRecordReply(const Frame& reply, bool readAll) {
  // Replies 21 arriving after the chain has ended still count, but never overflow.
  if (readAll && pointers_.readPointer <= std::numeric_limits<int32_t>::max() - kRecordSize) {
    pointers_.readPointer += kRecordSize;
  }
  const int64_t time = ReplyTime(reply, 3);
  const int type = ReplyByte(reply, 7);
  std::string detail = EventDetailLine(type, ReplyByte(reply, 8));
  controls_.AddLine(ids::kEventList, EventLine(type, time));
  if (!detail.empty()) controls_.AddLine(ids::kEventList, std::move(detail));
  ShowNewest();
  if (readAll && pointers_.readPointer < kLogEnd) link_.Queue(cmd::kReadLogRecordAt);
  if (readAll && pointers_.readPointer >= kLogEnd) gettingAll_ = false;
}

int LogFollower::recordsRead() const {
  return pointers_.readPointer / kRecordSize;
}

void LogFollower::ShowNewest() {
  const int count = controls_.LineCount(ids::kEventList);
  if (count > kLinesBeforeScroll) {
    controls_.SetTopIndex(ids::kEventList, count - kLinesKeptAboveEnd);
  }
}

void LogFollower::GetAll() {
  // Runs whether or not a port is open; the next Connect empties the queue.
  cleared_.clear();
  controls_.ResetList(ids::kEventList);
  pointers_.readPointer = 0;
  gettingAll_ = true;
  link_.Queue(cmd::kReadLogRecordAt);
}

void LogFollower::ClearList() {
  const ControlState* list = controls_.Find(ids::kEventList);
  cleared_ = list == nullptr ? std::vector<std::string>() : list->lines;
  controls_.ResetList(ids::kEventList);
}

void LogFollower::UndoClear() {
  const ControlState* list = controls_.Find(ids::kEventList);
  if (list == nullptr || cleared_.empty()) return;
  std::vector<std::string> lines = std::move(cleared_);
  cleared_.clear();
  lines.insert(lines.end(), list->lines.begin(), list->lines.end());
  controls_.ResetList(ids::kEventList);
  for (std::string& line : lines) controls_.AddLine(ids::kEventList, std::move(line));
  ShowNewest();
}
