// The connection manager: the Connect/Close button arms an attempt, and the connect
// tick tries to open and configure the port once a second for up to 18 ticks.

#include "panel/connection.h"

#include <cstdio>

#include "link/command_codes.h"
#include "link/link_engine.h"
#include "link/link_health.h"
#include "link/port_names.h"
#include "panel/exchange.h"
#include "panel/host.h"
#include "panel/profile.h"
#include "replies/log_follower.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

constexpr int32_t kConnectTicks = 18;
constexpr int32_t kFallbackPort = 2;
constexpr int32_t kFirstPort = 1;
constexpr int32_t kLastPort = 30;
constexpr const char* kProfileSection = "Kelo Config";
constexpr const char* kProfileKey = "Comm Port";
constexpr const char* kPortsSection = "Ports";
constexpr int kDefaultPort = 1;

}  // namespace

ConnectionManager::ConnectionManager(PanelState& panel, LinkEngine& link, LogFollower& log,
                                     LinkHealth& health, Host& host)
    : panel_(panel), link_(link), log_(log), health_(health), host_(host) {}

void ConnectionManager::OnConnectClicked() {
  ControlModel& controls = panel_.controls;
  if (link_.IsOpen()) {
    if (host_.ShowMessage("Confirm \n Close Port", MessageButtons::kOkCancel) !=
        MessageAnswer::kOk) {
      return;
    }
    link_.Close();
    health_.Closed();
    controls.SetText(ids::kStatusLine, "STATUS: Link is stopped");
    controls.SetText(ids::kConnectButton, "Connect");
    controls.SetProgress(ids::kCalProgress, 0);
    connectPending_ = false;
    return;
  }
  if (connectPending_) {
    connectPending_ = false;
    controls.SetText(ids::kStatusLine, "STATUS: Link is stopped");
    return;
  }
  connectPending_ = true;
  link_.ClearQueue();
  // A reply awaited since a Close just before would take the lost-port path on its read
  // tick and empty the connect set queued now.
  if (link_.DropAwaitedReply()) health_.ReplyDropped();
  log_.Restart();
  health_.Restart();
  panel_.machine.machineSettings.reset();
  panel_.machine.machineCalibration.reset();
  panel_.machine.readSinceConnect = {};
  QueueConnectSet();
  controls.SetProgress(ids::kCalProgress, 0);
  connectSecondsLeft_ = kConnectTicks;
}

void ConnectionManager::QueueConnectSet() {
  for (int i = 0; i < 8; ++i) link_.Queue(cmd::kReadLogPointer);
  for (int code : {cmd::kReadFirmware, cmd::kReadCalibration, cmd::kReadNameSecondHalf,
                   cmd::kReadNameFirstHalf, cmd::kReadSettings, cmd::kReadServiceDate}) {
    link_.Queue(code);
  }
  if (panel_.controls.IsChecked(ids::kRefCalCheck)) {
    for (int i = 0; i < 5; ++i) link_.Queue(cmd::kReferenceCalibration);
  }
  for (int i = 0; i < 4; ++i) link_.Queue(cmd::kReadStatus);
}

void ConnectionManager::ConnectStep() {
  if (connectSecondsLeft_ == 0) return;
  if (!connectPending_) {
    connectSecondsLeft_ = 0;
    link_.CancelOpen();
    return;
  }
  const std::string device = SelectedDevice();
  // The open waits for its preparation (the search for the device's holders); so does the
  // countdown.
  if (!link_.PrepareOpen(device)) return;
  ControlModel& controls = panel_.controls;
  const LinkEngine::OpenResult opened = link_.Open(device);
  switch (opened) {
    case LinkEngine::OpenResult::kOpenFailed: {
      char status[80];
      std::snprintf(status, sizeof status, "%s ,%ds remaining", "STATUS: Attempting Connection",
                    connectSecondsLeft_);
      controls.SetText(ids::kStatusLine, status);
      break;
    }
    case LinkEngine::OpenResult::kConfigureFailed:
      controls.SetText(ids::kConnectButton, "Connect");
      controls.SetText(ids::kStatusLine, "STATUS: Port Config Failed");
      break;
    case LinkEngine::OpenResult::kOpened:
      health_.Opened(host_.CurrentTimeMs());
      controls.SetText(ids::kStatusLine, "STATUS: Port Open");
      controls.SetText(ids::kConnectButton, "Close");
      connectPending_ = false;
      break;
  }
  // The countdown goes on, so an adapter plugged in meanwhile still connects; the reason
  // is there at once.
  const Outcome& failure = link_.openFailure();
  if (opened == LinkEngine::OpenResult::kOpened) {
    TellPortLine("");
  } else if (failure) {
    TellPortLine(failure->reason);
  }
  if (--connectSecondsLeft_ == 0 && connectPending_) {
    controls.SetText(ids::kStatusLine, "STATUS: Port Open timed out");
    connectPending_ = false;
  }
}

void ConnectionManager::PrepareOpen() {
  if (connectPending_ && connectSecondsLeft_ > 0) link_.PrepareOpen(SelectedDevice());
}

void ConnectionManager::TellPortLine(const std::string& reason) {
  if (reason == portLine_) return;
  portLine_ = reason;
  host_.ShowPortLine(reason, PortLineTone::kProblem);
}

void ConnectionManager::OnPortNumberChanged() {
  ReadPanel(panel_, host_);
  int32_t& port = panel_.values.commPort;
  if (port > kLastPort || port < kFirstPort) {
    port = kFallbackPort;
    ShowPanel(panel_);
  }
}

void ConnectionManager::StopAttempt() {
  connectPending_ = false;
  connectSecondsLeft_ = 0;
  link_.CancelOpen();
}

void ConnectionManager::LoadPortNumber() {
  panel_.values.commPort =
      host_.profile().GetProfileInt(kProfileSection, kProfileKey, kDefaultPort);
}

void ConnectionManager::SavePortNumber() {
  const int32_t port = panel_.values.commPort;
  // At exit there is no window left to tell the operator in.
  if (auto failure = host_.profile().WriteProfileInt(kProfileSection, kProfileKey, port)) {
    host_.Note("The port number " + std::to_string(port) +
               " could not be saved: " + failure->reason);
  }
}

std::string ConnectionManager::SelectedDevice() const {
  return DeviceForPort(panel_.values.commPort, [this](std::string_view portName) {
    return host_.profile().GetProfileString(kPortsSection, portName);
  });
}
