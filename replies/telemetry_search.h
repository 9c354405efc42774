#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "replies/telemetry_history.h"

// Finding samples of the ring by time. The ring receives its samples in time order, so
// these are binary searches on pcTimeMs; should the PC's clock ever have stepped back,
// they still return an index within the ring, only not necessarily the best one.

// The index of the first sample taken at or after `ms`; size() when there is none.
std::size_t FirstSampleAtOrAfter(const TelemetryRing& ring, int64_t ms);

// The index of the sample nearest in time to `ms` (the earlier one of two equally near);
// nothing for an empty ring.
std::optional<std::size_t> NearestSample(const TelemetryRing& ring, int64_t ms);
