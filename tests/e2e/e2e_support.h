#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One line of kelo-batch's trace: "T kind rest".
struct TraceLine {
  long tick;
  std::string kind;
  std::string rest;
};

// A run of kelo-batch against a fresh brumo-sim started with the given options, with a
// private profile whose COM1 is the simulator's terminal.
struct BatchRun {
  std::vector<TraceLine> lines;
  std::string simDevice;
  int exitStatus = -1;

  // Rest of every line of this kind, in order.
  std::vector<std::string> All(const std::string& kind) const;
  // Command codes of the requests written, in order.
  std::vector<int> SentCodes() const;
  // The last text traced for a control, or "" when none was.
  std::string LastText(int id) const;
  bool HasLine(const std::string& kind, const std::string& rest) const;
};

BatchRun RunAgainstSimulator(const std::vector<std::string>& simOptions, const std::string& script);
// A run of kelo-batch with COM1 naming `device`; when the test runs as root and
// `unprivileged` is set, as the user "nobody" (through setpriv).
BatchRun RunBatchOn(const std::string& device, const std::string& script,
                    bool unprivileged = false);

// The event lines and detail lines added to the event list, in order.
std::vector<std::string> ListAdditions(const BatchRun& run);
