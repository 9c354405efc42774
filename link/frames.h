#pragma once

#include <array>
#include <cstdint>

// Every request and every reply is a frame of twelve bytes: 0 and 1, then the command
// code in byte 2, then the payload in bytes 3 to 11. The link holds a frame as twelve
// signed 32-bit slots; of a request slot only the low 8 bits go on the wire.
inline constexpr int kFrameSize = 12;
using Frame = std::array<int32_t, kFrameSize>;

// Bytes 3 to 11 of a frame, as they travel.
using PayloadBytes = std::array<uint8_t, 9>;
