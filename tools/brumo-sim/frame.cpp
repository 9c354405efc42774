#include "tools/brumo-sim/frame.h"

#include <cstdio>

namespace sim {

std::string HexText(const uint8_t* data, std::size_t size) {
  std::string text;
  char piece[4];
  for (std::size_t i = 0; i < size; ++i) {
    std::snprintf(piece, sizeof piece, i == 0 ? "%02x" : " %02x", data[i]);
    text += piece;
  }
  return text;
}

void PutLe16(Frame& frame, std::size_t at, uint16_t value) {
  frame.at(at) = static_cast<uint8_t>(value & 0xFF);
  frame.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void PutLe32(Frame& frame, std::size_t at, uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) frame.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

uint16_t GetLe16(const Frame& frame, std::size_t at) {
  return static_cast<uint16_t>(frame.at(at) | (frame.at(at + 1) << 8));
}

int64_t GetTime32(const Frame& frame, std::size_t at) {
  uint32_t raw = 0;
  for (std::size_t i = 0; i < 4; ++i) raw |= static_cast<uint32_t>(frame.at(at + i)) << (8 * i);
  return static_cast<int32_t>(raw);
}

}  // namespace sim
