#include "tools/brumo-sim/event_log.h"

#include <algorithm>
#include <cstddef>

namespace sim {
namespace {

// One pass through every event type, newest first, told as a plausible story: the
// engineer plugs in USB after a power cycle, and before that a day of fog runs.
constexpr std::array<uint8_t, kEventTypeCount> kStoryNewestFirst = {
    21, kEventStatusChange, kEventInputChange, 16, 6,  22, 2, 5, 3, 7, 1, 4, 10, 11, 12, 13, 14,
    15, kEventServiceReset, kEventTimeSet,     19, 20, 23, 24};

// Input bits (smoke, set, fire, aux-in, test, case, CS, PIR from bit 7 down) and status
// bits (Bat, Mains, Ready, -, Temp-err, Low flu, No flu, Sys ok from bit 0 up), varied
// from one pass to the next.
constexpr std::array<uint8_t, 4> kInputBits = {0x46, 0xFF, 0x00, 0x84};
constexpr std::array<uint8_t, 4> kStatusBits = {0x87, 0x00, 0xA3, 0x08};

constexpr int64_t kNewestAge = 300;

// Seconds between record k (counted back from the newest) and the one before it:
// between ten minutes and about six hours, irregular but fixed.
int64_t GapBefore(int k) {
  return 600 + (static_cast<int64_t>(k) * 7919) % 20000;
}

}  // namespace

EventLog EventLog::MakeHistory(int count, int64_t newestBefore) {
  count = std::clamp(count, 0, kMaxRecords);
  EventLog log;
  log.memory_.assign(static_cast<std::size_t>(count) * kRecordSize, 0xFF);
  int64_t time = newestBefore - kNewestAge;
  for (int k = 0; k < count; ++k) {
    const uint8_t type = kStoryNewestFirst[static_cast<std::size_t>(k % kEventTypeCount)];
    const auto pass = static_cast<std::size_t>(k / kEventTypeCount) % kInputBits.size();
    uint8_t bits = 0;
    if (type == kEventInputChange) bits = kInputBits[pass];
    if (type == kEventStatusChange) bits = kStatusBits[pass];
    const auto at = static_cast<std::size_t>(count - 1 - k) * kRecordSize;
    const auto raw = static_cast<uint32_t>(time);
    for (std::size_t i = 0; i < 4; ++i) log.memory_[at + i] = static_cast<uint8_t>(raw >> (8 * i));
    log.memory_[at + 4] = type;
    log.memory_[at + 5] = bits;
    time -= GapBefore(k);
  }
  log.pointer_ = count * kRecordSize;
  return log;
}

Record EventLog::RecordAt(int address) const {
  Record record;
  record.fill(0xFF);
  for (int i = 0; i < kRecordSize; ++i) {
    const auto at = static_cast<std::size_t>(address) + static_cast<std::size_t>(i);
    if (address + i >= 0 && at < memory_.size()) record[static_cast<std::size_t>(i)] = memory_[at];
  }
  return record;
}

bool EventLog::Append(int64_t time, uint8_t type, uint8_t bits) {
  if (pointer_ < 0 || pointer_ + kRecordSize > kAddressLimit) return false;
  const auto at = static_cast<std::size_t>(pointer_);
  if (memory_.size() < at + kRecordSize) memory_.resize(at + kRecordSize, 0xFF);
  const auto raw = static_cast<uint32_t>(time);
  for (std::size_t i = 0; i < 4; ++i) memory_[at + i] = static_cast<uint8_t>(raw >> (8 * i));
  memory_[at + 4] = type;
  memory_[at + 5] = bits;
  pointer_ += kRecordSize;
  return true;
}

}  // namespace sim
