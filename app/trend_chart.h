#pragma once

#include <QChart>
#include <QList>
#include <QPointF>
#include <QSize>
#include <QString>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "app/axis_ticks.h"
#include "app/trend_quantities.h"

class QDateTimeAxis;
class QLineSeries;
class QValueAxis;

// One chart of the Trends window: a line per quantity against its value axis, and a
// time axis whose span the window sets alike on every chart.
class TrendChart : public QChart {
 public:
  // The time axis's labels only where `showTimeLabels`: stacked charts need them once.
  TrendChart(const TrendChartDefinition& definition, bool showTimeLabels);

  // Redraws the lines over [fromMs, toMs], at most two points per pixel column of the
  // plot area (each series replaced in one call), and fits the value axes that fit.
  // Where no axis moves, only the lines whose points changed are replaced.
  void Replot(const TelemetryRing& ring, int64_t fromMs, int64_t toMs);
  // Whether the plot area is no longer the size it had at the last Replot.
  bool PlotResized() const { return PlotSize() != plotted_; }
  // The time labels' QDateTime format and how many there are across the span.
  void SetTimeLabels(const QString& format, int tickCount);

 private:
  struct Line {
    QLineSeries* series;
    SampleValue valueOf;
  };
  struct ValueAxis {
    QValueAxis* axis;
    const TrendAxis* definition;
    std::vector<Line> lines;
  };

  // The points of each line of an axis, and the lowest and highest value among them.
  struct AxisPoints {
    std::vector<QList<QPointF>> lines;
    double low = std::numeric_limits<double>::infinity();
    double high = -std::numeric_limits<double>::infinity();
  };

  void AddValueAxis(const TrendAxis& definition, Qt::Alignment side);
  AxisPoints Reduce(const ValueAxis& axis, const TelemetryRing& ring, int64_t fromMs, int64_t toMs,
                    int columns) const;
  // The range and ticks the axis is to show for the points; none where a fitted axis has
  // no points to fit.
  std::optional<AxisTicks> RangeFor(const ValueAxis& axis, const AxisPoints& points) const;
  static bool Shows(const QValueAxis& axis, const AxisTicks& range);
  QSize PlotSize() const;
  int RoomForTicks(const QValueAxis& axis) const;

  QDateTimeAxis* time_;
  bool showsTimeLabels_;
  std::vector<ValueAxis> axes_;
  QSize plotted_;
  int64_t shownFromMs_ = 0;
  int64_t shownToMs_ = 0;
};
