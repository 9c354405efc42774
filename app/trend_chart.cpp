#include "app/trend_chart.h"

#include <QDateTime>
#include <QDateTimeAxis>
#include <QFontMetricsF>
#include <QGraphicsLayout>
#include <QGuiApplication>
#include <QLegend>
#include <QLineSeries>
#include <QPalette>
#include <QPen>
#include <QValueAxis>
#include <algorithm>

#include "app/palette_colours.h"

namespace {

constexpr int kMostFittedTicks = 6;
constexpr int kPixelsPerColumn = 2;
// Room above and below the lines of a fitted axis, as a share of their range.
constexpr double kFittedMargin = 0.05;
constexpr double kGridShare = 0.15;
constexpr double kAxisLineShare = 0.4;
constexpr double kGapShade = 0.18;

// `share` of the way from one colour to another.
QColor Blend(const QColor& from, const QColor& to, double share) {
  return QColor::fromRgbF(static_cast<float>(from.redF() + (to.redF() - from.redF()) * share),
                          static_cast<float>(from.greenF() + (to.greenF() - from.greenF()) * share),
                          static_cast<float>(from.blueF() + (to.blueF() - from.blueF()) * share));
}

// The line's colour that stands out more against the plot's background.
QColor LineColour(const TrendLine& line, const QColor& background) {
  const QColor onLight(line.onLight);
  const QColor onDark(line.onDark);
  return ContrastRatio(onLight, background) >= ContrastRatio(onDark, background) ? onLight : onDark;
}

}  // namespace

TrendChart::TrendChart(const TrendChartDefinition& definition, bool showTimeLabels)
    : time_(new QDateTimeAxis(this)), plot_(new TrendPlot(this)), showsTimeLabels_(showTimeLabels) {
  setBackgroundRoundness(0);
  layout()->setContentsMargins(0, 0, 0, 0);
  legend()->setAlignment(Qt::AlignRight);
  time_->setLabelsVisible(showTimeLabels);
  // Hidden labels are still made on every replot; empty ones cost next to nothing.
  if (!showTimeLabels) time_->setFormat(QString());
  addAxis(time_, Qt::AlignBottom);
  AddValueAxis(definition.left, Qt::AlignLeft);
  if (definition.right != nullptr) AddValueAxis(*definition.right, Qt::AlignRight);
  connect(this, &QChart::plotAreaChanged, this,
          [this](const QRectF& area) { plot_->SetArea(area); });
  plot_->SetArea(plotArea());
  ApplyPalette(QGuiApplication::palette());
}

void TrendChart::AddValueAxis(const TrendAxis& definition, Qt::Alignment side) {
  auto* axis = new QValueAxis(this);
  axis->setTitleText(QString::fromUtf8(definition.title));
  axis->setLabelFormat(QStringLiteral("%g"));
  axis->setRange(definition.low, definition.high);
  axis->setTickCount(definition.ticks);
  // The grid follows the left axis alone; two sets of lines would not say which is whose.
  axis->setGridLineVisible(side == Qt::AlignLeft);
  addAxis(axis, side);
  ValueAxis added{axis, &definition, {}};
  for (const TrendLine& line : definition.lines) {
    auto* series = new QLineSeries(this);
    series->setName(QString::fromLatin1(line.name));
    addSeries(series);
    series->attachAxis(time_);
    series->attachAxis(axis);
    added.lines.push_back({series, &line});
  }
  axes_.push_back(std::move(added));
}

