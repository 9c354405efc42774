// Request frames: bytes 0 and 1, then each code's payload from the panel's state at
// the moment of sending. Slots a code does not name keep what an earlier request put
// there; only the low 8 bits of a slot go on the wire.

#include <algorithm>

#include "link/command_codes.h"
#include "panel/panel_dialog.h"
#include "replies/settings_block.h"

namespace {

constexpr int kNameHalfLength = 8;
constexpr int32_t kSpace = 0x20;

bool TakesFirstByte(int32_t code) {
  switch (code) {
    case 1:
    case 3:
    case 4:
    case 5:
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 19:
    case 21:
      return true;
    default:
      return false;
  }
}

}  // namespace

void CKeloConfigurationDlg::BuildRequest(int32_t code, int32_t firstByte) {
  auto& f = requestFrame;
  f[0] = TakesFirstByte(code) ? firstByte : 0;
  f[1] = 0;

  switch (code) {
    case cmd::kWriteSettings:
    case cmd::kWriteCalibration: {
      // Write queues these only once the machine's own blocks are kept.
      const PayloadBytes block =
          code == cmd::kWriteSettings
              ? SettingsToWrite(controls_, machineSettings.value_or(PayloadBytes{}))
              : CalibrationToWrite({calValue, sHt, tMin, tMax},
                                   machineCalibration.value_or(PayloadBytes{}));
      std::copy(block.begin(), block.end(), f.begin() + 3);
      break;
    }
    case cmd::kWriteNameFirstHalf:
    case cmd::kWriteNameSecondHalf: {
      std::fill(f.begin() + 3, f.begin() + 3 + kNameHalfLength, kSpace);
      machineName = controls_.GetText(ids::kNameEdit);
      const int length = static_cast<int>(machineName.size());
      const int start = code == cmd::kWriteNameFirstHalf ? 0 : kNameHalfLength;
      const int stop = std::min(length, start + kNameHalfLength);
      for (int i = start; i < stop; ++i) {
        f[static_cast<std::size_t>(3 + i - start)] =
            static_cast<unsigned char>(machineName[static_cast<std::size_t>(i)]);
      }
      break;
    }
    case cmd::kSetServiceDate:
    case cmd::kSetClock: {
      const auto now = static_cast<uint64_t>(host_.CurrentTime());
      for (int i = 0; i < 4; ++i)
        f[static_cast<std::size_t>(3 + i)] = static_cast<int32_t>((now >> (8 * i)) & 0xFF);
      break;
    }
    case cmd::kReadLogRecord:
    case cmd::kReadLogRecordAt: {
      const int32_t pointer = code == cmd::kReadLogRecord ? logPointer : readPointer;
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
}
