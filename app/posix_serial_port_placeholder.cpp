// PLACEHOLDER (branch app only): a port that never opens, so the panel runs and
// reports "Attempting Connection" until the real termios port is merged; drop this
// file and link/posix_serial_port.h at merge.

#include "link/posix_serial_port.h"

bool PosixSerialPort::OpenPort(const std::string& /*device*/) {
  handle_ = PortHandle::kBad;
  return false;
}

bool PosixSerialPort::ConfigurePort() {
  return false;
}

bool PosixSerialPort::ClosePort() {
  handle_ = PortHandle::kNone;
  return true;
}

bool PosixSerialPort::PurgeTx() {
  return false;
}
bool PosixSerialPort::PurgeRx() {
  return false;
}
bool PosixSerialPort::WritePortByte(int32_t /*value*/) {
  return false;
}
int PosixSerialPort::ReadPortByte() {
  return kNoByte;
}
bool PosixSerialPort::SetBreak() {
  return false;
}
bool PosixSerialPort::ClearBreak() {
  return false;
}
