#pragma once

#include <QRgb>
#include <span>

#include "replies/trend_decimation.h"

// What the Trends window plots: three charts stacked on one time axis, each with its
// value axis on the left and, where two kinds of quantity share a chart, a second one
// on the right.

// One quantity's line, named in the legend as the panel names its value.
struct TrendLine {
  const char* name;
  SampleValue valueOf;
  QRgb color;
};

// A value axis and the lines drawn against it. Quantities with known bounds keep them;
// the others fit the values in the span, and show `low` to `high` while there are none.
struct TrendAxis {
  const char* title;
  std::span<const TrendLine> lines;
  bool fixedRange;
  double low = 0;
  double high = 0;
  int fixedTicks = 0;                 // ticks across a fixed range, grid lines included
  const char* labelFormat = nullptr;  // printf style, as QValueAxis takes it
};

struct TrendChartDefinition {
  TrendAxis left;
  const TrendAxis* right = nullptr;  // null for a chart of one kind of quantity
};

// Top to bottom: temperatures, pressures, compressor PWM with the mains value.
std::span<const TrendChartDefinition> TrendCharts();
