#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "replies/telemetry_history.h"

// Reducing a quantity's samples to what a plot of a given width can show, so that a
// day of samples costs a few thousand points per repaint rather than fifty thousand.

// One point of a trend: the time of a sample (pcTimeMs) and one of its values.
struct TrendPoint {
  int64_t ms = 0;
  double value = 0;
  bool afterGap = false;  // the first point after a gap in the samples: no line leads to it
  bool operator==(const TrendPoint&) const = default;
};

// One of the sample's values in the panel's units (EiOf, PwmOf, ...).
using SampleValue = double (*)(const TelemetrySample&);

// The samples taken in [fromMs, toMs] (both ends included) for a plot `columns` pixels
// wide. The span is cut into `columns` equal columns of time; each column that holds
// samples gives its lowest and its highest value in the order they were taken, or one
// point when a single sample is both (ties go to the earliest sample). A column without
// samples gives nothing. A sample taken more than `longestPauseMs` after the one before
// it ends a gap: the column is cut there, each side reduced on its own, and the first
// point after it marked afterGap. Nothing at all for columns <= 0, toMs < fromMs, a null
// valueOf or no samples in the span.
std::vector<TrendPoint> DecimateMinMax(
    const TelemetryRing& ring, SampleValue valueOf, int64_t fromMs, int64_t toMs, int columns,
    int64_t longestPauseMs = std::numeric_limits<int64_t>::max());
