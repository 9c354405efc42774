#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/failure.h"
#include "link/port_holders.h"

// Why a serial device could not be opened, said so that the engineer knows what to do. The
// first line says what is wrong; a command to run comes on a line of its own, so that a view
// that shows one line never shows half a command:
//   "No such device: /dev/ttyUSB0"
//   "Permission denied: /dev/ttyUSB0 — add yourself to the dialout group:\nsudo usermod ..."
//   "Permission denied: /dev/ttyUSB0 is root:root, mode 000"
//   "/dev/ttyUSB0 is in use by brltty (PID 812)", with a hint for brltty and ModemManager
//   "Busy: another program holds /dev/ttyUSB0"

// Who may open a device.
struct DeviceAccess {
  std::string owner;  // the user's name, or the number when it has none
  std::string group;  // the same for the group
  unsigned mode = 0;  // the permission bits (0777 at most)
};

// The owner, group and mode of `device`; nothing when it cannot be looked at.
std::optional<DeviceAccess> AccessOf(const std::string& device);

// What was seen of a device whose open failed.
struct SeenAtDevice {
  std::vector<PortHolder> holders;  // the processes seen holding it
  // The programs running that are known to take adapters, named as the likely holder when
  // an open was refused and no holder is seen.
  std::vector<PortHolder> grabbers;
  std::optional<DeviceAccess> access;
};

// The open of `device` failed with system error `error`.
Failure OpenFailure(const std::string& device, int error, const SeenAtDevice& seen);

// An open refused because someone else has the device (the kernel's exclusive flag, or
// our lock held): the case in which the holders are worth looking for.
bool IsBusyError(int error);

// The device opened, but these processes hold it too: the line would carry their
// traffic as well as ours, so the open is refused.
Failure HeldBy(const std::string& device, const std::vector<PortHolder>& holders);
