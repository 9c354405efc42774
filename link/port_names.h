#pragma once

#include <string>

class Profile;

// The device a port number selects: the path named for "COMn" in the profile's
// [Ports] section if there is one, otherwise /dev/ttyUSB<n-1> (COM1 is the first USB
// serial adapter). Numbers below 1 select no device (an empty path).
std::string DeviceForPort(int portNumber, Profile& profile);

// "COM" and the number in decimal, without leading zeros.
std::string PortName(int portNumber);
