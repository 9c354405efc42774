#include "tools/brumo-sim/pseudo_terminal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace sim {
namespace {

std::string SystemError(const std::string& what) {
  return what + ": " + std::strerror(errno);
}

// Raw 8-bit both ways, so no byte of a frame is echoed, translated or taken as a signal.
bool MakeRaw(int fd) {
  termios settings{};
  if (tcgetattr(fd, &settings) != 0) return false;
  cfmakeraw(&settings);
  settings.c_cflag |= CSTOPB | CLOCAL | CREAD;
  settings.c_cc[VMIN] = 0;
  settings.c_cc[VTIME] = 0;
  cfsetispeed(&settings, B2400);
  cfsetospeed(&settings, B2400);
  return tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

bool PseudoTerminal::Open(std::string& error) {
  controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (controller_ < 0) {
    error = SystemError("posix_openpt");
    return false;
  }
  if (grantpt(controller_) != 0 || unlockpt(controller_) != 0) {
    error = SystemError("grantpt/unlockpt");
    Close();
    return false;
  }
  char name[128];
  if (ptsname_r(controller_, name, sizeof name) != 0) {
    error = SystemError("ptsname");
    Close();
    return false;
  }
  terminalPath_ = name;
  terminal_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (terminal_ < 0 || !MakeRaw(terminal_)) {
    error = SystemError("terminal side " + terminalPath_);
    Close();
    return false;
  }
  const int flags = fcntl(controller_, F_GETFL);
  if (flags < 0 || fcntl(controller_, F_SETFL, flags | O_NONBLOCK) != 0) {
    error = SystemError("fcntl");
    Close();
    return false;
  }
  return true;
}

void PseudoTerminal::Close() {
  if (terminal_ >= 0) close(terminal_);
  if (controller_ >= 0) close(controller_);
  terminal_ = controller_ = -1;
}

bool DeviceLink::Create(const std::string& path, const std::string& target, std::string& error) {
  struct stat existing {};
  if (lstat(path.c_str(), &existing) == 0) {
    if (!S_ISLNK(existing.st_mode)) {
      error = path + " exists and is not a symbolic link";
      return false;
    }
    unlink(path.c_str());
  }
  if (symlink(target.c_str(), path.c_str()) != 0) {
    error = SystemError("symlink " + path);
    return false;
  }
  path_ = path;
  target_ = target;
  return true;
}

void DeviceLink::Remove() {
  if (path_.empty()) return;
  // Only our own link: a later run may have put its own there meanwhile.
  std::vector<char> buffer(target_.size() + 2);
  const ssize_t length = readlink(path_.c_str(), buffer.data(), buffer.size());
  if (length >= 0 && std::string(buffer.data(), static_cast<std::size_t>(length)) == target_)
    unlink(path_.c_str());
  path_.clear();
}

}  // namespace sim
