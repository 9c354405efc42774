#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "tools/brumo-sim/frame.h"

namespace sim {

// 12 bytes at 2400 baud, 11 bit times each, take 55 ms; the machine needs a little more
// to look the answer up. Well inside the panel's two link ticks (240 ms).
inline constexpr int kReplyDelayMs = 70;
// After the panel's read tick: the reply is never read as the answer to its request.
inline constexpr int kLateReplyDelayMs = 400;

// How the machine's replies go on the line: when, and the faults the panel must survive.
struct ReplyFaults {
  int delayMs = kReplyDelayMs;
  bool silent = false;                     // no reply at all
  std::optional<std::size_t> shortLength;  // only the first N (< 12) bytes
  std::size_t garbage = 0;                 // extra bytes after each reply
  std::optional<uint8_t> wrongCode;        // this code in byte 2 instead of the request's
};

// The bytes that go on the line for one reply of the machine; none when silent.
Bytes ShapeReply(const Frame& reply, const ReplyFaults& faults);

}  // namespace sim
