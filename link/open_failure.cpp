#include "link/open_failure.h"

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kDialoutGroup = "dialout";
constexpr unsigned kGroupReadWrite = 060;
constexpr const char* kDialoutHint =
    " — add yourself to the dialout group:\nsudo usermod -aG dialout $USER, then log in again";
// getpwuid_r and getgrgid_r take a buffer for the entry's texts.
constexpr std::size_t kEntryBufferSize = 4096;

std::string UserName(uid_t uid) {
  passwd entry{};
  passwd* found = nullptr;
  std::array<char, kEntryBufferSize> buffer{};
  if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->pw_name;
  }
  return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
  group entry{};
  group* found = nullptr;
  std::array<char, kEntryBufferSize> buffer{};
  if (getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found != nullptr) {
    return found->gr_name;
  }
  return std::to_string(gid);
}

// The dialout hint fits only a device that the dialout group may read and write.
std::string PermissionDenied(const std::string& device, const std::optional<DeviceAccess>& access) {
  std::string denied = "Permission denied: " + device;
  if (!access) return denied;
  if (access->group == kDialoutGroup && (access->mode & kGroupReadWrite) == kGroupReadWrite) {
    return denied + kDialoutHint;
  }
  char mode[8];
  std::snprintf(mode, sizeof mode, "%03o", access->mode & 0777U);
  return denied + " is " + access->owner + ":" + access->group + ", mode " + mode;
}

// How to make a known grabber let go of this device; empty for any other program.
std::string StopHint(const std::string& command) {
  if (command == "brltty") {
    return "brltty takes USB serial adapters for braille displays: sudo systemctl mask "
           "brltty-udev.service, then unplug and replug the adapter";
  }
  if (command == "ModemManager") {
    return "ModemManager probes new serial devices: sudo systemctl stop ModemManager, "
           "then connect again";
  }
  return {};
}

std::string Named(const std::vector<PortHolder>& holders) {
  std::string names;
  for (const PortHolder& holder : holders) {
    if (!names.empty()) names += ", ";
    names += holder.command + " (PID " + std::to_string(holder.pid) + ")";
  }
  return names;
}

std::string Hints(const std::vector<PortHolder>& holders) {
  std::string hints;
  for (const PortHolder& holder : holders) {
    const std::string hint = StopHint(holder.command);
    if (!hint.empty() && hints.find(hint) == std::string::npos) hints += "\n" + hint;
  }
  return hints;
}

}  // namespace

std::optional<DeviceAccess> AccessOf(const std::string& device) {
  struct stat status {};
  if (stat(device.c_str(), &status) != 0) return std::nullopt;
  return DeviceAccess{UserName(status.st_uid), GroupName(status.st_gid), status.st_mode & 0777U};
}

bool IsBusyError(int error) {
  return error == EBUSY || error == EAGAIN || error == EWOULDBLOCK;
}

Failure HeldBy(const std::string& device, const std::vector<PortHolder>& holders) {
  return {EBUSY, device + " is in use by " + Named(holders) + Hints(holders)};
}

Failure OpenFailure(const std::string& device, int error, const SeenAtDevice& seen) {
  if (!seen.holders.empty()) return HeldBy(device, seen.holders);
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return {error, "No such device: " + device};
    case EACCES:
      return {error, PermissionDenied(device, seen.access)};
    default:
      break;
  }
  if (!IsBusyError(error)) return {error, std::string(std::strerror(error)) + ": " + device};
  if (!seen.grabbers.empty()) {
    return {error, device + " is likely in use by " + Named(seen.grabbers) + Hints(seen.grabbers)};
  }
  return {error, "Busy: another program holds " + device};
}
