#include "app/trend_chart.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QLineSeries>
#include <QPen>
#include <QValueAxis>
#include <algorithm>
#include <optional>

namespace {

constexpr int kMostFittedTicks = 6;

QList<QPointF> ToSeriesPoints(const std::vector<TrendPoint>& points) {
  QList<QPointF> list;
  list.reserve(static_cast<qsizetype>(points.size()));
  for (const TrendPoint& point : points) {
    list.emplace_back(static_cast<qreal>(point.ms), point.value);
  }
  return list;
}

}  // namespace

TrendChart::TrendChart(const TrendChartDefinition& definition, bool showTimeLabels)
    : time_(new QDateTimeAxis(this)), showsTimeLabels_(showTimeLabels) {
  setBackgroundRoundness(0);
  layout()->setContentsMargins(0, 0, 0, 0);
  legend()->setAlignment(Qt::AlignRight);
  time_->setLabelsVisible(showTimeLabels);
  // Hidden labels are still made on every replot; empty ones cost next to nothing.
  if (!showTimeLabels) time_->setFormat(QString());
  addAxis(time_, Qt::AlignBottom);
  AddValueAxis(definition.left, Qt::AlignLeft);
  if (definition.right != nullptr) AddValueAxis(*definition.right, Qt::AlignRight);
}

void TrendChart::AddValueAxis(const TrendAxis& definition, Qt::Alignment side) {
  auto* axis = new QValueAxis(this);
  axis->setTitleText(QString::fromUtf8(definition.title));
  axis->setLabelFormat(QString::fromLatin1(definition.labelFormat));
  axis->setRange(definition.low, definition.high);
  if (definition.fixedRange) axis->setTickCount(definition.fixedTicks);
  addAxis(axis, side);
  ValueAxis added{axis, &definition, {}};
  for (const TrendLine& line : definition.lines) {
    auto* series = new QLineSeries(this);
    series->setName(QString::fromLatin1(line.name));
    // One pixel, cosmetic: the raster engine's fast path. A wider pen is stroked as a
    // path, several times the cost for a plot full of points.
    QPen pen(QColor(line.color), 1);
    pen.setCosmetic(true);
    series->setPen(pen);
    addSeries(series);
    series->attachAxis(time_);
    series->attachAxis(axis);
    added.lines.push_back({series, line.valueOf});
  }
  // An axis of one line takes the line's colour, so that where a chart has two axes the
  // eye finds which line reads against which.
  if (definition.lines.size() == 1) {
    const QColor color(definition.lines.front().color);
    axis->setLabelsColor(color);
    axis->setTitleBrush(color);
  }
  axes_.push_back(std::move(added));
}

void TrendChart::SetTimeLabels(const QString& format, int tickCount) {
  if (showsTimeLabels_) time_->setFormat(format);
  time_->setTickCount(tickCount);
}

namespace {

constexpr int kPixelsPerColumn = 2;

}  // namespace

void TrendChart::Replot(const TelemetryRing& ring, int64_t fromMs, int64_t toMs) {
  const bool resized = PlotResized();
  plotted_ = PlotSize();
  // The lowest and highest value of every second pixel column: a line drawn through them
  // shows every peak, and Qt Charts' cost grows with each point it is given.
  const int columns = std::max(1, plotted_.width() / kPixelsPerColumn);
  std::vector<AxisPoints> reduced;
  std::vector<std::optional<AxisTicks>> ranges;
  for (const ValueAxis& axis : axes_) {
    reduced.push_back(Reduce(axis, ring, fromMs, toMs, columns));
    ranges.push_back(RangeFor(axis, reduced.back()));
  }
  const bool axesStay =
      !resized && fromMs == shownFromMs_ && toMs == shownToMs_ &&
      std::equal(axes_.begin(), axes_.end(), ranges.begin(),
                 [](const ValueAxis& axis, const std::optional<AxisTicks>& range) {
                   return !range || Shows(*axis.axis, *range);
                 });
  shownFromMs_ = fromMs;
  shownToMs_ = toMs;
  if (axesStay) {
    // Most new samples change the last column of a few lines at most; a line given the
    // points it already has would still be mapped, outlined and painted again.
    for (std::size_t a = 0; a < axes_.size(); ++a) {
      for (std::size_t l = 0; l < axes_[a].lines.size(); ++l) {
        QLineSeries& series = *axes_[a].lines[l].series;
        if (series.points() != reduced[a].lines[l]) series.replace(reduced[a].lines[l]);
      }
    }
    return;
  }
  // Each series maps its points to the plot (and outlines them for the mouse) once: it
  // is emptied before the axes move, which then costs nothing, and filled after.
  for (ValueAxis& axis : axes_) {
    for (Line& line : axis.lines) line.series->clear();
  }
  time_->setRange(QDateTime::fromMSecsSinceEpoch(fromMs), QDateTime::fromMSecsSinceEpoch(toMs));
  for (std::size_t a = 0; a < axes_.size(); ++a) {
    if (ranges[a]) {
      axes_[a].axis->setRange(ranges[a]->low, ranges[a]->high);
      axes_[a].axis->setTickCount(ranges[a]->count);
    }
    for (std::size_t l = 0; l < axes_[a].lines.size(); ++l) {
      axes_[a].lines[l].series->replace(reduced[a].lines[l]);
    }
  }
}

TrendChart::AxisPoints TrendChart::Reduce(const ValueAxis& axis, const TelemetryRing& ring,
                                          int64_t fromMs, int64_t toMs, int columns) const {
  AxisPoints reduced;
  for (const Line& line : axis.lines) {
    const std::vector<TrendPoint> points =
        DecimateMinMax(ring, line.valueOf, fromMs, toMs, columns);
    for (const TrendPoint& point : points) {
      reduced.low = std::min(reduced.low, point.value);
      reduced.high = std::max(reduced.high, point.value);
    }
    reduced.lines.push_back(ToSeriesPoints(points));
  }
  return reduced;
}

std::optional<AxisTicks> TrendChart::RangeFor(const ValueAxis& axis,
                                              const AxisPoints& points) const {
  const int roomForTicks = RoomForTicks(*axis.axis);
  if (axis.definition->fixedRange) {
    // A fixed range keeps its ticks where they all fit, else only its ends.
    return AxisTicks{axis.definition->low, axis.definition->high,
                     roomForTicks >= axis.definition->fixedTicks ? axis.definition->fixedTicks : 2};
  }
  if (points.low > points.high) return std::nullopt;  // nothing to fit: the range stays
  // A little room above and below the lines, then round tick values.
  const double room = (points.high - points.low) * 0.05;
  return RoundTicks(points.low - room, points.high + room,
                    std::min(roomForTicks, kMostFittedTicks));
}

bool TrendChart::Shows(const QValueAxis& axis, const AxisTicks& range) {
  return axis.min() == range.low && axis.max() == range.high && axis.tickCount() == range.count;
}

QSize TrendChart::PlotSize() const {
  return plotArea().size().toSize();
}

int TrendChart::RoomForTicks(const QValueAxis& axis) const {
  // Two label heights from tick to tick, or a short plot elides its labels.
  const double labelHeight = QFontMetricsF(axis.labelsFont()).height();
  return 1 + static_cast<int>(plotArea().height() / (2 * labelHeight));
}
