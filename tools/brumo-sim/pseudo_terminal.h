#pragma once

#include <string>

namespace sim {

// A pseudo-terminal pair. The machine talks on the controller side; the panel opens the
// terminal side by its path. We hold the terminal side open too, so the pair survives
// the panel closing and reopening it; that descriptor is never read.
class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;
  ~PseudoTerminal() { Close(); }

  // Opens the pair with the terminal side raw (no echo, no line editing, no character
  // translation), 2400 baud 8N2, and the controller side non-blocking. On failure gives
  // false and sets `error`.
  bool Open(std::string& error);
  // Closing the controller side hangs up the terminal side for whoever holds it.
  void Close();

  int ControllerFd() const { return controller_; }
  const std::string& TerminalPath() const { return terminalPath_; }

 private:
  int controller_ = -1;
  int terminal_ = -1;
  std::string terminalPath_;
};

// A symbolic link to the device, removed again on destruction if it still points there.
// An existing symbolic link at the path (left by an earlier run) is replaced; anything
// else there is left alone and the link fails.
class DeviceLink {
 public:
  DeviceLink() = default;
  DeviceLink(const DeviceLink&) = delete;
  DeviceLink& operator=(const DeviceLink&) = delete;
  ~DeviceLink() { Remove(); }

  bool Create(const std::string& path, const std::string& target, std::string& error);
  void Remove();

 private:
  std::string path_;
  std::string target_;
};

}  // namespace sim
