#include "panel/panel_dialog.h"

#include "link/command_codes.h"
#include "link/posix_serial_port.h"
#include "panel/saved_file.h"
#include "panel/service_texts.h"
#include "replies/dispatcher.h"
#include "replies/time_text.h"
#include "resources/control_ids.h"

namespace {

constexpr int kProgressStep = 5;
constexpr int kProgressFull = 100;

}  // namespace

MachineFinder::PortMaker PosixPortMaker() {
  return [] { return std::make_unique<PosixSerialPort>(); };
}

CKeloConfigurationDlg::CKeloConfigurationDlg(Host& host, SerialPort& port,
                                             MachineFinder::PortMaker makePort)
    : host_(host),
      link_(port, host, *this, *this),
      log_(state_.controls, link_),
      commands_(state_, link_, log_, recording_, host),
      connection_(state_, link_, log_, health_, host),
      chooser_(state_, link_, host, std::move(makePort)),
      service_(state_, recording_, health_, connection_, host),
      settingsFiles_(state_, link_, commands_, recording_, host) {}

void CKeloConfigurationDlg::OnTimer(int timerId) {
  // Connect waits while Find machine asks the adapters: each would find the other's hold
  // on the device and take it for another program's.
  const bool connectWaits = chooser_.finding();
  if (timerId == kLinkTimerId) {
    link_.Tick();
    // A Write whose read-back the closed link can no longer bring.
    if (!link_.IsOpen() && verification_.ReadBackOver()) TellVerdict();
    if (!connectWaits) connection_.PrepareOpen();
    AdvanceProgress(state_.gate.txInProgress);
    AdvanceProgress(state_.gate.rxInProgress);
  }
  if (timerId == kConnectTimerId && !connectWaits) connection_.ConnectStep();
  if (timerId == kFindTimerId) chooser_.OnFindTick();
  NoteReadoutsCurrent();
  // So that the Trends window can name its gaps; the clock is read only at a change.
  recording_.NoteInterruption(
      WhyNoPollPasses(link_.IsOpen(), health_, GetAllRecordsRead().has_value(),
                      recording_.interruptions().current()),
      [this] { return host_.CurrentTimeMs(); });
}

void CKeloConfigurationDlg::NoteReadoutsCurrent() {
  const bool current = ReadoutsCurrent();
  if (current == currentTold_) return;
  currentTold_ = current;
  if (readoutsCurrentChanged_) readoutsCurrentChanged_();
}

std::string CKeloConfigurationDlg::LinkStateWords(int64_t nowMs) const {
  const LinkState state{link_.IsOpen(), connection_.connectPending(), link_.device()};
  return ::LinkStateWords(state, health_, nowMs);
}

// The Write and Read runs animate bar 1021 by ticks alone, not by their replies.
void CKeloConfigurationDlg::AdvanceProgress(bool& inProgress) {
  if (!inProgress) return;
  ControlModel& controls = state_.controls;
  const int position = controls.GetProgress(ids::kLinkProgress);
  if (position < kProgressFull) {
    controls.SetProgress(ids::kLinkProgress, position + kProgressStep);
  } else {
    inProgress = false;
    controls.SetProgress(ids::kLinkProgress, 0);
  }
}

// --- What the link reports ---

void CKeloConfigurationDlg::OnRequestSent(const Frame& request) {
  health_.RequestSent();
  verification_.RequestSent(request);
}

void CKeloConfigurationDlg::OnReplyComplete(const Frame& reply) {
  health_.ReplyComplete(host_.CurrentTimeMs());
  // Before the dispatch, so a new firmware revision shows from the next reply on.
  state_.controls.SetText(ids::kStatusLine, "STATUS: Link is live  (Firmware Rev = " +
                                                state_.machine.firmwareRevision + ")");
  const int code = reply[2] & 0xFF;
  if (!DispatchReply(reply, state_, log_)) {
    cmd::IsAcknowledgement(code) ? health_.Acknowledged() : health_.UnhandledCode();
  }
  recording_.NoteReply(code);
  if (verification_.ReplyComplete(reply)) TellVerdict();
  if (code == cmd::kReadClock) {
    health_.ClockMeasured(state_.machine.deviceClock - host_.CurrentTime());
  }
}

