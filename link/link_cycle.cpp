// The link cycle: one transaction at a time, driven by the link tick. A request goes
// out after a line break; its reply is read two ticks later without waiting.

#include "link/command_codes.h"
#include "link/serial_port.h"
#include "panel/panel_dialog.h"
#include "replies/time_text.h"

namespace {

constexpr int32_t kReplyTicks = 2;
constexpr int64_t kBreakMicros = 6'000;
constexpr int kProgressStep = 5;
constexpr int kProgressFull = 100;

}  // namespace

void CKeloConfigurationDlg::OnTimer(int timerId) {
  if (timerId == kLinkTimerId) LinkStep();
  if (timerId == kConnectTimerId) ConnectStep();
}

void CKeloConfigurationDlg::LinkStep() {
  if (replyCountdown == 0) {
    if (!portOpen) {
      // Stopped: nothing is sent or refilled.
    } else if (msgStack.GetCount() > 0) {
      SendNextRequest();
    } else {
      PushPollSet();
      ShowClockLine();
    }
  } else if (--replyCountdown == 0) {
    ReadReply();
    if (msgStack.GetCount() > 0) SendNextRequest();
  }
  AdvanceProgress(txInProgress);
  AdvanceProgress(rxInProgress);
}

void CKeloConfigurationDlg::PushPollSet() {
  if (controls_.IsChecked(ids::kRefCalCheck)) msgStack.Push(cmd::kReadCalProgress);
  for (int code : {cmd::kReadStatus, cmd::kReadClock, cmd::kReadStatus, cmd::kReadTemperatures,
                   cmd::kReadPressures, cmd::kReadLogPointer}) {
    msgStack.Push(code);
  }
}

void CKeloConfigurationDlg::ShowClockLine() {
  controls_.SetText(ids::kClockLine,
                    "Time:" + FormatTime(deviceClock, "%x") + " " + FormatTime(deviceClock, "%X"));
}

void CKeloConfigurationDlg::SendNextRequest() {
  if (!portOpen || port_.Handle() == PortHandle::kNone) return;
  port_.PurgeTx();
  port_.PurgeRx();
  if (msgStack.GetCount() == 0) return;
  SendBreak();
  const int32_t code = msgStack.Pop();
  requestFrame[2] = code;
  BuildRequest(code, 0);
  replyCountdown = kReplyTicks;
  // Nothing received before or during the break is taken for the reply.
  port_.PurgeRx();
  for (int32_t cell : requestFrame) {
    if (!port_.WritePortByte(cell & 0xFF)) break;
  }
}

void CKeloConfigurationDlg::SendBreak() {
  port_.SetBreak();
  // The machine needs at least 6 ms of break on the wire, counted from the moment the
  // break is on. The thread sleeps through it.
  const int64_t end = host_.MonotonicMicros() + kBreakMicros;
  while (host_.MonotonicMicros() < end) host_.SleepUntilMicros(end);
  port_.ClearBreak();
}

void CKeloConfigurationDlg::ReadReply() {
  for (int32_t& cell : replyFrame) {
    const int byte = port_.ReadPortByte();
    if (byte < 0 || byte > 0xFF) {
      // A byte missing: the transmit purge tells a lost port from a silent machine.
      if (!port_.PurgeTx()) {
        TakePortAsLost();
      } else if (portOpen) {
        controls_.SetText(ids::kStatusLine, "STATUS: Error- No Status from Brumo");
      }
      return;
    }
    cell = byte;
  }
  controls_.SetText(ids::kStatusLine,
                    "STATUS: Link is live  (Firmware Rev = " + firmwareRevision + ")");
  DispatchReply();
}

void CKeloConfigurationDlg::TakePortAsLost() {
  controls_.SetText(ids::kConnectButton, "Connect");
  portOpen = false;
  // Closed rather than dropped, so the exclusive hold on the device is released and a
  // later Connect can open it again.
  if (port_.Handle() != PortHandle::kNone) port_.ClosePort();
  msgStack.Clear();
  controls_.SetText(ids::kStatusLine, "STATUS: Not connected");
}

void CKeloConfigurationDlg::AdvanceProgress(bool& inProgress) {
  if (!inProgress) return;
  const int position = controls_.GetProgress(ids::kLinkProgress);
  if (position < kProgressFull) {
    controls_.SetProgress(ids::kLinkProgress, position + kProgressStep);
  } else {
    inProgress = false;
    controls_.SetProgress(ids::kLinkProgress, 0);
  }
}
