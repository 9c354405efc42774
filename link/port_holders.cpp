#include "link/port_holders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

namespace {

constexpr std::string_view kProc = "/proc";
constexpr std::string_view kPseudoTerminalFolder = "/dev/pts/";
constexpr std::array<std::string_view, 2> kControllerNodes = {"/dev/ptmx", "/dev/pts/ptmx"};
constexpr std::string_view kTtyIndexField = "tty-index:";
constexpr std::string_view kDeletedSuffix = " (deleted)";
// /dev/ptmx (and /dev/pts/ptmx): every descriptor on it is the controller of one pair.
constexpr unsigned kPtmxMajor = 5;
constexpr unsigned kPtmxMinor = 2;
// The kernel keeps a process's name to 15 characters; a name that long may be cut.
constexpr std::size_t kCommLength = 15;
constexpr std::array<std::string_view, 2> kPortGrabbers = {"brltty", "ModemManager"};

struct DirectoryCloser {
  void operator()(DIR* directory) const { closedir(directory); }
};
using Directory = std::unique_ptr<DIR, DirectoryCloser>;

int64_t NowMicros() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

std::optional<int> NumberNamed(const char* name) {
  const char* end = name + std::strlen(name);
  int number = -1;
  const auto [last, error] = std::from_chars(name, end, number);
  if (error != std::errc() || last != end || number < 0) return std::nullopt;
  return number;
}

// The process ids in /proc, in order.
std::vector<int> ProcessIds() {
  std::vector<int> pids;
  const Directory directory(opendir(std::string(kProc).c_str()));
  if (!directory) return pids;
  while (const dirent* entry = readdir(directory.get())) {
    if (const auto pid = NumberNamed(entry->d_name)) pids.push_back(*pid);
  }
  std::sort(pids.begin(), pids.end());
  return pids;
}

std::string ProcessFolder(int pid) {
  return std::string(kProc) + "/" + std::to_string(pid);
}

std::string FirstLine(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

std::string_view LastPart(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// The process's name in full, or empty when it has ended. The kernel's own record of it
// (comm) is cut at 15 characters, so a name that long is completed from the program the
// process runs: its command line's first word, or its executable.
std::string ProgramName(int pid) {
  const std::string folder = ProcessFolder(pid);
  std::string comm = FirstLine(folder + "/comm");
  if (comm.size() < kCommLength) return comm;
  std::ifstream cmdline(folder + "/cmdline");
  std::string argument0;
  std::getline(cmdline, argument0, '\0');
  char target[PATH_MAX];
  const ssize_t length = readlink((folder + "/exe").c_str(), target, sizeof target);
  std::string_view executable(target, length > 0 ? static_cast<std::size_t>(length) : 0);
  if (executable.ends_with(kDeletedSuffix)) executable.remove_suffix(kDeletedSuffix.size());
  for (const std::string_view candidate : {LastPart(argument0), LastPart(executable)}) {
    if (candidate.size() > comm.size() && candidate.starts_with(comm))
      return std::string(candidate);
  }
  return comm;
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

bool IsCharacterDevice(int folder, const char* name, dev_t& number) {
  struct stat status {};
  if (fstatat(folder, name, &status, 0) != 0 || !S_ISCHR(status.st_mode)) return false;
  number = status.st_rdev;
  return true;
}

bool IsPortGrabber(std::string_view command) {
  return std::find(kPortGrabbers.begin(), kPortGrabbers.end(), command) != kPortGrabbers.end();
}

}  // namespace

void PortHolderScan::Start(const std::string& device, bool grabbers) {
  *this = {};
  self_ = getpid();
  noteGrabbers_ = grabbers;
  struct stat status {};
  char node[PATH_MAX];
  if (stat(device.c_str(), &status) == 0 && S_ISCHR(status.st_mode) &&
      realpath(device.c_str(), node) != nullptr) {
    node_ = node;
    number_ = status.st_rdev;
    pseudoTerminal_ = node_.starts_with(kPseudoTerminalFolder);
  }
  // Nothing to look for: the verdict is in.
  listed_ = node_.empty() && !noteGrabbers_;
}

bool PortHolderScan::Step(int64_t budgetMicros) {
  const int64_t deadline = NowMicros() + budgetMicros;
  if (!listed_) {
    pids_ = ProcessIds();
    listed_ = true;
  }
  while (next_ < pids_.size()) {
    Examine(pids_[next_++]);
    if (NowMicros() >= deadline) break;
  }
  return done();
}

// Only the descriptors whose link names the device's node, or a pseudo-terminal controller,
// are looked at further: everything else a process has open is passed over by its name.
void PortHolderScan::Examine(int pid) {
  const std::string folder = ProcessFolder(pid);
  if (noteGrabbers_) {
    const std::string comm = FirstLine(folder + "/comm");
    if (IsPortGrabber(comm)) grabbers_.push_back({pid, comm});
  }
  if (node_.empty() || pid == self_) return;
  const Directory descriptors(opendir((folder + "/fd").c_str()));
  if (!descriptors) return;
  const int at = dirfd(descriptors.get());
  bool holds = false;
  bool farEnd = false;
  while (const dirent* entry = readdir(descriptors.get())) {
    if (entry->d_name[0] == '.') continue;
    char target[PATH_MAX];
    const ssize_t length = readlinkat(at, entry->d_name, target, sizeof target);
    if (length <= 0) continue;
    const std::string_view named(target, static_cast<std::size_t>(length));
    dev_t number = 0;
    if (named == node_) {
      holds = holds || (IsCharacterDevice(at, entry->d_name, number) && number == number_);
    } else if (pseudoTerminal_ && std::find(kControllerNodes.begin(), kControllerNodes.end(),
                                            named) != kControllerNodes.end()) {
      farEnd = farEnd || (IsCharacterDevice(at, entry->d_name, number) && IsPtmx(number) &&
                          ControlsTerminal(folder + "/fdinfo/" + entry->d_name, number_));
    }
  }
  if (!holds || farEnd) return;
  // A process that ended since its descriptors were read holds nothing any more.
  std::string command = ProgramName(pid);
  if (!command.empty()) holders_.push_back({pid, std::move(command)});
}

std::vector<PortHolder> FindPortHolders(const std::string& device) {
  PortHolderScan scan;
  scan.Start(device, false);
  while (!scan.Step(INT64_MAX / 2)) {
  }
  return scan.holders();
}

std::vector<PortHolder> RunningPortGrabbers() {
  PortHolderScan scan;
  scan.Start({}, true);
  while (!scan.Step(INT64_MAX / 2)) {
  }
  return scan.grabbers();
}
