// The reply dispatcher: a complete reply is decoded by its own code (byte 2) alone.
// It is not matched with the request just sent, and a code without a handler (0, any
// even code, anything above 27) changes nothing.

#include "link/command_codes.h"
#include "panel/panel_dialog.h"
#include "replies/reply_bytes.h"

void CKeloConfigurationDlg::DispatchReply() {
  switch (ReplyByte(replyFrame, 2)) {
    case cmd::kReadStatus:
      OnStatusReply();
      break;
    case cmd::kReadSettings:
      OnSettingsReply();
      break;
    case cmd::kReadLogRecord:
      OnEventRecordReply(false);
      break;
    case cmd::kReadCalibration:
      OnCalibrationReply();
      break;
    case cmd::kReadNameFirstHalf:
      OnNameFirstHalfReply();
      break;
    case cmd::kReadNameSecondHalf:
      OnNameSecondHalfReply();
      break;
    case cmd::kReadServiceDate:
      OnServiceDateReply();
      break;
    case cmd::kReadClock:
      OnClockReply();
      break;
    case cmd::kReadLogPointer:
      OnLogPointerReply();
      break;
    case cmd::kReadFirmware:
      OnFirmwareReply();
      break;
    case cmd::kReadLogRecordAt:
      OnEventRecordReply(true);
      break;
    case cmd::kReadCalProgress:
      OnCalProgressReply();
      break;
    case cmd::kReadTemperatures:
      OnTemperatureReply();
      break;
    case cmd::kReadPressures:
      OnPressureReply();
      break;
    default:
      break;
  }
}
