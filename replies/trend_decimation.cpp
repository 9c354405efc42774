#include "replies/trend_decimation.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "replies/telemetry_search.h"

namespace {

// The span cut into equal columns, by offset from its start: column c holds the offsets
// from Start(c) = ceil(c * span / columns) up to Start(c + 1), and the last column also
// the span's end itself. Offsets are unsigned, so any span of int64_t times fits. The
// arithmetic is exact in integers wherever span x columns fits in 64 bits (any span
// under some thousand years); beyond, long double comes close, and ColumnOf settles
// its rounding against Start, so that the two always agree.
class ColumnGrid {
 public:
  ColumnGrid(uint64_t spanMs, int columns)
      : spanMs_(spanMs),
        columns_(static_cast<uint64_t>(columns)),
        exact_(spanMs <= std::numeric_limits<uint64_t>::max() / columns_) {}

  bool IsLast(uint64_t column) const { return column == columns_ - 1; }

  uint64_t Start(uint64_t column) const {
    if (exact_) return (spanMs_ * column + columns_ - 1) / columns_;
    const auto span = static_cast<long double>(spanMs_);
    return static_cast<uint64_t>(std::min(std::ceil(span * column / columns_), span));
  }

  uint64_t ColumnOf(uint64_t offset) const {
    // A span of one moment is all last column.
    if (spanMs_ == 0) return columns_ - 1;
    if (exact_) return std::min(offset * columns_ / spanMs_, columns_ - 1);
    const long double guess = static_cast<long double>(offset) * columns_ / spanMs_;
    uint64_t column = std::min(static_cast<uint64_t>(guess), columns_ - 1);
    while (!IsLast(column) && offset >= Start(column + 1)) ++column;
    while (column > 0 && offset < Start(column)) --column;
    return column;
  }

 private:
  uint64_t spanMs_;
  uint64_t columns_;
  bool exact_;
};

// The column being filled: where it ends, and the lowest and the highest value met in it.
class OpenColumn {
 public:
  OpenColumn(const ColumnGrid& grid, uint64_t offset, const TrendPoint& point, std::size_t index,
             bool afterGap)
      : low_(point), high_(point), lowIndex_(index), highIndex_(index), afterGap_(afterGap) {
    const uint64_t column = grid.ColumnOf(offset);
    last_ = grid.IsLast(column);
    end_ = last_ ? 0 : grid.Start(column + 1);
  }

  bool Holds(uint64_t offset) const { return last_ || offset < end_; }

  void Take(const TrendPoint& point, std::size_t index) {
    if (point.value < low_.value) {
      low_ = point;
      lowIndex_ = index;
    }
    if (point.value > high_.value) {
      high_ = point;
      highIndex_ = index;
    }
  }

  void AppendTo(std::vector<TrendPoint>& points) const {
    const std::size_t first = points.size();
    if (lowIndex_ == highIndex_) {
      points.push_back(low_);
    } else if (lowIndex_ < highIndex_) {
      points.push_back(low_);
      points.push_back(high_);
    } else {
      points.push_back(high_);
      points.push_back(low_);
    }
    points[first].afterGap = afterGap_;
  }

 private:
  TrendPoint low_;
  TrendPoint high_;
  std::size_t lowIndex_;
  std::size_t highIndex_;
  bool afterGap_;
  bool last_;
  uint64_t end_;
};

}  // namespace

std::vector<TrendPoint> DecimateMinMax(const TelemetryRing& ring, SampleValue valueOf,
                                       int64_t fromMs, int64_t toMs, int columns,
                                       int64_t longestPauseMs) {
  std::vector<TrendPoint> points;
  if (columns <= 0 || toMs < fromMs || valueOf == nullptr) return points;
  const auto offsetOf = [fromMs](int64_t ms) {
    return static_cast<uint64_t>(ms) - static_cast<uint64_t>(fromMs);
  };
  const ColumnGrid grid(offsetOf(toMs), columns);
  const auto longestPause = static_cast<uint64_t>(std::max<int64_t>(0, longestPauseMs));

  std::optional<OpenColumn> column;
  uint64_t previous = 0;
  for (std::size_t index = FirstSampleAtOrAfter(ring, fromMs); index < ring.size(); ++index) {
    const TelemetrySample& sample = ring.at(index);
    if (sample.pcTimeMs > toMs) break;
    // Only a clock that stepped back puts an earlier sample here.
    if (sample.pcTimeMs < fromMs) continue;
    const TrendPoint point{sample.pcTimeMs, valueOf(sample)};
    const uint64_t offset = offsetOf(sample.pcTimeMs);
    const bool afterGap = column && offset > previous && offset - previous > longestPause;
    previous = offset;
    if (column && !afterGap && column->Holds(offset)) {
      column->Take(point, index);
      continue;
    }
    if (column) column->AppendTo(points);
    column.emplace(grid, offset, point, index, afterGap);
  }
  if (column) column->AppendTo(points);
  return points;
}
