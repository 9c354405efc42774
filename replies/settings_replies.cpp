// Read-back of the machine's settings (reply 3) and calibration values (reply 7) into
// the panel. Both are kept as received: Write sends the machine's own bits back for
// every field the operator has not changed, and waits until both have arrived.

#include "panel/panel_dialog.h"
#include "replies/reply_bytes.h"
#include "replies/settings_block.h"

namespace {

PayloadBytes PayloadOf(const ReplyFrame& frame) {
  PayloadBytes payload{};
  for (std::size_t i = 0; i < payload.size(); ++i) {
    payload[i] = ReplyByte(frame, static_cast<int>(i) + 3);
  }
  return payload;
}

}  // namespace

void CKeloConfigurationDlg::OnSettingsReply() {
  machineSettings = PayloadOf(replyFrame);
  ShowSettings(controls_, *machineSettings);
}

void CKeloConfigurationDlg::OnCalibrationReply() {
  machineCalibration = PayloadOf(replyFrame);
  calValue = ReplyByte(replyFrame, 3);
  sHt = ReplyByte(replyFrame, 4);
  tMin = ReplyByte(replyFrame, 5);
  tMax = ReplyByte(replyFrame, 6);
  ShowPanel();
}
