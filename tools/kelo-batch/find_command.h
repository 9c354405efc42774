#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "link/serial_devices.h"
#include "panel/profile.h"

// The serial adapters a panel offers to choose from, one line each: "label\tstable name".
std::vector<std::string> PortListing(const std::vector<SerialDevice>& detected, Profile& profile);

// Find machine without a window: asks the adapters a panel would ask. Ends with what a shell
// needs next: the device the machine answered on (its stable name) alone on `out`, or, on
// `err`, why no device was found. Exit status 0 when exactly one answered, 1 otherwise.
int FindMachine(const std::vector<SerialDevice>& detected, Profile& profile, std::ostream& out,
                std::ostream& err);
