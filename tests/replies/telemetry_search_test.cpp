#include "replies/telemetry_search.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

TelemetryRing RingAt(std::initializer_list<int64_t> times) {
  TelemetryRing ring(8);
  for (int64_t ms : times) {
    TelemetrySample sample;
    sample.pcTimeMs = ms;
    ring.Add(sample);
  }
  return ring;
}

TEST(NearestSample, IsTheSampleClosestInTimeTheEarlierOnATie) {
  const TelemetryRing ring = RingAt({100, 200, 300});
  const struct {
    int64_t ms;
    std::size_t nearest;
  } rows[] = {
      {std::numeric_limits<int64_t>::min(), 0},
      {50, 0},
      {100, 0},
      {149, 0},
      {150, 0},
      {151, 1},
      {200, 1},
      {299, 2},
      {300, 2},
      {std::numeric_limits<int64_t>::max(), 2},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(NearestSample(ring, row.ms), std::optional<std::size_t>(row.nearest)) << row.ms;
  }
}

TEST(NearestSample, CountsFromTheOldestSampleOfAWrappedRing) {
  TelemetryRing ring(3);
  for (int64_t ms : {10, 20, 30, 40, 50}) {
    TelemetrySample sample;
    sample.pcTimeMs = ms;
    ring.Add(sample);
  }
  EXPECT_EQ(NearestSample(ring, 0), std::optional<std::size_t>(0));
  EXPECT_EQ(ring.at(*NearestSample(ring, 41)).pcTimeMs, 40);
  EXPECT_EQ(FirstSampleAtOrAfter(ring, 31), 1u);
  EXPECT_EQ(FirstSampleAtOrAfter(ring, 51), 3u);
}

TEST(NearestSample, NoneInAnEmptyRing) {
  EXPECT_EQ(NearestSample(RingAt({}), 0), std::nullopt);
  EXPECT_EQ(FirstSampleAtOrAfter(RingAt({}), 0), 0u);
}

}  // namespace
