#pragma once

#include <array>
#include <cstdint>

// The queue of work for the device link: a fixed-size last-in-first-out stack of
// command codes. A batch pushed together goes out in the reverse of its push order.
class MsgStack {
 public:
  static constexpr int kStackCapacity = 96;

  // At capacity the code is dropped without notice.
  void Push(int32_t code);
  // An empty stack gives 0 and stays empty.
  int32_t Pop();
  int32_t GetCount() const { return count_; }
  // Slot contents stay as they were; they are never read before being overwritten.
  void Clear() { count_ = 0; }

  // Entry at index 1..kStackCapacity (index 0 is never used); for inspection.
  int32_t SlotAt(int index) const { return slots_.at(static_cast<std::size_t>(index)); }

 private:
  std::array<int32_t, kStackCapacity + 1> slots_{};
  int32_t count_ = 0;
};
