// The connection manager: the Connect/Close button arms an attempt, and the connect
// tick tries to open and configure the port once a second for up to 18 ticks.

#include <cstdio>

#include "link/command_codes.h"
#include "link/port_names.h"
#include "link/serial_port.h"
#include "panel/panel_dialog.h"
#include "panel/profile.h"

namespace {

constexpr int32_t kConnectTicks = 18;
constexpr int32_t kFallbackPort = 2;
constexpr int32_t kFirstPort = 1;
constexpr int32_t kLastPort = 30;
constexpr const char* kProfileSection = "Kelo Config";
constexpr const char* kProfileKey = "Comm Port";
constexpr int kDefaultPort = 1;

}  // namespace

void CKeloConfigurationDlg::OnConnectClicked() {
  if (portOpen) {
    if (host_.ShowMessage("Confirm \n Close Port", MessageButtons::kOkCancel) !=
        MessageAnswer::kOk) {
      return;
    }
    portOpen = false;
    port_.ClosePort();
    controls_.SetText(ids::kStatusLine, "STATUS: Link is stopped");
    controls_.SetText(ids::kConnectButton, "Connect");
    controls_.SetProgress(ids::kCalProgress, 0);
    connectPending = false;
    return;
  }
  if (connectPending) {
    connectPending = false;
    controls_.SetText(ids::kStatusLine, "STATUS: Link is stopped");
    return;
  }
  connectPending = true;
  msgStack.Clear();
  firstLogReply = true;
  nextLogPointer = logPointer = readPointer = 0;
  machineSettings.reset();
  machineCalibration.reset();
  for (int i = 0; i < 8; ++i) msgStack.Push(cmd::kReadLogPointer);
  for (int code : {cmd::kReadFirmware, cmd::kReadCalibration, cmd::kReadNameSecondHalf,
                   cmd::kReadNameFirstHalf, cmd::kReadSettings, cmd::kReadServiceDate}) {
    msgStack.Push(code);
  }
  if (controls_.IsChecked(ids::kRefCalCheck)) {
    for (int i = 0; i < 5; ++i) msgStack.Push(cmd::kReferenceCalibration);
  }
  for (int i = 0; i < 4; ++i) msgStack.Push(cmd::kReadStatus);
  controls_.SetProgress(ids::kCalProgress, 0);
  connectSecondsLeft = kConnectTicks;
}

void CKeloConfigurationDlg::ConnectStep() {
  if (connectSecondsLeft == 0) return;
  if (!connectPending) {
    connectSecondsLeft = 0;
    return;
  }
  if (!port_.OpenPort(SelectedDevice())) {
    char status[80];
    std::snprintf(status, sizeof status, "%s ,%ds remaining", "STATUS: Attempting Connection",
                  connectSecondsLeft);
    controls_.SetText(ids::kStatusLine, status);
    portOpen = false;
  } else if (!port_.ConfigurePort()) {
    portOpen = false;
    // Closed so that the next try can open the device again (the open is exclusive).
    port_.ClosePort();
    controls_.SetText(ids::kConnectButton, "Connect");
    controls_.SetText(ids::kStatusLine, "STATUS: Port Config Failed");
  } else {
    portOpen = true;
    controls_.SetText(ids::kStatusLine, "STATUS: Port Open");
    controls_.SetText(ids::kConnectButton, "Close");
    connectPending = false;
  }
  if (--connectSecondsLeft == 0 && connectPending) {
    controls_.SetText(ids::kStatusLine, "STATUS: Port Open timed out");
    connectPending = false;
  }
}

void CKeloConfigurationDlg::OnPortNumberChanged() {
  ReadPanel();
  if (commPort > kLastPort || commPort < kFirstPort) {
    commPort = kFallbackPort;
    ShowPanel();
  }
}

void CKeloConfigurationDlg::LoadPortNumber() {
  commPort = host_.profile().GetProfileInt(kProfileSection, kProfileKey, kDefaultPort);
}

void CKeloConfigurationDlg::SavePortNumber() {
  // At exit there is no window left to tell the operator in.
  if (auto error = host_.profile().WriteProfileInt(kProfileSection, kProfileKey, commPort)) {
    host_.Note("The port number " + std::to_string(commPort) + " could not be saved: " + *error);
  }
}

std::string CKeloConfigurationDlg::SelectedDevice() {
  return DeviceForPort(commPort, host_.profile());
}
