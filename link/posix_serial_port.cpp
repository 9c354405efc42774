#include "link/posix_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>

#include "link/open_failure.h"
#include "link/port_holders.h"
#include "link/termios_settings.h"

namespace {

// How long a byte write waits for room in a full output queue.
constexpr int64_t kWriteWaitMs = 1000;
// How long one step of the search for holders may take: a tick has this and little more.
constexpr int64_t kScanStepMicros = 8'000;
constexpr int64_t kWholeScanMicros = INT64_MAX / 4;

const Failure kNotOpen{EBADF, "The port is not open"};
const Failure kHungUp{EIO, "The device is gone"};

int64_t SteadyMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

// Gives up a descriptor: the exclusive flag if this open set it (the flag belongs to the
// device, not to the descriptor, and would keep its other users out), the lock, the
// descriptor itself. The close's result.
int Release(int fd, bool exclusive) {
  if (fd < 0) return 0;
  if (exclusive) ioctl(fd, TIOCNXCL);
  flock(fd, LOCK_UN);
  return close(fd);
}

// Whether another open has set the device's exclusive flag: root passes it, and would
// otherwise share the device, then clear the flag its holder relies on.
bool SetByAnother(int fd) {
  int exclusive = 0;
  return ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// Makes an open device this program's alone: 0, or the error why it cannot be.
int HoldExclusively(int fd) {
  if (isatty(fd) == 0) return ENOTTY;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) return errno;
  if (SetByAnother(fd)) return EBUSY;
  if (ioctl(fd, TIOCEXCL) != 0) return errno;
  return 0;
}

}  // namespace

PortError PortErrorFromErrno(int error) {
  switch (error) {
    case 0:
      return PortError::kNone;
    case ENOENT:
    case ENODEV:
    case ENXIO:
      return PortError::kNoDevice;
    case EACCES:
    case EPERM:
    case EROFS:
      return PortError::kAccessDenied;
    case EBUSY:
    case EAGAIN:  // also EWOULDBLOCK: the lock is held, or no room to write
      return PortError::kBusy;
    case ENOTTY:
    case EISDIR:
      return PortError::kNotATerminal;
    case EIO:
      return PortError::kLost;
    case EBADF:
      return PortError::kNotOpen;
    case EINVAL:
      return PortError::kBadSettings;
    default:
      return PortError::kOther;
  }
}

PosixSerialPort::~PosixSerialPort() {
  DropPendingOpen();
  CloseDescriptor();
}

bool PosixSerialPort::PrepareOpen(const std::string& device) {
  return Prepare(device, kScanStepMicros);
}

void PosixSerialPort::CancelOpen() {
  DropPendingOpen();
}

void PosixSerialPort::DropPendingOpen() {
  if (!pending_) return;
  Release(pending_->fd, pending_->exclusive);
  pending_.reset();
}

bool PosixSerialPort::OpenPort(const std::string& device) {
  // A handle still open would leak, and hold the lock against this very open.
  if (fd_ >= 0) ClosePort();
  handle_ = PortHandle::kBad;
  // Prepared ahead in steps, or all of it now.
  Prepare(device, kWholeScanMicros);
  return FinishOpen();
}

bool PosixSerialPort::Prepare(const std::string& device, int64_t budgetMicros) {
  if (fd_ >= 0) return true;  // open already: OpenPort starts over
  if (!pending_ || pending_->device != device) {
    DropPendingOpen();
    BeginOpen(device);
  }
  return pending_->scan.done() || pending_->scan.Step(budgetMicros);
}

