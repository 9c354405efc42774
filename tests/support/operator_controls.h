#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "link/frames.h"
#include "resources/control_ids.h"
#include "support/fake_port.h"

// The bits of frame 4 or 8 that each operator control owns.
struct OwnedBits {
  int id;
  int code;
  std::size_t byte;  // 0 is byte 3 of the frame
  uint8_t mask;
};

inline constexpr OwnedBits kOperatorControls[] = {{ids::kLocalTempCombo, 4, 0, 0xFF},
                                                  {ids::kRunTimeCombo, 4, 1, 0xFF},
                                                  {ids::kEvapFanCombo, 4, 2, 0x0F},
                                                  {ids::kPumpMinCombo, 4, 3, 0x0F},
                                                  {ids::kAuxOutNcCheck, 4, 4, 0x80},
                                                  {ids::kMainFaultNcCheck, 4, 4, 0x30},
                                                  {ids::kTrigRelayNcCheck, 4, 4, 0x40},
                                                  {ids::kAuxOutLatchingCheck, 4, 4, 0x08},
                                                  {ids::kMainFaultLatchingCheck, 4, 4, 0x03},
                                                  {ids::kIdleEnableCheck, 4, 4, 0x04},
                                                  {ids::kPumpRunCheck, 4, 5, 0x02},
                                                  {ids::kCompressorRunCheck, 4, 5, 0x01},
                                                  {ids::kFaultSuppressCheck, 4, 5, 0x04},
                                                  {ids::kUsbSaiOffCheck, 4, 5, 0x08},
                                                  {ids::kPumpMaxCombo, 4, 5, 0xF0},
                                                  {ids::kCalValueEdit, 8, 0, 0xFF},
                                                  {ids::kSHtEdit, 8, 1, 0xFF},
                                                  {ids::kTMinEdit, 8, 2, 0xFF},
                                                  {ids::kTMaxEdit, 8, 3, 0xFF}};

// A request frame as Write sends it: the code and a block in bytes 3 to 11.
inline FakeSerialPort::Frame Request(int code, const PayloadBytes& block) {
  FakeSerialPort::Frame frame(kFrameSize, 0);
  frame[2] = static_cast<uint8_t>(code);
  std::copy(block.begin(), block.end(), frame.begin() + 3);
  return frame;
}
