#include "replies/telemetry_history.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

TelemetrySample Numbered(int64_t number) {
  TelemetrySample sample;
  sample.pcTimeMs = number;
  return sample;
}

std::vector<int64_t> NumbersHeld(const TelemetryRing& ring) {
  std::vector<int64_t> numbers;
  for (std::size_t i = 0; i < ring.size(); ++i) numbers.push_back(ring.at(i).pcTimeMs);
  return numbers;
}

struct RingCase {
  std::size_t capacity;
  int added;
  std::vector<int64_t> held;  // oldest first
};

TEST(TelemetryRing, KeepsTheNewestSamplesOldestFirst) {
  const RingCase cases[] = {
      {3, 0, {}},        {3, 1, {1}}, {3, 3, {1, 2, 3}}, {3, 4, {2, 3, 4}},
      {3, 7, {5, 6, 7}}, {1, 2, {2}}, {0, 2, {2}},  // a ring of no places still keeps the newest
                                                    // sample
  };
  for (const RingCase& c : cases) {
    TelemetryRing ring(c.capacity);
    for (int n = 1; n <= c.added; ++n) ring.Add(Numbered(n));
    EXPECT_EQ(NumbersHeld(ring), c.held) << c.capacity << " " << c.added;
    EXPECT_EQ(ring.added(), static_cast<uint64_t>(c.added));
    EXPECT_EQ(ring.empty(), c.held.empty());
    if (!c.held.empty()) {
      EXPECT_EQ(ring.newest().pcTimeMs, c.held.back());
    }
    EXPECT_THROW(ring.at(ring.size()), std::out_of_range);
  }
}

TEST(TelemetryRing, ClearEmptiesButKeepsCountOfSamplesAdded) {
  TelemetryRing ring(3);
  for (int n = 1; n <= 4; ++n) ring.Add(Numbered(n));
  ring.Clear();
  EXPECT_TRUE(ring.empty());
  EXPECT_EQ(ring.added(), 4u);
  EXPECT_EQ(ring.capacity(), 3u);
  ring.Add(Numbered(5));
  EXPECT_EQ(NumbersHeld(ring), std::vector<int64_t>{5});
}

}  // namespace
