#include "app/axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMultiples[] = {1, 2, 5};
constexpr int kLeastTicks = 3;

}  // namespace

AxisTicks RoundTicks(double low, double high, int mostTicks) {
  mostTicks = std::max(mostTicks, kLeastTicks);
  if (!(high > low)) {
    low -= 1;
    high += 1;
  }
  double decade = std::pow(10.0, std::floor(std::log10((high - low) / (mostTicks - 1))));
  // Each decade tries its three steps; within a few the step exceeds the range, whose
  // ends then lie at most one step either side of zero: three ticks.
  for (int decades = 0; decades < 20 && std::isfinite(decade); ++decades, decade *= 10) {
    for (double multiple : kMultiples) {
      const double step = decade * multiple;
      const double first = std::floor(low / step) * step;
      const double last = std::ceil(high / step) * step;
      const int count = static_cast<int>(std::lround((last - first) / step)) + 1;
      if (count <= mostTicks) return {first, last, count};
    }
  }
  return {low, high, 2};  // only for ranges beyond any double's decades
}
