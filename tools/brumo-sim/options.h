#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/brumo-sim/machine.h"
#include "tools/brumo-sim/reply_faults.h"

namespace sim {

// Everything the command line sets.
struct SimOptions {
  MachineSetup machine;
  ReplyFaults faults;
  std::optional<int64_t> hangupAfterMs;
  std::string linkPath;  // empty: no link
  bool verbose = false;
};

struct ParsedOptions {
  SimOptions options;
  bool help = false;
  bool version = false;
  std::string error;  // not empty when the command line is wrong
};

// The arguments after the program name. The machine's clock starts at hostTime unless
// --clock says otherwise.
ParsedOptions ParseOptions(const std::vector<std::string>& args, int64_t hostTime);

std::string UsageText();

}  // namespace sim
