#pragma once

#include <string>

#include "link/failure.h"

// An outcome as a test compares it: the failure's reason, or "succeeded".
inline std::string ReasonOf(const Outcome& outcome) {
  return outcome ? outcome->reason : "succeeded";
}
