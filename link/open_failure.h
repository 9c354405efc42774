#pragma once

#include <string>
#include <vector>

#include "link/failure.h"
#include "link/port_holders.h"

// Why a serial device could not be opened, said so that the engineer knows what to do:
//   "No such device: /dev/ttyUSB0"
//   "Permission denied: /dev/ttyUSB0 — add yourself to the dialout group: ..."
//   "/dev/ttyUSB0 is in use by brltty (PID 812)", with a hint for brltty and ModemManager
//   "Busy: another program holds /dev/ttyUSB0"

// The open of `device` failed with system error `error`. `holders` are the processes
// seen holding the device; `grabbers` the programs running that are known to take
// adapters, named as the likely holder when an open was refused and no holder is seen.
Failure OpenFailure(const std::string& device, int error, const std::vector<PortHolder>& holders,
                    const std::vector<PortHolder>& grabbers);

// An open refused because someone else has the device (the kernel's exclusive flag, or
// our lock held): the case in which the holders are worth looking for.
bool IsBusyError(int error);

// The device opened, but these processes hold it too: the line would carry their
// traffic as well as ours, so the open is refused.
Failure HeldBy(const std::string& device, const std::vector<PortHolder>& holders);