void CKeloConfigurationDlg::OnNoReply(int received) {
  health_.ReplyIncomplete(received);
  if (link_.IsOpen()) {
    state_.controls.SetText(ids::kStatusLine, "STATUS: Error- No Status from Brumo");
  }
}

void CKeloConfigurationDlg::OnPortGone(PortGone why) {
  // After the operator's Close the same texts as for a lost port follow, but the line
  // did nothing wrong.
  if (why == PortGone::kLost) {
    health_.PortLost(host_.CurrentTimeMs());
  } else {
    health_.ReplyDropped();
  }
  state_.controls.SetText(ids::kConnectButton, "Connect");
  state_.controls.SetText(ids::kStatusLine, "STATUS: Not connected");
}

void CKeloConfigurationDlg::OnIdle() {
  // Write's requests have all had their turn.
  if (verification_.ReadBackOver()) TellVerdict();
  EndPass();
  QueuePollSet();
  ShowClockLine();
}

void CKeloConfigurationDlg::TellVerdict() {
  for (const std::string& failure : verification_.last()->failures) host_.Note(failure);
}

// The pass that ends gives the telemetry's sample; a recording that cannot go on says so.
void CKeloConfigurationDlg::EndPass() {
  const std::string path = recording_.recordingPath();
  if (const auto failure = recording_.PassEnded(state_.machine, host_.CurrentTimeMs())) {
    host_.ShowMessageLater("Recording stopped. " + SaveFailedMessage(path, *failure));
  }
}

std::optional<int> CKeloConfigurationDlg::GetAllRecordsRead() const {
  if (!log_.gettingAll()) return std::nullopt;
  // The chain goes on while a request 21 is awaited or next to be sent.
  const MsgStack& queue = link_.queue();
  const bool awaited =
      link_.replyCountdown() > 0 && link_.requestFrame()[2] == cmd::kReadLogRecordAt;
  const bool next = queue.GetCount() > 0 && queue.SlotAt(queue.GetCount()) == cmd::kReadLogRecordAt;
  if (!awaited && !next) return std::nullopt;
  return log_.recordsRead();
}

void CKeloConfigurationDlg::QueuePollSet() {
  if (state_.controls.IsChecked(ids::kRefCalCheck)) link_.Queue(cmd::kReadCalProgress);
  for (int code : {cmd::kReadStatus, cmd::kReadClock, cmd::kReadStatus, cmd::kReadTemperatures,
                   cmd::kReadPressures, cmd::kReadLogPointer}) {
    link_.Queue(code);
  }
}

// The clock as received in the previous pass: this pass's clock reply comes later.
void CKeloConfigurationDlg::ShowClockLine() {
  const int64_t clock = state_.machine.deviceClock;
  state_.controls.SetText(ids::kClockLine,
                          "Time:" + FormatTime(clock, "%x") + " " + FormatTime(clock, "%X"));
}

// --- What a request carries ---

// Fixed when Write was pressed: what the operator changed, on the machine's own blocks.
PayloadBytes CKeloConfigurationDlg::SettingsToWrite() {
  return state_.gate.settingsToSend;
}

PayloadBytes CKeloConfigurationDlg::CalibrationToWrite() {
  return state_.gate.calibrationToSend;
}

std::string CKeloConfigurationDlg::NameToWrite() {
  // The name edit's text becomes the name the panel keeps, as the machine will.
  state_.machine.machineName = state_.controls.GetText(ids::kNameEdit);
  return state_.machine.machineName;
}

int32_t CKeloConfigurationDlg::LogPointer() {
  return log_.pointers().logPointer;
}

int32_t CKeloConfigurationDlg::ReadPointer() {
  return log_.pointers().readPointer;
}

int64_t CKeloConfigurationDlg::CurrentTime() {
  return host_.CurrentTime();
}
