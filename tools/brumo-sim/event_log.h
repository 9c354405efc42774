#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace sim {

// Event types the machine itself writes when the panel changes it.
inline constexpr uint8_t kEventInputChange = 8;
inline constexpr uint8_t kEventStatusChange = 9;
inline constexpr uint8_t kEventServiceReset = 17;
inline constexpr uint8_t kEventTimeSet = 18;
inline constexpr int kEventTypeCount = 24;

inline constexpr int kRecordSize = 6;
using Record = std::array<uint8_t, kRecordSize>;

// The machine's event log memory: 6-byte records (time, least significant byte first;
// type; input or status bits) at log addresses 0, 6, 12, ... The pointer is the address
// just past the newest record, so the newest record sits at pointer - 6. Addresses are
// 16 bits on the line; memory never written reads as 0xFF, like erased flash.
class EventLog {
 public:
  static constexpr int kAddressLimit = 0x10000;
  static constexpr int kMaxRecords = kAddressLimit / kRecordSize;

  // A history of `count` records (at most kMaxRecords) that ends shortly before
  // `newestBefore`, with times increasing with the address. Once the log holds 24 or
  // more records every event type appears; the newest five include an input change and
  // a status change, so a fresh connect shows both kinds of detail line.
  static EventLog MakeHistory(int count, int64_t newestBefore);

  // Six bytes of memory from `address` on, whatever the alignment.
  Record RecordAt(int address) const;
  // Writes a record at the pointer and moves the pointer past it; false, and nothing
  // written, when the record would not fit below the 16-bit address limit.
  bool Append(int64_t time, uint8_t type, uint8_t bits);

  int Pointer() const { return pointer_; }
  void SetPointer(int pointer) { pointer_ = pointer; }

 private:
  std::vector<uint8_t> memory_;
  int pointer_ = 0;
};

}  // namespace sim
