#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/serial_port.h"

// Looks for the machine on serial devices, one at a time: each gets one status request
// (code 1) at 2400 8N2 after the usual break, and at most 300 ms to answer with twelve
// bytes carrying code 1 in byte 2; more than twelve, or bytes that keep coming, are not the
// machine. A device another process holds, or that this user may not open, is skipped with
// the reason. It never runs by itself: bytes go to unknown devices only when the operator
// asks. Driven by Step(), often (every 10 to 20 ms); a step never waits longer than the break
// or one step of the port's open (SerialPort::PrepareOpen).
class MachineFinder {
 public:
  using PortMaker = std::function<std::unique_ptr<SerialPort>()>;

  struct Skipped {
    std::string device;
    std::string reason;
  };

  MachineFinder(LinkClock& clock, PortMaker makePort);

  void Start(std::vector<std::string> devices);
  // Does what is due now; false once every device has been tried.
  bool Step();
  bool Running() const { return next_ < devices_.size() || port_ != nullptr; }

  // The device being tried; empty between devices and when done.
  const std::string& trying() const { return trying_; }
  const std::vector<std::string>& answered() const { return answered_; }
  const std::vector<Skipped>& skipped() const { return skipped_; }
  // Devices that took the request and gave no proper answer.
  const std::vector<std::string>& silent() const { return silent_; }

 private:
  void Probe();
  void Listen();
  void Finish(bool answered);

  LinkClock& clock_;
  PortMaker makePort_;
  std::vector<std::string> devices_;
  std::size_t next_ = 0;
  std::unique_ptr<SerialPort> port_;  // the device being opened or tried
  std::string opening_;
  std::string trying_;
  std::vector<uint8_t> reply_;
  int64_t deadline_ = 0;
  std::vector<std::string> answered_;
  std::vector<Skipped> skipped_;
  std::vector<std::string> silent_;
};
