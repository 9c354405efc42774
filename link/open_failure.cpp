#include "link/open_failure.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr const char* kDialoutHint =
    " — add yourself to the dialout group: sudo usermod -aG dialout $USER, then log in again";

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

bool IsBusyError(int error) {
  return error == EBUSY || error == EAGAIN || error == EWOULDBLOCK;
}

Failure HeldBy(const std::string& device, const std::vector<PortHolder>& holders) {
  return {EBUSY, device + " is in use by " + Named(holders) + Hints(holders)};
}

Failure OpenFailure(const std::string& device, int error, const std::vector<PortHolder>& holders,
                    const std::vector<PortHolder>& grabbers) {
  if (!holders.empty()) return HeldBy(device, holders);
  switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
    case ENOTDIR:
      return {error, "No such device: " + device};
    case EACCES:
      return {error, "Permission denied: " + device + kDialoutHint};
    default:
      break;
  }
  if (!IsBusyError(error)) return {error, std::string(std::strerror(error)) + ": " + device};
  if (!grabbers.empty()) {
    return {error, device + " is likely in use by " + Named(grabbers) + Hints(grabbers)};
  }
  return {error, "Busy: another program holds " + device};
}
