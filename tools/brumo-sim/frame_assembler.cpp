#include "tools/brumo-sim/frame_assembler.h"

namespace sim {

std::optional<Frame> FrameAssembler::Feed(uint8_t byte, int64_t nowMs) {
  if (count_ > 0 && nowMs - lastByteMs_ > kFrameGapMs) {
    dropped_ += count_;
    count_ = 0;
  }
  lastByteMs_ = nowMs;
  frame_[count_++] = byte;
  if (count_ < kFrameSize) return std::nullopt;
  count_ = 0;
  return frame_;
}

}  // namespace sim
