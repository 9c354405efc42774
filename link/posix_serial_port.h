#pragma once

// PLACEHOLDER (branch app only): stands in for the termios port until it is merged;
// drop this header and app/posix_serial_port_placeholder.cpp at merge.

#include <string>

#include "link/serial_port.h"

class PosixSerialPort : public SerialPort {
 public:
  PosixSerialPort() = default;

  bool OpenPort(const std::string& device) override;
  bool ConfigurePort() override;
  bool ClosePort() override;
  bool PurgeTx() override;
  bool PurgeRx() override;
  bool WritePortByte(int32_t value) override;
  int ReadPortByte() override;
  bool SetBreak() override;
  bool ClearBreak() override;
  PortHandle Handle() const override { return handle_; }

 private:
  PortHandle handle_ = PortHandle::kNone;
};
