#pragma once

#include <optional>
#include <string>

// Why an operation failed, kept for whoever tells the operator: the system's error
// number behind it, and the reason in words. Every operation of the core that can fail
// with a reason (the port, the files saved, the profile, the recording) gives an
// Outcome: nothing when it succeeded, its Failure when it did not.
struct Failure {
  int error = 0;       // errno, or the nearest one when the system gave none
  std::string reason;  // "No such file or directory", "It is a FIFO, not a regular file"
  bool operator==(const Failure&) const = default;
};

using Outcome = std::optional<Failure>;

// The failure of system error `error`, in the C library's words.
Failure SystemFailure(int error);
