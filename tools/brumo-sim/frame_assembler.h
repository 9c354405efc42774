#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "tools/brumo-sim/frame.h"

namespace sim {

// Cuts the byte stream from the panel into 12-byte requests. The bytes of one request
// arrive back to back, and before each request the panel purges and holds a break of at
// least 6 ms. A pseudo-terminal carries no break, so the pause is the frame boundary: a
// partial frame that has been idle for longer than kFrameGapMs is dropped and the next
// byte starts a new frame.
class FrameAssembler {
 public:
  static constexpr int64_t kFrameGapMs = 20;

  // Takes one byte received at nowMs; gives the frame it completes, if any.
  std::optional<Frame> Feed(uint8_t byte, int64_t nowMs);

  std::size_t Pending() const { return count_; }
  // Bytes thrown away so far because their frame was never completed.
  std::size_t Dropped() const { return dropped_; }

 private:
  Frame frame_{};
  std::size_t count_ = 0;
  int64_t lastByteMs_ = 0;
  std::size_t dropped_ = 0;
};

}  // namespace sim
