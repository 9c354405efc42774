// Request frames: bytes 0 and 1, then each code's payload from the panel's state at
// the moment of sending. Slots a code does not name keep what an earlier request put
// there; only the low 8 bits of a slot go on the wire.

#include "link/request_builder.h"

#include <algorithm>

#include "link/command_codes.h"

namespace {

constexpr int kNameHalfLength = 8;
constexpr int32_t kSpace = 0x20;

}  // namespace

const Frame& RequestBuilder::Build(int32_t code, RequestSource& source) {
  auto& f = frame_;
  f[0] = 0;
  f[1] = 0;
  f[2] = code;
  switch (code) {
    case cmd::kWriteSettings:
    case cmd::kWriteCalibration: {
      const PayloadBytes block =
          code == cmd::kWriteSettings ? source.SettingsToWrite() : source.CalibrationToWrite();
      std::copy(block.begin(), block.end(), f.begin() + 3);
      break;
    }
    case cmd::kWriteNameFirstHalf:
    case cmd::kWriteNameSecondHalf:
      PutName(code, source.NameToWrite());
      break;
    case cmd::kSetServiceDate:
    case cmd::kSetClock: {
      // Only the low 32 bits of the time are sent.
      const auto now = static_cast<uint64_t>(source.CurrentTime());
      for (int i = 0; i < 4; ++i) {
        f[3 + static_cast<std::size_t>(i)] = static_cast<int32_t>((now >> (8 * i)) & 0xFF);
      }
      break;
    }
    case cmd::kReadLogRecord:
    case cmd::kReadLogRecordAt: {
      const int32_t pointer =
          code == cmd::kReadLogRecord ? source.LogPointer() : source.ReadPointer();
      f[3] = pointer & 0xFF;
      f[4] = (pointer >> 8) & 0xFF;
      break;
    }
    case cmd::kReadCalProgress:
      f[3] = 0xAA;
      f[4] = 0xAA;
      break;
    case cmd::kReferenceCalibration:
      f[3] = 0xAA;
      f[4] = 0xAB;
      f[5] = 0xAC;
      f[6] = 0xAD;
      break;
    default:
      break;
  }
  return f;
}

// One half of the name in bytes 3 to 10, space-filled; byte 11 keeps its value.
// Characters beyond the sixteenth are never sent.
void RequestBuilder::PutName(int32_t code, const std::string& name) {
  std::fill(frame_.begin() + 3, frame_.begin() + 3 + kNameHalfLength, kSpace);
  const int length = static_cast<int>(name.size());
  const int start = code == cmd::kWriteNameFirstHalf ? 0 : kNameHalfLength;
  const int stop = std::min(length, start + kNameHalfLength);
  for (int i = start; i < stop; ++i) {
    frame_[static_cast<std::size_t>(3 + i - start)] =
        static_cast<unsigned char>(name[static_cast<std::size_t>(i)]);
  }
}
