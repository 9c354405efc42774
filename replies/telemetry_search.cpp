#include "replies/telemetry_search.h"

std::size_t FirstSampleAtOrAfter(const TelemetryRing& ring, int64_t ms) {
  std::size_t low = 0;
  std::size_t high = ring.size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (ring.at(middle).pcTimeMs < ms) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

std::optional<std::size_t> NearestSample(const TelemetryRing& ring, int64_t ms) {
  if (ring.empty()) return std::nullopt;
  const std::size_t later = FirstSampleAtOrAfter(ring, ms);
  if (later == 0) return later;
  if (later == ring.size()) return later - 1;
  // The search leaves the earlier sample before `ms` and the later one at or after it;
  // the distances are taken unsigned so that no pair of times can overflow them.
  const uint64_t sinceEarlier =
      static_cast<uint64_t>(ms) - static_cast<uint64_t>(ring.at(later - 1).pcTimeMs);
  const uint64_t untilLater =
      static_cast<uint64_t>(ring.at(later).pcTimeMs) - static_cast<uint64_t>(ms);
  return untilLater < sinceEarlier ? later : later - 1;
}
