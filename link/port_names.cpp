#include "link/port_names.h"

namespace {

constexpr const char* kUsbSerialPrefix = "/dev/ttyUSB";

}  // namespace

std::string PortName(int portNumber) {
  return "COM" + std::to_string(portNumber);
}

std::string DeviceForPort(int portNumber, const PortsLookup& ports) {
  if (portNumber < 1) return {};
  const std::optional<std::string> named = ports(PortName(portNumber));
  if (named && !named->empty()) return *named;
  return kUsbSerialPrefix + std::to_string(portNumber - 1);
}