void TrendChart::ApplyPalette(const QPalette& palette) {
  const QColor window = palette.color(QPalette::Window);
  const QColor base = palette.color(QPalette::Base);
  const QColor text = palette.color(QPalette::WindowText);
  setBackgroundBrush(window);
  setBackgroundPen(Qt::NoPen);
  setPlotAreaBackgroundBrush(base);
  setPlotAreaBackgroundVisible(true);
  legend()->setLabelColor(text);
  const QColor grid = Blend(base, palette.color(QPalette::Text), kGridShare);
  const QColor rule = Blend(window, text, kAxisLineShare);
  for (QAbstractAxis* axis : axes()) {
    axis->setLabelsColor(text);
    axis->setTitleBrush(text);
    axis->setGridLineColor(grid);
    axis->setLinePenColor(rule);
  }
  lineColours_.clear();
  for (ValueAxis& axis : axes_) {
    for (Line& line : axis.lines) {
      const QColor colour = LineColour(*line.definition, base);
      line.series->setPen(QPen(colour, 1));
      lineColours_.push_back(colour);
    }
    // An axis of one line takes the line's colour, so that where a chart has two axes the
    // eye finds which line reads against which.
    if (axis.lines.size() == 1) {
      axis.axis->setLabelsColor(lineColours_.back());
      axis.axis->setTitleBrush(lineColours_.back());
    }
  }
  QColor shade = palette.color(QPalette::Text);
  shade.setAlphaF(kGapShade);
  plot_->SetColours({shade, palette.color(QPalette::Text)}, time_->labelsFont());
}

void TrendChart::SetTimeLabels(const QString& format, int tickCount) {
  if (showsTimeLabels_) time_->setFormat(format);
  time_->setTickCount(tickCount);
}

void TrendChart::Replot(const TelemetryRing& ring, const TrendSpan& span) {
  plotted_ = PlotSize();
  // The lowest and highest value of every second pixel column: a line drawn through them
  // shows every peak, at a cost that does not grow with the samples.
  const int columns = std::max(1, plotted_.width() / kPixelsPerColumn);
  TrendPicture picture{span.fromMs, span.toMs, {}, {}, span.gaps, std::nullopt};
  std::size_t colour = 0;
  for (ValueAxis& axis : axes_) {
    Extent extent;
    for (const Line& line : axis.lines) {
      std::vector<TrendPoint> points = DecimateMinMax(ring, line.definition->valueOf, span.fromMs,
                                                      span.toMs, columns, span.longestPauseMs);
      for (const TrendPoint& point : points) {
        extent.low = std::min(extent.low, point.value);
        extent.high = std::max(extent.high, point.value);
      }
      picture.lines.push_back({line.definition->name, lineColours_.at(colour++),
                               picture.axes.size(), std::move(points)});
    }
    const AxisTicks range = RangeFor(axis, extent);
    ShowRange(*axis.axis, range);
    picture.axes.push_back({range.low, range.high});
  }
  const QDateTime from = QDateTime::fromMSecsSinceEpoch(span.fromMs);
  const QDateTime to = QDateTime::fromMSecsSinceEpoch(span.toMs);
  if (time_->min() != from || time_->max() != to) time_->setRange(from, to);
  plot_->Show(std::move(picture));
}

AxisTicks TrendChart::RangeFor(const ValueAxis& axis, const Extent& extent) const {
  const TrendAxis& full = *axis.definition;
  const int room = RoomForTicks(*axis.axis);
  const int mostTicks = std::min(room, kMostFittedTicks);
  if (fullScale_ || extent.empty()) {
    // The full range keeps its ticks where they all fit, else only its ends; a value
    // beyond it widens it rather than leave the plot.
    if (extent.empty() || (extent.low >= full.low && extent.high <= full.high)) {
      return {full.low, full.high, room >= full.ticks ? full.ticks : 2};
    }
    return RoundTicks(std::min(full.low, extent.low), std::max(full.high, extent.high), mostTicks);
  }
  const double margin = (extent.high - extent.low) * kFittedMargin;
  return RoundTicks(extent.low - margin, extent.high + margin, mostTicks);
}

void TrendChart::ShowRange(QValueAxis& axis, const AxisTicks& range) {
  if (axis.min() != range.low || axis.max() != range.high) axis.setRange(range.low, range.high);
  if (axis.tickCount() != range.count) axis.setTickCount(range.count);
}

QSize TrendChart::PlotSize() const {
  return plotArea().size().toSize();
}

int TrendChart::RoomForTicks(const QValueAxis& axis) const {
  // Two label heights from tick to tick, or a short plot elides its labels.
  const double labelHeight = QFontMetricsF(axis.labelsFont()).height();
  return 1 + static_cast<int>(plotArea().height() / (2 * labelHeight));
}
