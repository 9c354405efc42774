#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

// The device named for a port name ("COM3") in the profile's [Ports] section, if any.
using PortsLookup = std::function<std::optional<std::string>(std::string_view portName)>;

// The device a port number selects: the path named for "COMn" under [Ports] if there
// is one, otherwise /dev/ttyUSB<n-1> (COM1 is the first USB serial adapter). Numbers
// below 1 select no device (an empty path).
std::string DeviceForPort(int portNumber, const PortsLookup& ports);

// "COM" and the number in decimal, without leading zeros.
std::string PortName(int portNumber);
