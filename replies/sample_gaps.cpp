#include "replies/sample_gaps.h"

#include "replies/telemetry_search.h"

std::optional<SampleGap> GapAfter(const TelemetryRing& ring, const PollInterruptions& interruptions,
                                  std::size_t index, int64_t nowMs, int64_t longestPauseMs) {
  const int64_t fromMs = ring.at(index).pcTimeMs;
  const int64_t toMs = index + 1 < ring.size() ? ring.at(index + 1).pcTimeMs : nowMs;
  // Unsigned, so that no pair of times overflows; a clock that stepped back is no gap.
  if (toMs <= fromMs) return std::nullopt;
  const uint64_t pauseMs = static_cast<uint64_t>(toMs) - static_cast<uint64_t>(fromMs);
  if (longestPauseMs >= 0 && pauseMs <= static_cast<uint64_t>(longestPauseMs)) return std::nullopt;
  return SampleGap{fromMs, toMs, interruptions.Within(fromMs, toMs)};
}

std::vector<SampleGap> GapsWithin(const TelemetryRing& ring, const PollInterruptions& interruptions,
                                  int64_t fromMs, int64_t toMs, int64_t nowMs,
                                  int64_t longestPauseMs) {
  std::vector<SampleGap> gaps;
  // A gap across fromMs starts at the sample before it.
  std::size_t index = FirstSampleAtOrAfter(ring, fromMs);
  if (index > 0) --index;
  for (; index < ring.size() && ring.at(index).pcTimeMs < toMs; ++index) {
    if (auto gap = GapAfter(ring, interruptions, index, nowMs, longestPauseMs)) {
      if (gap->toMs > fromMs) gaps.push_back(*gap);
    }
  }
  return gaps;
}
