#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/link_engine.h"
#include "link/link_health.h"
#include "panel/commands.h"
#include "panel/connection.h"
#include "panel/host.h"
#include "panel/port_chooser.h"
#include "panel/service_commands.h"
#include "panel/settings_file_commands.h"
#include "panel/telemetry_recording.h"
#include "panel/write_verification.h"
#include "replies/log_follower.h"
#include "state/panel_state.h"

class SerialPort;

// Ports on the system's serial devices.
MachineFinder::PortMaker PosixPortMaker();

inline constexpr int kLinkTimerId = 1;
inline constexpr int kConnectTimerId = 2;
// Runs only while Find machine asks the adapters.
inline constexpr int kFindTimerId = 3;
inline constexpr unsigned kLinkTickMs = 120;
inline constexpr unsigned kConnectTickMs = 1000;
// A poll pass with nothing else queued: 14 link ticks.
inline constexpr int64_t kPollPassMs = 14 * int64_t{kLinkTickMs};

// The panel: a thin front that owns the panel's state, the link to the machine, the
// event-log follower, the operator's commands and the connection manager. It keeps the
// window's own steps (start-up, the timers, Exit, destruction), tells the link what a
// request carries and shows what the link reports.
class CKeloConfigurationDlg : private LinkListener, private RequestSource {
 public:
  // `makePort` makes the ports Find machine asks the adapters on.
  CKeloConfigurationDlg(Host& host, SerialPort& port,
                        MachineFinder::PortMaker makePort = PosixPortMaker());
  CKeloConfigurationDlg(const CKeloConfigurationDlg&) = delete;
  CKeloConfigurationDlg& operator=(const CKeloConfigurationDlg&) = delete;
  ~CKeloConfigurationDlg() override = default;

  // The window exists: combo lists, start-up set, port number, timers.
  bool OnInitDialog();
  // Timer 1: the link tick, the armed attempt's open prepared, then the Write/Read progress
  // bar. Timer 2: the connect tick. Timer 3: Find machine's step. While Find runs, the
  // connect attempt waits.
  void OnTimer(int timerId);
  // Exit or Enter, and Escape or the close box: both ask "Confirm Exit".
  void OnOK();
  void OnCancel();
  // The window is going: port closed, port number saved, timers stopped.
  void OnDestroy();
  void OnHelpClicked();

  ControlModel& controls() { return state_.controls; }
  const ControlModel& controls() const { return state_.controls; }
  const PanelState& state() const { return state_; }
  const LinkEngine& link() const { return link_; }
  const LogFollower& log() const { return log_; }
  PanelCommands& commands() { return commands_; }
  ConnectionManager& connection() { return connection_; }
  PortChooser& chooser() { return chooser_; }
  ServiceCommands& service() { return service_; }
  SettingsFileCommands& settingsFiles() { return settingsFiles_; }
  // What the last Write's read-back said.
  const WriteVerification& writeVerification() const { return verification_; }
  const LinkHealth& health() const { return health_; }
  const TelemetryRecording& telemetry() const { return recording_; }
  // Not live: closed, lost, or the last three requests without a complete reply. The
  // window dims the live readouts then.
  bool LinkLive() const { return health_.Live(link_.IsOpen()); }
  // What the live readouts show is current: the link is live and Get All is not reading
  // the log in place of the poll passes.
  bool ReadoutsCurrent() const { return LinkLive() && !GetAllRecordsRead(); }
  // The link's state in words while it is not live ("No reply for 12 s", "Closed", …).
  std::string LinkStateWords(int64_t nowMs) const;
  // Told on the tick the readouts stop or start being current (the third request without
  // a reply, the reply after them, the port opened or gone, Get All's chain begun or
  // ended), so that a view can follow at once rather than at its next refresh.
  void OnReadoutsCurrentChanged(std::function<void()> changed) {
    readoutsCurrentChanged_ = std::move(changed);
  }
  // While Get All reads the log: the records read so far.
  std::optional<int> GetAllRecordsRead() const;
  const ConnectionManager& connection() const { return connection_; }

 private:
  // What the link reports.
  void OnRequestSent(const Frame& request) override;
  void OnReplyComplete(const Frame& reply) override;
  void OnNoReply(int received) override;
  void OnPortGone(PortGone why) override;
  void OnIdle() override;

  // What a request carries, at the moment it is sent.
  PayloadBytes SettingsToWrite() override;
  PayloadBytes CalibrationToWrite() override;
  std::string NameToWrite() override;
  int32_t LogPointer() override;
  int32_t ReadPointer() override;
  int64_t CurrentTime() override;

  void QueuePollSet();
  void ShowClockLine();
  void AdvanceProgress(bool& inProgress);
  void EndPass();
  void NoteReadoutsCurrent();
  // The verdict of the last Write just decided: its failures are noted as well.
  void TellVerdict();

  Host& host_;
  PanelState state_;
  LinkHealth health_;
  TelemetryRecording recording_;
  LinkEngine link_;
  LogFollower log_;
  PanelCommands commands_;
  ConnectionManager connection_;
  PortChooser chooser_;
  ServiceCommands service_;
  SettingsFileCommands settingsFiles_;
  WriteVerification verification_;
  std::function<void()> readoutsCurrentChanged_;
  bool currentTold_ = false;
};
