#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "replies/poll_interruptions.h"
#include "replies/telemetry_history.h"

// Where the telemetry has no samples: a stretch longer than `longestPauseMs` after a
// sample before the next came, or before now when none has come since. A plot must not
// draw a line across one, as if the machine had been read there.

struct SampleGap {
  int64_t fromMs;        // the sample before it
  int64_t toMs;          // the sample after it, or now
  Interruptions causes;  // what the panel knows of why; none when it does not
  bool operator==(const SampleGap&) const = default;
};

// The gap after the sample at `index`, if there is one.
std::optional<SampleGap> GapAfter(const TelemetryRing& ring, const PollInterruptions& interruptions,
                                  std::size_t index, int64_t nowMs, int64_t longestPauseMs);

// The gaps that overlap the open interval (fromMs, toMs), oldest first, each whole.
std::vector<SampleGap> GapsWithin(const TelemetryRing& ring, const PollInterruptions& interruptions,
                                  int64_t fromMs, int64_t toMs, int64_t nowMs,
                                  int64_t longestPauseMs);