// The device is held first, exclusively, so that nobody comes in while the search for those
// already there goes on.
void PosixSerialPort::BeginOpen(const std::string& device) {
  PendingOpen& pending = pending_.emplace();
  pending.device = device;
  pending.fd = open(device.c_str(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  pending.error = pending.fd < 0 ? errno : HoldExclusively(pending.fd);
  pending.exclusive = pending.error == 0;
  if (pending.error != 0) {
    Release(pending.fd, false);
    pending.fd = -1;
  }
  // Holders are looked for when the device is ours, and when another has it, to name them.
  const bool busy = IsBusyError(pending.error);
  pending.scan.Start(pending.fd >= 0 || busy ? device : std::string(), busy);
}

bool PosixSerialPort::FinishOpen() {
  const PendingOpen pending = std::move(*pending_);
  pending_.reset();
  const std::string& device = pending.device;
  const std::vector<PortHolder>& holders = pending.scan.holders();
  if (pending.fd >= 0 && holders.empty()) {
    fd_ = pending.fd;
    handle_ = PortHandle::kOpen;
    return Succeed();
  }
  if (pending.fd >= 0) {
    // The exclusive open keeps out those who come later, not those already there.
    Release(pending.fd, pending.exclusive);
    return Fail(HeldBy(device, holders));
  }
  if (pending.error == ENOTTY) return Fail({ENOTTY, device + " is not a serial device"});
  SeenAtDevice seen{holders, pending.scan.grabbers(), std::nullopt};
  if (pending.error == EACCES) seen.access = AccessOf(device);
  return Fail(OpenFailure(device, pending.error, seen));
}

bool PosixSerialPort::ConfigurePort() {
  if (fd_ < 0) return Fail(kNotOpen);
  termios settings{};
  if (tcgetattr(fd_, &settings) != 0) return Fail();
  ApplyLineSettings(settings);
  if (tcsetattr(fd_, TCSANOW, &settings) != 0) return Fail();
  // tcsetattr reports success when any part of the change was taken.
  termios applied{};
  if (tcgetattr(fd_, &applied) != 0) return Fail();
  if (!HasLineSettings(applied)) return Fail({EINVAL, "The driver did not take the line settings"});
  return Succeed();
}

bool PosixSerialPort::ClosePort() {
  DropPendingOpen();
  if (fd_ < 0) {
    handle_ = PortHandle::kNone;
    return Fail(kNotOpen);
  }
  return CloseDescriptor() ? Succeed() : Fail();
}

bool PosixSerialPort::CloseDescriptor() {
  if (fd_ < 0) return true;
  const int closed = Release(fd_, true);
  fd_ = -1;
  handle_ = PortHandle::kNone;
  return closed == 0;
}

bool PosixSerialPort::PurgeTx() {
  if (fd_ < 0) return Fail(kNotOpen);
  // The lost-port probe: a flush alone may still succeed on a hung-up device.
  if (HungUp()) return Fail(kHungUp);
  return Flush(TCOFLUSH);
}

bool PosixSerialPort::PurgeRx() {
  if (fd_ < 0) return Fail(kNotOpen);
  return Flush(TCIFLUSH);
}

bool PosixSerialPort::WritePortByte(int32_t value) {
  if (fd_ < 0) return Fail(kNotOpen);
  const auto byte = static_cast<unsigned char>(value & 0xFF);
  // A full output queue is waited out, for a while, rather than losing the rest of the
  // frame: the write holds the thread until the driver takes the byte.
  const int64_t deadline = SteadyMs() + kWriteWaitMs;
  for (;;) {
    const ssize_t written = write(fd_, &byte, 1);
    if (written == 1) return Succeed();
    if (written < 0 && errno == EINTR) continue;
    if (written < 0 && errno != EAGAIN) return Fail();
    if (written == 0) return Fail(SystemFailure(EIO));
    const int64_t left = deadline - SteadyMs();
    if (left <= 0) return Fail({EAGAIN, "The output stayed full for a second"});
    pollfd watched{fd_, POLLOUT, 0};
    const int ready = poll(&watched, 1, static_cast<int>(left));
    if (ready < 0 && errno != EINTR) return Fail();
    if (ready > 0 && (watched.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      return Fail(kHungUp);
    }
  }
}

int PosixSerialPort::ReadPortByte() {
  if (fd_ < 0) return kNoByte;
  unsigned char byte = 0;
  ssize_t got = 0;
  do {
    got = read(fd_, &byte, 1);
  } while (got < 0 && errno == EINTR);
  // Nothing there, a hung-up device and an error all read as no byte; the transmit
  // purge tells a lost port from a silent one.
  return got == 1 ? byte : kNoByte;
}

bool PosixSerialPort::SetBreak() {
  return Control(TIOCSBRK);
}

bool PosixSerialPort::ClearBreak() {
  return Control(TIOCCBRK);
}

bool PosixSerialPort::Fail() {
  return Fail(SystemFailure(errno));
}

bool PosixSerialPort::Fail(const Failure& failure) {
  lastFailure_ = failure;
  return false;
}

bool PosixSerialPort::Succeed() {
  lastFailure_.reset();
  return true;
}

bool PosixSerialPort::HungUp() const {
  pollfd watched{fd_, 0, 0};
  if (poll(&watched, 1, 0) <= 0) return false;
  return (watched.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

bool PosixSerialPort::Flush(int queue) {
  if (tcflush(fd_, queue) != 0) return Fail();
  return Succeed();
}

bool PosixSerialPort::Control(unsigned long request) {
  if (fd_ < 0) return Fail(kNotOpen);
  if (ioctl(fd_, request) != 0) return Fail();
  return Succeed();
}
