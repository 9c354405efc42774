#pragma once

#include <optional>
#include <string>

#include "link/port_holders.h"
#include "link/serial_port.h"

// What kind of failure a system error number means for a serial port.
enum class PortError {
  kNone,
  kNoDevice,      // no such device (or the adapter is gone)
  kAccessDenied,  // no permission (a normal user needs the dialout group)
  kBusy,          // held by another open (here or in another program), or a
                  // non-waiting write found the output buffer full
  kNotATerminal,  // the path exists but is not a serial device
  kLost,          // the far end hung up: adapter unplugged, pseudo-terminal closed
  kNotOpen,       // no open handle
  kBadSettings,   // the driver did not take the line settings
  kOther,
};

// The one place where an errno value becomes a PortError.
PortError PortErrorFromErrno(int error);

// An open under way: the device held, or why it could not be, while the search for
// processes that already hold it goes on.
struct PendingOpen {
  std::string device;
  int fd = -1;             // held, and locked
  bool exclusive = false;  // this open set the kernel's exclusive flag
  int error = 0;           // why the device could not be held
  PortHolderScan scan;
};

// The serial port on a POSIX terminal device (USB adapter or pseudo-terminal). Every
// operation returns at once. The open is exclusive: TIOCEXCL keeps out other opens
// by normal users, and an advisory flock keeps out any other open of the device
// that takes the lock, root's and this program's own included. A device that another
// process already holds is refused: the device is held exclusively first, then /proc is
// searched for processes that had it before, in short steps (PrepareOpen) so that no tick
// waits long. A failed open says why in words the engineer can act on (LastFailure).
class PosixSerialPort : public SerialPort {
 public:
  PosixSerialPort() = default;
  ~PosixSerialPort() override;
  PosixSerialPort(const PosixSerialPort&) = delete;
  PosixSerialPort& operator=(const PosixSerialPort&) = delete;

  bool PrepareOpen(const std::string& device) override;
  void CancelOpen() override;
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

  Outcome LastFailure() const override { return lastFailure_; }
  // The kind of the last failure, kNone after a success.
  PortError LastError() const {
    return lastFailure_ ? PortErrorFromErrno(lastFailure_->error) : PortError::kNone;
  }
  // The open descriptor, or -1; for waiting on it from outside (poll).
  int Descriptor() const { return fd_; }

 private:
  // Records the failure from errno and returns false.
  bool Fail();
  bool Fail(const Failure& failure);
  bool Succeed();
  bool HungUp() const;
  // Gives up the exclusive hold and closes; true when the close succeeded.
  bool CloseDescriptor();
  void BeginOpen(const std::string& device);
  void DropPendingOpen();
  bool Prepare(const std::string& device, int64_t budgetMicros);
  bool FinishOpen();
  bool Flush(int queue);
  bool Control(unsigned long request);

  int fd_ = -1;
  std::optional<PendingOpen> pending_;
  PortHandle handle_ = PortHandle::kNone;
  Outcome lastFailure_;
};
