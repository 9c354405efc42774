#include "replies/trend_decimation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace {

// A sample's time and its Ei reading, raw (quarter degrees): Ei's value is raw / 4.
struct Taken {
  int64_t ms;
  int16_t ei;
};

struct DecimationCase {
  const char* name;
  std::size_t capacity;
  std::vector<Taken> samples;
  int64_t fromMs;
  int64_t toMs;
  int columns;
  std::vector<TrendPoint> expected;
  int64_t longestPauseMs = std::numeric_limits<int64_t>::max();
};

void PrintTo(const DecimationCase& c, std::ostream* os) {
  *os << c.name;
}

TelemetryRing RingOf(std::size_t capacity, const std::vector<Taken>& samples) {
  TelemetryRing ring(capacity);
  for (const Taken& taken : samples) {
    TelemetrySample sample;
    sample.pcTimeMs = taken.ms;
    sample.ei = taken.ei;
    ring.Add(sample);
  }
  return ring;
}

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

const DecimationCase kCases[] = {
    {"LowestAndHighestOfEachColumnInTheOrderTaken",
     16,
     {{0, 4}, {10, 8}, {20, 0}, {30, 12}, {40, 4}, {60, 20}, {70, -4}, {80, 8}},
     0,
     99,
     2,
     {{20, 0.0}, {30, 3.0}, {60, 5.0}, {70, -1.0}}},
    {"OneSamplePerColumnGivesItOnce",
     16,
     {{0, 1}, {100, 2}, {200, 3}, {300, 4}},
     0,
     399,
     4,
     {{0, 0.25}, {100, 0.5}, {200, 0.75}, {300, 1.0}}},
    {"FlatColumnGivesItsFirstSampleOnce", 16, {{5, 8}, {6, 8}, {7, 8}}, 0, 99, 1, {{5, 2.0}}},
    {"EmptyColumnsGiveNothing",
     16,
     {{0, 4}, {10, 8}, {350, 12}},
     0,
     399,
     4,
     {{0, 1.0}, {10, 2.0}, {350, 3.0}}},
    {"SamplesOutsideTheSpanLeftOutBothEndsIncluded",
     16,
     {{99, 40}, {100, 4}, {150, 8}, {200, 12}, {201, -40}},
     100,
     200,
     2,
     {{100, 1.0}, {150, 2.0}, {200, 3.0}}},
    // Columns of 1000 ms / 3 start at 0, 334 and 667.
    {"ColumnsCutExactlyWhereTheirTimeBegins",
     16,
     {{0, 4}, {333, 8}, {334, 12}, {666, 16}, {667, 20}},
     0,
     1000,
     3,
     {{0, 1.0}, {333, 2.0}, {334, 3.0}, {666, 4.0}, {667, 5.0}}},
    {"SpanShorterThanItsColumns",
     16,
     {{0, 4}, {1, 8}, {2, 12}},
     0,
     2,
     100,
     {{0, 1.0}, {1, 2.0}, {2, 3.0}}},
    {"SpanOfOneMoment", 16, {{4, 4}, {5, 8}, {5, 12}, {6, 16}}, 5, 5, 10, {{5, 2.0}, {5, 3.0}}},
    {"RingThatWrappedGivesOnlyWhatItHolds",
     4,
     {{0, 4}, {100, 8}, {200, 12}, {300, 16}, {400, 20}, {500, 24}},
     0,
     599,
     6,
     {{200, 3.0}, {300, 4.0}, {400, 5.0}, {500, 6.0}}},
    // The halves of the whole int64_t line meet at time 0.
    {"WidestSpanDoesNotOverflow",
     16,
     {{-5, 4}, {0, 8}, {7, 12}},
     kMin,
     kMax,
     2,
     {{-5, 1.0}, {0, 2.0}, {7, 3.0}}},
    // 10 to 40 is a gap: each side of it is reduced apart, and no line leads to 40.
    {"GapCutsItsColumnAndMarksThePointAfterIt",
     16,
     {{0, 4}, {10, 8}, {40, 0}, {50, 12}},
     0,
     99,
     1,
     {{0, 1.0}, {10, 2.0}, {40, 0.0, true}, {50, 3.0}},
     20},
    {"NoColumns", 16, {{0, 4}}, 0, 99, 0, {}},
    {"NegativeColumns", 16, {{0, 4}}, 0, 99, -1, {}},
    {"EndBeforeStart", 16, {{0, 4}}, 99, 0, 10, {}},
    {"EmptyRing", 16, {}, 0, 99, 10, {}},
    {"NoSampleInTheSpan", 16, {{0, 4}, {500, 8}}, 100, 400, 10, {}},
};

