#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/serial_port.h"

// An in-memory serial port. Tests script its failures, feed received bytes and read
// what was written; a responder can play the machine and answer each full frame.
class FakeSerialPort : public SerialPort {
 public:
  using Frame = std::vector<uint8_t>;
  // Gets each complete 12-byte request; returns the bytes that arrive in reply.
  using Responder = std::function<std::vector<uint8_t>(const Frame& request)>;

  bool PrepareOpen(const std::string& device) override;
  void CancelOpen() override { ++cancels; }
  bool OpenPort(const std::string& device) override;
  bool ConfigurePort() override;
  bool ClosePort() override;
  bool PurgeTx() override;
  bool PurgeRx() override;
  bool WritePortByte(int32_t value) override;
  int ReadPortByte() override;
  bool SetBreak() override;
  bool ClearBreak() override;
  PortHandle Handle() const override { return handle; }
  Outcome LastFailure() const override {
    return handle == PortHandle::kBad ? openFailure : Outcome();
  }

  // Bytes waiting in the driver's input buffer.
  void Receive(const std::vector<uint8_t>& bytes);
  // The requests written so far, split into 12-byte frames (a cut frame comes last).
  std::vector<Frame> SentFrames() const;

  // Scripted behaviour.
  int stepsToPrepare = 0;  // PrepareOpen calls that find the open not ready yet
  bool openSucceeds = true;
  Outcome openFailure;  // what LastFailure says after a failed open
  bool configureSucceeds = true;
  bool purgeTxSucceeds = true;   // false plays a lost port
  int writesBeforeFailure = -1;  // -1: writes never fail
  Responder responder;
  // Runs as the break goes on (at the end of that call) and off (at its start).
  std::function<void(bool on)> onBreakChange;

  // What happened, in order: "open DEVICE", "configure", "close", "purge-tx",
  // "purge-rx", "break-on", "break-off", "write HH".
  std::vector<std::string> calls;
  std::vector<uint8_t> written;
  std::deque<uint8_t> input;
  PortHandle handle = PortHandle::kNone;
  int opens = 0;
  int closes = 0;
  int cancels = 0;
  bool breakOn = false;

 private:
  Frame pending_;
};
