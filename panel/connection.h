#pragma once

#include <cstdint>
#include <string>

class Host;
class LinkEngine;
class LinkHealth;
class LogFollower;
struct PanelState;

// Turns the Connect/Close button and the port number into an open, configured port or
// a closed one. The button only arms an attempt; the connect tick then tries to open
// the port once a second for up to 18 ticks.
class ConnectionManager {
 public:
  ConnectionManager(PanelState& panel, LinkEngine& link, LogFollower& log, LinkHealth& health,
                    Host& host);

  void OnConnectClicked();  // button 1026, "Connect" or "Close"
  void ConnectStep();       // the connect tick
  // Between connect ticks: the armed attempt's open is prepared a step at a time, so that
  // the connect tick finds it ready.
  void PrepareOpen();
  void OnPortNumberChanged();  // text of edit 1024 changed by the operator
  // The window ends: the attempt is given up, and what it held ready let go.
  void StopAttempt();

  // The port number in the profile: read at window creation, written at its end.
  void LoadPortNumber();
  void SavePortNumber();
  // The device the current port number selects.
  std::string SelectedDevice() const;

  bool connectPending() const { return connectPending_; }
  int32_t connectSecondsLeft() const { return connectSecondsLeft_; }

 private:
  void QueueConnectSet();
  // Shows why the port cannot be opened, when that changes.
  void TellPortLine(const std::string& reason);

  PanelState& panel_;
  LinkEngine& link_;
  LogFollower& log_;
  LinkHealth& health_;
  Host& host_;
  bool connectPending_ = false;
  int32_t connectSecondsLeft_ = 0;
  std::string portLine_;
};