class DecimateMinMaxTest : public ::testing::TestWithParam<DecimationCase> {};

TEST_P(DecimateMinMaxTest, GivesTheExpectedPoints) {
  const DecimationCase& c = GetParam();
  const TelemetryRing ring = RingOf(c.capacity, c.samples);
  const std::vector<TrendPoint> points =
      DecimateMinMax(ring, EiOf, c.fromMs, c.toMs, c.columns, c.longestPauseMs);
  ASSERT_EQ(points.size(), c.expected.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].ms, c.expected[i].ms) << "point " << i;
    EXPECT_EQ(points[i].value, c.expected[i].value) << "point " << i;
    EXPECT_EQ(points[i].afterGap, c.expected[i].afterGap) << "point " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DecimateMinMaxTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Each conversion's value comes through to the point as the panel shows it, to the last
// bit: raw readings whose values the panel's texts pin down.
TEST(DecimateMinMaxValues, AreThoseOfThePanelsConversions) {
  TelemetrySample sample;
  sample.pcTimeMs = 1000;
  sample.ei = -1;
  sample.eo = 100;
  sample.ci = 127;
  sample.co = -32768;
  sample.pwm = 128;
  sample.pLow = 0;
  sample.pHigh = 0x2E1;
  TelemetryRing ring(4);
  ring.Add(sample);
  const struct {
    SampleValue valueOf;
    double value;
  } rows[] = {
      {EiOf, -0.25},    {EoOf, 25.0},           {CiOf, 31.75},
      {CoOf, -8192.0},  {PwmOf, PwmOf(sample)}, {PLowOf, PLowOf(sample)},
      {PHighOf, 500.0},
  };
  for (const auto& row : rows) {
    const std::vector<TrendPoint> points = DecimateMinMax(ring, row.valueOf, 0, 2000, 10);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0], (TrendPoint{1000, row.value}));
  }
  // The panel shows these two as "PWM = +50.20%" and "P_LOW = -18.78 PSI".
  EXPECT_NEAR(PwmOf(sample), 50.196, 0.001);
  EXPECT_NEAR(PLowOf(sample), -18.778, 0.001);
}

// A day of samples in a plot 600 pixels wide costs at most 1,200 points, and the
// extremes of the day survive the reduction.
TEST(DecimateMinMaxBound, FullRingGivesAtMostTwoPointsPerColumn) {
  TelemetryRing ring;
  for (std::size_t i = 0; i < ring.capacity(); ++i) {
    TelemetrySample sample;
    sample.pcTimeMs = static_cast<int64_t>(i) * 1680;
    sample.ei = static_cast<int16_t>((i * 7919) % 401 - 200);
    ring.Add(sample);
  }
  const std::vector<TrendPoint> points = DecimateMinMax(ring, EiOf, 0, ring.newest().pcTimeMs, 600);
  EXPECT_LE(points.size(), 1200u);
  EXPECT_GE(points.size(), 600u);
  double low = 0;
  double high = 0;
  for (const TrendPoint& point : points) {
    low = std::min(low, point.value);
    high = std::max(high, point.value);
  }
  EXPECT_EQ(low, -50.0);
  EXPECT_EQ(high, 50.0);
  for (std::size_t i = 1; i < points.size(); ++i) EXPECT_LT(points[i - 1].ms, points[i].ms);
}

}  // namespace
