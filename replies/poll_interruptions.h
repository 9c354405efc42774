#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// Why the poll passes, and with them the telemetry samples, stopped coming, as far as the
// panel knows: the spans of PC time in which the link did something else or could not
// poll, so that a gap between samples can be named rather than bridged.

enum class Interruption {
  kGetAll,     // Get All's chain of log requests runs in place of the passes
  kClosed,     // the port is not open: the operator closed it, or never opened it
  kPortLost,   // the port went away
  kNoReplies,  // the port is open, but three requests in a row brought no complete reply
};

// A set of interruptions, one bit each.
using Interruptions = unsigned;
constexpr Interruptions BitOf(Interruption why) {
  return 1U << static_cast<unsigned>(why);
}

// "Get All", "Closed", "Port lost", "No replies", joined by ", " in that order; "No
// samples" for none, where the panel does not know why.
std::string InterruptionNames(Interruptions causes);

struct InterruptionSpan {
  static constexpr int64_t kOngoing = std::numeric_limits<int64_t>::max();

  Interruption why;
  int64_t fromMs;  // PC time, ms since 1970
  int64_t toMs;    // kOngoing while it lasts
};

// The latest spans, oldest first, in storage taken once: when full, a new span replaces
// the oldest, so a flaky link costs no more than a steady one.
class PollInterruptions {
 public:
  static constexpr std::size_t kKept = 1024;

  PollInterruptions();

  // Why the passes are not coming now, or nothing while they come; noted at every tick,
  // so each call that changes nothing must cost nothing.
  void Note(std::optional<Interruption> why, int64_t nowMs);
  std::optional<Interruption> current() const;

  std::size_t size() const { return spans_.size(); }
  // 0 is the oldest span kept.
  const InterruptionSpan& at(std::size_t index) const;
  // The interruptions of the spans that overlap the open interval (fromMs, toMs).
  Interruptions Within(int64_t fromMs, int64_t toMs) const;

 private:
  std::size_t NewestSlot() const { return (first_ + size() - 1) % size(); }

  std::vector<InterruptionSpan> spans_;
  std::size_t first_ = 0;  // the oldest span's slot once full
};
