#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

// Every request and every reply on the line is twelve bytes: 0 and 1 zero, 2 the
// command code, 3 to 11 the payload.
inline constexpr std::size_t kFrameSize = 12;
inline constexpr std::size_t kCodeByte = 2;
inline constexpr std::size_t kPayloadStart = 3;

using Frame = std::array<uint8_t, kFrameSize>;
using Bytes = std::vector<uint8_t>;

// "00 00 13 ..." for the verbose log.
std::string HexText(const uint8_t* data, std::size_t size);
inline std::string HexText(const Bytes& bytes) {
  return HexText(bytes.data(), bytes.size());
}
inline std::string HexText(const Frame& frame) {
  return HexText(frame.data(), frame.size());
}

// Little-endian helpers: the line carries wide numbers least significant byte first.
void PutLe16(Frame& frame, std::size_t at, uint16_t value);
void PutLe32(Frame& frame, std::size_t at, uint32_t value);
uint16_t GetLe16(const Frame& frame, std::size_t at);
// A received time: 32 bits taken as signed and widened with their sign.
int64_t GetTime32(const Frame& frame, std::size_t at);

}  // namespace sim
