#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A process that keeps a serial device from us.
struct PortHolder {
  int pid = 0;
  std::string command;  // its program's name: "brltty", "ModemManager", "kelo-configuration"
};

// The processes other than this one that have a device open, found through their descriptors
// in /proc/*/fd, a few processes at a time: each step reads /proc until its time is up, so
// that the search among thousands of processes never holds a tick for long.
//
// A descriptor names the device by the node it was opened through (a by-id link is followed
// to /dev/ttyUSB0), and the node is confirmed by its device number. Processes of other users
// whose descriptors cannot be read are left out. A process that holds the controller side of
// a pseudo-terminal pair only plays the far end of that line (as the simulated machine does,
// which keeps the terminal side open too) and is not a holder. Holders are ordered by process
// id; there are none when the device is not a character device.
class PortHolderScan {
 public:
  // Starts over for `device`. With `grabbers`, the running programs known to take serial
  // adapters for themselves (brltty, ModemManager) are noted too: the likely culprit when an
  // open is refused and no holder can be seen.
  void Start(const std::string& device, bool grabbers);
  // Looks at further processes until `budgetMicros` have passed (one process at least);
  // true once every process has been seen.
  bool Step(int64_t budgetMicros);
  bool done() const { return listed_ && next_ >= pids_.size(); }

  const std::vector<PortHolder>& holders() const { return holders_; }
  const std::vector<PortHolder>& grabbers() const { return grabbers_; }

 private:
  void Examine(int pid);

  int self_ = 0;
  std::string node_;  // the device's own node, links followed; empty: nothing to find
  dev_t number_ = 0;
  bool pseudoTerminal_ = false;
  bool noteGrabbers_ = false;
  bool listed_ = false;
  std::vector<int> pids_;
  std::size_t next_ = 0;
  std::vector<PortHolder> holders_;
  std::vector<PortHolder> grabbers_;
};

// The whole search at once, for callers that may wait on it.
std::vector<PortHolder> FindPortHolders(const std::string& device);
std::vector<PortHolder> RunningPortGrabbers();
