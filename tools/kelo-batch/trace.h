#pragma once

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "link/serial_port.h"
#include "state/control_model.h"

class CKeloConfigurationDlg;

// The trace: one line per event, each beginning with the current link tick number.
// Bytes on the line are gathered and printed as one line per request or reply, before
// whatever happens next.
class Trace : public ControlObserver {
 public:
  explicit Trace(std::ostream& out) : out_(out) {}
  // Starts tracing the panel: subscribes to its controls and watches its bound values.
  void Attach(CKeloConfigurationDlg& panel);

  void SetTick(long tick) { tick_ = tick; }
  long tick() const { return tick_; }

  void Line(const std::string& text);
  void Written(uint8_t byte);
  void Read(int byte);
  // Prints gathered bytes and any bound value that changed since the last look.
  void Flush();

  void TextChanged(int id, const std::string& text) override;
  void CheckChanged(int id, int check) override;
  void SelectionChanged(int id, int index) override;
  void ProgressChanged(int id, int position) override;
  void LineAdded(int id, const std::string& line) override;
  void ListCleared(int id) override;

  // The whole panel state: every control and bound value.
  void Dump();

 private:
  void FlushBytes();
  void FlushValues();
  void Emit(const std::string& text);

  std::ostream& out_;
  const CKeloConfigurationDlg* panel_ = nullptr;
  long tick_ = 0;
  std::vector<uint8_t> written_;
  std::vector<uint8_t> read_;
  bool reading_ = false;
  std::array<int32_t, 5> values_{};
};

// Passes every operation to the real port and tells the trace of the bytes.
class TracingPort : public SerialPort {
 public:
  TracingPort(SerialPort& port, Trace& trace) : port_(port), trace_(trace) {}

  // Preparing an open is not traced: the open it prepares is.
  bool PrepareOpen(const std::string& device) override { return port_.PrepareOpen(device); }
  void CancelOpen() override { port_.CancelOpen(); }
  bool OpenPort(const std::string& device) override;
  bool ConfigurePort() override;
  bool ClosePort() override;
  bool PurgeTx() override;
  bool PurgeRx() override;
  bool WritePortByte(int32_t value) override;
  int ReadPortByte() override;
  bool SetBreak() override;
  bool ClearBreak() override;
  PortHandle Handle() const override { return port_.Handle(); }
  Outcome LastFailure() const override { return port_.LastFailure(); }

 private:
  SerialPort& port_;
  Trace& trace_;
};
