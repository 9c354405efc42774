// Read-back of the machine's settings (reply 3) and calibration values (reply 7) into
// the panel. Either arriving since the last Connect lets Write go ahead.

#include "panel/panel_dialog.h"
#include "replies/reply_bytes.h"

namespace {

// Local Temp entries start at 17 degrees; lower readings select the first entry.
constexpr int kLocalTempFirst = 17;
constexpr int kRunTimeStep = 10;

struct FlagCheck {
  int mask;
  bool checkedWhenSet;
  int checkId;
};

// Byte 7: contact flags. The N/C and Latching boxes are checked when their bit is 0;
// bits 5 and 1 are not shown.
constexpr FlagCheck kContactChecks[] = {
    {0x80, false, ids::kAuxOutNcCheck},          {0x10, false, ids::kMainFaultNcCheck},
    {0x40, false, ids::kTrigRelayNcCheck},       {0x08, false, ids::kAuxOutLatchingCheck},
    {0x01, false, ids::kMainFaultLatchingCheck}, {0x04, true, ids::kIdleEnableCheck},
};

// Byte 8, low four bits: run flags. The upper four bits select the pump maximum.
constexpr FlagCheck kRunChecks[] = {
    {0x02, true, ids::kPumpRunCheck},
    {0x01, true, ids::kCompressorRunCheck},
    {0x04, true, ids::kFaultSuppressCheck},
    {0x08, true, ids::kUsbSaiOffCheck},
};

template <std::size_t N>
void ShowFlags(ControlModel& controls, const FlagCheck (&checks)[N], int byte) {
  for (const FlagCheck& flag : checks) {
    const bool set = (byte & flag.mask) != 0;
    controls.SetCheck(flag.checkId, set == flag.checkedWhenSet ? 1 : 0);
  }
}

}  // namespace

void CKeloConfigurationDlg::OnSettingsReply() {
  const int localTemp = ReplyByte(replyFrame, 3);
  // No upper clamp: an index past a list's end leaves that combo without a selection.
  controls_.SetSelection(ids::kLocalTempCombo,
                         localTemp < kLocalTempFirst ? 0 : localTemp - kLocalTempFirst);
  controls_.SetSelection(ids::kRunTimeCombo, ReplyByte(replyFrame, 4) / kRunTimeStep);
  controls_.SetSelection(ids::kEvapFanCombo, ReplyByte(replyFrame, 5) & 0x0F);
  controls_.SetSelection(ids::kPumpMinCombo, ReplyByte(replyFrame, 6) & 0x0F);
  ShowFlags(controls_, kContactChecks, ReplyByte(replyFrame, 7));
  const int runFlags = ReplyByte(replyFrame, 8);
  ShowFlags(controls_, kRunChecks, runFlags);
  controls_.SetSelection(ids::kPumpMaxCombo, (runFlags >> 4) & 0x0F);
  settingsReceived = true;
}

void CKeloConfigurationDlg::OnCalibrationReply() {
  calValue = ReplyByte(replyFrame, 3);
  sHt = ReplyByte(replyFrame, 4);
  tMin = ReplyByte(replyFrame, 5);
  tMax = ReplyByte(replyFrame, 6);
  ShowPanel();
  calibrationReceived = true;
}
