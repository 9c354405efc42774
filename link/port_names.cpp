#include "link/port_names.h"

#include <optional>

#include "panel/profile.h"

namespace {

constexpr const char* kPortsSection = "Ports";
constexpr const char* kUsbSerialPrefix = "/dev/ttyUSB";

}  // namespace

std::string PortName(int portNumber) {
  return "COM" + std::to_string(portNumber);
}

std::string DeviceForPort(int portNumber, Profile& profile) {
  if (portNumber < 1) return {};
  const std::optional<std::string> named =
      profile.GetProfileString(kPortsSection, PortName(portNumber));
  if (named && !named->empty()) return *named;
  return kUsbSerialPrefix + std::to_string(portNumber - 1);
}
