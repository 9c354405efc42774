#include "replies/telemetry_history.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "replies/sample_gaps.h"

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

constexpr Interruptions kGetAll = BitOf(Interruption::kGetAll);
constexpr Interruptions kClosed = BitOf(Interruption::kClosed);
constexpr Interruptions kNoReplies = BitOf(Interruption::kNoReplies);

// Get All over 3000..8000 (a repeat changes nothing), no replies to 8500, passes again,
// closed from 12000 on.
PollInterruptions SomeInterruptions() {
  PollInterruptions record;
  record.Note(Interruption::kGetAll, 3000);
  record.Note(Interruption::kGetAll, 4000);
  record.Note(Interruption::kNoReplies, 8000);
  record.Note(std::nullopt, 8500);
  record.Note(Interruption::kClosed, 12000);
  return record;
}

TEST(PollInterruptions, KeepOneSpanPerChangeTheLatestWhenFull) {
  const PollInterruptions record = SomeInterruptions();
  ASSERT_EQ(record.size(), 3u);
  EXPECT_EQ(record.at(0).toMs, 8000);
  EXPECT_EQ(record.at(2).toMs, InterruptionSpan::kOngoing);
  EXPECT_EQ(record.current(), Interruption::kClosed);
  // Overlapping only: a span that ends where the interval begins is not in it.
  EXPECT_EQ(record.Within(0, 3000) | record.Within(8500, 12000), 0u);
  EXPECT_EQ(record.Within(2000, 8200), kGetAll | kNoReplies);
  EXPECT_EQ(record.Within(20000, 30000), kClosed);
  EXPECT_EQ(InterruptionNames(kNoReplies | kGetAll), "Get All, No replies");
  EXPECT_EQ(InterruptionNames(0), "No samples");

  PollInterruptions full;
  const int changes = 2 * PollInterruptions::kKept + 1;
  for (int n = 0; n < changes; ++n) full.Note(Interruption(n % 2), n);
  EXPECT_EQ(full.size(), PollInterruptions::kKept);
  EXPECT_EQ(full.at(0).fromMs, changes - static_cast<int>(PollInterruptions::kKept));
  EXPECT_EQ(full.Within(changes - 2, changes - 1), kClosed);
}

// Samples a second apart but for 2000 to 9000 and after 10000: a gap is a pause longer
// than 5040 ms, named by the interruptions over it.
TEST(SampleGaps, AreThePausesLongerThanThreePassesWithWhatTheyOverlap) {
  TelemetryRing ring;
  for (int64_t ms : {0, 1000, 2000, 9000, 10000}) ring.Add(Numbered(ms));
  const SampleGap getAll{2000, 9000, kGetAll | kNoReplies};
  const SampleGap closed{10000, 16000, kClosed};
  const struct {
    int64_t fromMs, toMs, nowMs;
    std::vector<SampleGap> gaps;
  } cases[] = {
      {0, 16000, 16000, {getAll, closed}},
      {5000, 6000, 16000, {getAll}},  // a gap across the whole span
      {0, 2000, 16000, {}},           // one that begins at its end
      {0, 16000, 15040, {getAll}},    // the newest sample three passes ago: no gap yet
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GapsWithin(ring, SomeInterruptions(), c.fromMs, c.toMs, c.nowMs, 5040), c.gaps);
  }
}

}  // namespace
