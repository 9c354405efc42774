#include "link/port_holders.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <fstream>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view kProc = "/proc";
constexpr std::string_view kDeviceFolder = "/dev/";
constexpr std::string_view kPseudoTerminalFolder = "/dev/pts/";
constexpr std::string_view kTtyIndexField = "tty-index:";
// /dev/ptmx (and /dev/pts/ptmx): every descriptor on it is the controller of one pair.
constexpr unsigned kPtmxMajor = 5;
constexpr unsigned kPtmxMinor = 2;
constexpr std::array<std::string_view, 2> kPortGrabbers = {"brltty", "ModemManager"};

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};

// The entries of a /proc folder named by a number: process ids, or descriptors of one process.
// Empty when the folder cannot be read (another user's process, or one that just ended).
std::vector<int> NumberedEntries(const std::string& folder) {
  std::vector<int> numbers;
  const std::unique_ptr<DIR, DirectoryCloser> directory(opendir(folder.c_str()));
  if (!directory) return numbers;
  while (const dirent* entry = readdir(directory.get())) {
    const char* end = entry->d_name + std::strlen(entry->d_name);
    int number = -1;
    const auto [last, error] = std::from_chars(entry->d_name, end, number);
    if (error == std::errc() && last == end && number >= 0) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  return numbers;
}

std::string ProcessFolder(int pid) {
  return std::string(kProc) + "/" + std::to_string(pid);
}

// The process's name, or empty when it has ended.
std::string CommandOf(int pid) {
  std::ifstream file(ProcessFolder(pid) + "/comm");
  std::string command;
  std::getline(file, command);
  return command;
}

// The device number a descriptor has open, when it is a character device under /dev/. The
// link's text is checked first so that sockets, pipes and files on slow mounts are not stat'ed.
bool DeviceOpenAt(const std::string& descriptorLink, dev_t& device) {
  char target[256];
  const ssize_t length = readlink(descriptorLink.c_str(), target, sizeof target);
  if (length <= 0 ||
      std::string_view(target, static_cast<std::size_t>(length)).substr(0, kDeviceFolder.size()) !=
          kDeviceFolder) {
    return false;
  }
  struct stat status {};
  if (stat(descriptorLink.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) return false;
  device = status.st_rdev;
  return true;
}

bool IsPtmx(dev_t device) {
  return major(device) == kPtmxMajor && minor(device) == kPtmxMinor;
}

// Whether the controller descriptor described by `fdinfo` serves the pseudo-terminal `device`:
// its "tty-index: N" names /dev/pts/N.
bool ControlsTerminal(const std::string& fdinfo, dev_t device) {
  std::ifstream file(fdinfo);
  std::string line;
  while (std::getline(file, line)) {
    if (line.compare(0, kTtyIndexField.size(), kTtyIndexField) != 0) continue;
    const std::size_t index = line.find_first_not_of(" \t", kTtyIndexField.size());
    if (index == std::string::npos) return false;
    struct stat status {};
    const std::string terminal = std::string(kPseudoTerminalFolder) + line.substr(index);
    return stat(terminal.c_str(), &status) == 0 && status.st_rdev == device;
  }
  return false;
}

// How one process has the device open: directly, and as the far end of its pseudo-terminal.
struct Hold {
  bool device = false;
  bool farEnd = false;
};

Hold HoldOf(int pid, dev_t device) {
  Hold hold;
  const std::string folder = ProcessFolder(pid);
  for (const int descriptor : NumberedEntries(folder + "/fd")) {
    const std::string number = std::to_string(descriptor);
    dev_t opened = 0;
    if (!DeviceOpenAt(folder + "/fd/" + number, opened)) continue;
    if (opened == device) {
      hold.device = true;
    } else if (IsPtmx(opened) && ControlsTerminal(folder + "/fdinfo/" + number, device)) {
      hold.farEnd = true;
    }
  }
  return hold;
}

bool IsPortGrabber(const std::string& command) {
  return std::find(kPortGrabbers.begin(), kPortGrabbers.end(), command) != kPortGrabbers.end();
}

}  // namespace

std::vector<PortHolder> FindPortHolders(const std::string& device) {
  std::vector<PortHolder> holders;
  struct stat status {};
  if (stat(device.c_str(), &status) != 0 || !S_ISCHR(status.st_mode)) return holders;
  const int self = getpid();
  for (const int pid : NumberedEntries(std::string(kProc))) {
    if (pid == self) continue;
    const Hold hold = HoldOf(pid, status.st_rdev);
    if (!hold.device || hold.farEnd) continue;
    // A process that ended since its descriptors were read holds nothing any more.
    std::string command = CommandOf(pid);
    if (!command.empty()) holders.push_back({pid, std::move(command)});
  }
  return holders;
}

std::vector<PortHolder> RunningPortGrabbers() {
  std::vector<PortHolder> grabbers;
  for (const int pid : NumberedEntries(std::string(kProc))) {
    std::string command = CommandOf(pid);
    if (IsPortGrabber(command)) grabbers.push_back({pid, std::move(command)});
  }
  return grabbers;
}
