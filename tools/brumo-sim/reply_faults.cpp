#include "tools/brumo-sim/reply_faults.h"

#include <algorithm>

namespace sim {

Bytes ShapeReply(const Frame& reply, const ReplyFaults& faults) {
  if (faults.silent) return {};
  Frame frame = reply;
  if (faults.wrongCode) frame[kCodeByte] = *faults.wrongCode;
  const std::size_t length = std::min(faults.shortLength.value_or(kFrameSize), kFrameSize);
  Bytes bytes(frame.begin(), frame.begin() + static_cast<std::ptrdiff_t>(length));
  // Line noise with no pattern the panel could mistake for a frame start.
  for (std::size_t i = 0; i < faults.garbage; ++i)
    bytes.push_back(static_cast<uint8_t>(0xA5 + 0x3B * i));
  return bytes;
}

}  // namespace sim
