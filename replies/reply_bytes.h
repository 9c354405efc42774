#pragma once

#include <array>
#include <cstdint>

#include "link/frames.h"

// Reading a reply frame. The link fills each slot with one received byte; the mask
// keeps a decoder within 0..255 whatever a slot holds.

inline uint8_t ReplyByte(const Frame& frame, int index) {
  return static_cast<uint8_t>(frame[static_cast<std::size_t>(index)] & 0xFF);
}

// Two bytes, low first, as a 16-bit two's-complement number: -32768..32767.
inline int16_t ReplySigned16(const Frame& frame, int lowIndex) {
  const auto raw =
      static_cast<uint16_t>(ReplyByte(frame, lowIndex) | (ReplyByte(frame, lowIndex + 1) << 8));
  return static_cast<int16_t>(raw);
}

// Two bytes, low first, unsigned: 0..65535.
inline int32_t ReplyUnsigned16(const Frame& frame, int lowIndex) {
  return ReplyByte(frame, lowIndex) | (ReplyByte(frame, lowIndex + 1) << 8);
}

// A time on the wire: four bytes, least significant first, taken as a signed 32-bit
// value and widened with its sign (0xFFFFFFFF is one second before 1970, not 2106).
inline int64_t ReplyTime(const Frame& frame, int firstIndex) {
  uint32_t raw = 0;
  for (int i = 3; i >= 0; --i) raw = (raw << 8) | ReplyByte(frame, firstIndex + i);
  return static_cast<int32_t>(raw);
}
