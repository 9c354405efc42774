#include "link/port_names.h"

#include <optional>

#include "panel/profile.h"

std::string PortName(int portNumber) { return "COM" + std::to_string(portNumber); }

std::string DeviceForPort(int portNumber, Profile& profile) {
  const std::optional<std::string> named = profile.GetProfileString("Ports", PortName(portNumber));
  if (named && !named->empty()) return *named;
  if (portNumber < 1) return {};
  return "/dev/ttyUSB" + std::to_string(portNumber - 1);
}
