#pragma once

#include <QRgb>
#include <span>

#include "replies/trend_decimation.h"

// What the Trends window plots: three charts stacked on one time axis, each with its
// value axis on the left and, where two quantities of different scale share a chart, a
// second one on the right.

// One quantity's line, named in the legend as the panel names its value, in a colour for
// light backgrounds and one for dark: each keeps 4.5:1 against either.
struct TrendLine {
  const char* name;
  SampleValue valueOf;
  QRgb onLight;
  QRgb onDark;
};

// A value axis and the lines drawn against it. Each fits the values in the span; at full
// scale, or while there are none, it shows `low` to `high` in `ticks` ticks, grid lines
// included, widened where a value lies beyond.
struct TrendAxis {
  const char* title;
  std::span<const TrendLine> lines;
  double low;
  double high;
  int ticks;
};

struct TrendChartDefinition {
  const char* name = nullptr;  // what the chart shows, for its accessible name
  TrendAxis left;
  const TrendAxis* right = nullptr;  // null for a chart of one scale
};

// Top to bottom: temperatures, pressures, compressor PWM with the mains value.
std::span<const TrendChartDefinition> TrendCharts();
