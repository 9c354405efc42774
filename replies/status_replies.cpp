// Replies that report the machine's running state: status (fog status byte, mains,
// inverter output) and reference-calibration progress.

#include <string>

#include "panel/panel_dialog.h"
#include "replies/reply_bytes.h"

namespace {

struct StatusBit {
  int mask;
  int indicatorId;
};

// FOG STATUS indicators by bit of the fog status byte.
constexpr StatusBit kStatusBits[] = {
    {0x01, ids::kReadyIndicator},   {0x02, ids::kMainsOkIndicator}, {0x04, ids::kReady2Indicator},
    {0x08, ids::kHeat2Indicator},   {0x10, ids::kHeatIndicator},    {0x20, ids::kRdmIndicator},
    {0x40, ids::kFluidOkIndicator}, {0x80, ids::kDmxIndicator},
};

// The inverter's output in hertz: byte 6 scaled so that 208 is 70 Hz, truncated.
constexpr int32_t kOutputHzPerStep = 70;
constexpr int32_t kOutputStepsPerScale = 208;
constexpr int kCalibrationDone = 100;

}  // namespace

void CKeloConfigurationDlg::OnStatusReply() {
  fogStatusByte = ReplyByte(replyFrame, 7);
  mainsValue = ReplyByte(replyFrame, 8);
  outputFrequency = ReplyByte(replyFrame, 6) * kOutputHzPerStep / kOutputStepsPerScale;
  ShowFogStatus();
}

void CKeloConfigurationDlg::ShowFogStatus() {
  // Replaces whatever the operator typed into T_Max and has not stored.
  controls_.SetText(ids::kTMaxEdit, std::to_string(tMax));
  for (const StatusBit& bit : kStatusBits) {
    controls_.SetCheck(bit.indicatorId, (fogStatusByte & bit.mask) != 0 ? 1 : 0);
  }
}

void CKeloConfigurationDlg::OnCalProgressReply() {
  const int progress = ReplyByte(replyFrame, 3);
  if (progress < kCalibrationDone) {
    controls_.SetProgress(ids::kCalProgress, progress);
  } else if (controls_.IsChecked(ids::kRefCalCheck)) {
    // Done: unchecking Ref Cal also takes code 23 out of the poll set.
    controls_.SetProgress(ids::kCalProgress, 0);
    controls_.SetCheck(ids::kRefCalCheck, 0);
  }
}
