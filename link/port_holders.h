#pragma once

#include <string>
#include <vector>

// A process that keeps a serial device from us.
struct PortHolder {
  int pid = 0;
  std::string command;  // its name as /proc/PID/comm gives it: "brltty", "ModemManager", "minicom"
};

// Processes other than this one that have `device` open, found through their descriptors in
// /proc/*/fd and compared by device number, so a by-id link finds what holds /dev/ttyUSB0.
// Only descriptors on files under /dev/ are looked at. Processes of other users whose
// descriptors cannot be read are left out. A process that holds the controller side of a
// pseudo-terminal pair only plays the far end of that line (as the simulated machine does,
// which keeps the terminal side open too) and is not a holder. Ordered by process id; empty
// when `device` is not a character device.
std::vector<PortHolder> FindPortHolders(const std::string& device);

// Running programs known to take serial adapters for themselves (brltty, ModemManager), found
// by name in /proc/*/comm, which every user may read: the likely culprit when an open fails
// and no holder can be seen.
std::vector<PortHolder> RunningPortGrabbers();
