#pragma once

#include <QChart>
#include <QList>
#include <QSize>
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "app/axis_ticks.h"
#include "app/trend_plot.h"
#include "app/trend_quantities.h"

class QDateTimeAxis;
class QLineSeries;
class QPalette;
class QValueAxis;

// What every chart of the window shows alike.
struct TrendSpan {
  int64_t fromMs;
  int64_t toMs;
  int64_t longestPauseMs;  // longer without a sample is a gap
  std::vector<TrendPicture::Gap> gaps;
};

// One chart of the Trends window: its lines against one or two value axes, on a time
// axis whose span the window sets alike on every chart. Its TrendPlot draws the lines,
// the gaps and the cursor; each line also has a series without points, which stands for
// it in the legend.
class TrendChart : public QChart {
 public:
  // The time axis's labels only where `showTimeLabels`: stacked charts need them once.
  TrendChart(const TrendChartDefinition& definition, bool showTimeLabels);

  // Draws the span: each line through at most two points per pixel column of the plot
  // area, broken at the gaps; each value axis fitted to its lines with a margin, or at
  // full scale.
  void Replot(const TelemetryRing& ring, const TrendSpan& span);
  void SetFullScale(bool fullScale) { fullScale_ = fullScale; }
  void SetCursor(std::optional<int64_t> ms) { plot_->SetCursor(ms); }
  // The chart's background, plot area, text, grid and lines in the palette's colours.
  void ApplyPalette(const QPalette& palette);
  // Whether the plot area is no longer the size it had at the last Replot.
  bool PlotResized() const { return PlotSize() != plotted_; }
  // The time labels' QDateTime format and how many there are across the span.
  void SetTimeLabels(const QString& format, int tickCount);

  const TrendPicture& picture() const { return plot_->picture(); }

 private:
  struct Line {
    QLineSeries* series;
    const TrendLine* definition;
  };
  struct ValueAxis {
    QValueAxis* axis;
    const TrendAxis* definition;
    std::vector<Line> lines;
  };
  // The lowest and highest value of an axis's points.
  struct Extent {
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
    bool empty() const { return low > high; }
  };

  void AddValueAxis(const TrendAxis& definition, Qt::Alignment side);
  AxisTicks RangeFor(const ValueAxis& axis, const Extent& extent) const;
  void ShowRange(QValueAxis& axis, const AxisTicks& range);
  QSize PlotSize() const;
  int RoomForTicks(const QValueAxis& axis) const;

  QDateTimeAxis* time_;
  TrendPlot* plot_;
  bool showsTimeLabels_;
  std::vector<ValueAxis> axes_;
  std::vector<QColor> lineColours_;  // in the order of axes_ and their lines
  QSize plotted_;
  bool fullScale_ = false;
};
