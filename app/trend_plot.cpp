#include "app/trend_plot.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <utility>

namespace {

// Above the plot area's background and grid, with Qt Charts' series.
constexpr qreal kSeriesZ = 4;
constexpr qreal kLabelPadding = 3;
constexpr qreal kDashHalfWidth = 1.5;

QPen CosmeticPen(const QColor& colour, Qt::PenStyle style = Qt::SolidLine) {
  // One pixel, cosmetic: the raster engine's fast path.
  QPen pen(colour, 1, style);
  pen.setCosmetic(true);
  return pen;
}

}  // namespace

TrendPlot::TrendPlot(QGraphicsItem* chart) : QGraphicsItem(chart) {
  setZValue(kSeriesZ);
}

void TrendPlot::SetArea(const QRectF& plotArea) {
  if (plotArea.size() != size_) {
    prepareGeometryChange();
    size_ = plotArea.size();
  }
  setPos(plotArea.topLeft());
}

void TrendPlot::Show(TrendPicture picture) {
  picture.cursorMs = picture_.cursorMs;
  picture_ = std::move(picture);
  update();
}

void TrendPlot::SetCursor(std::optional<int64_t> ms) {
  if (ms == picture_.cursorMs) return;
  picture_.cursorMs = ms;
  update();
}

void TrendPlot::SetColours(const Colours& colours, const QFont& labelFont) {
  colours_ = colours;
  font_ = labelFont;
  update();
}

void TrendPlot::paint(QPainter* painter, const QStyleOptionGraphicsItem* /*option*/,
                      QWidget* /*widget*/) {
  if (picture_.toMs <= picture_.fromMs || size_.isEmpty()) return;
  painter->save();
  painter->setClipRect(boundingRect());
  PaintGaps(*painter);
  for (const TrendPicture::Line& line : picture_.lines) PaintLine(*painter, line);
  PaintCursor(*painter);
  painter->restore();
}

double TrendPlot::X(int64_t ms) const {
  const double span = static_cast<double>(picture_.toMs) - static_cast<double>(picture_.fromMs);
  return (static_cast<double>(ms) - static_cast<double>(picture_.fromMs)) / span * size_.width();
}

QPointF TrendPlot::At(const TrendPoint& point, const TrendPicture::Range& range) const {
  const double height = range.high > range.low ? range.high - range.low : 1;
  return {X(point.ms), (range.high - point.value) / height * size_.height()};
}

void TrendPlot::PaintGaps(QPainter& painter) const {
  for (const TrendPicture::Gap& gap : picture_.gaps) {
    const double left = std::max(0.0, X(gap.fromMs));
    const double right = std::min(size_.width(), X(gap.toMs));
    if (right <= left) continue;
    const QRectF area(left, 0, right - left, size_.height());
    painter.fillRect(area, colours_.gap);
    PaintLabel(painter, area, gap.label);
  }
}

// Across the gap where it is wide enough, else along it, else not at all.
void TrendPlot::PaintLabel(QPainter& painter, const QRectF& gap, const QString& label) const {
  const QFontMetricsF metrics(font_);
  const double length = metrics.horizontalAdvance(label) + 2 * kLabelPadding;
  const double thickness = metrics.height();
  painter.setFont(font_);
  painter.setPen(colours_.text);
  if (length <= gap.width() && thickness + 2 * kLabelPadding <= gap.height()) {
    const QRectF box(gap.left(), gap.top(), gap.width(), thickness + 2 * kLabelPadding);
    painter.drawText(box, Qt::AlignCenter, label);
  } else if (thickness <= gap.width() && length <= gap.height()) {
    painter.save();
    // Read from the bottom up, starting at the top of the plot.
    painter.translate(gap.center().x(), gap.top() + length);
    painter.rotate(-90);
    painter.drawText(QRectF(0, -thickness / 2, length, thickness), Qt::AlignCenter, label);
    painter.restore();
  }
}

void TrendPlot::PaintLine(QPainter& painter, const TrendPicture::Line& line) const {
  const TrendPicture::Range& range = picture_.axes.at(line.axis);
  painter.setPen(CosmeticPen(line.colour));
  QPolygonF run;
  const auto drawRun = [&] {
    if (run.size() == 1) {
      const QPointF at = run.front();
      painter.drawLine(at - QPointF(kDashHalfWidth, 0), at + QPointF(kDashHalfWidth, 0));
    } else if (run.size() > 1) {
      painter.drawPolyline(run);
    }
    run.clear();
  };
  for (const TrendPoint& point : line.points) {
    if (point.afterGap) drawRun();
    run.append(At(point, range));
  }
  drawRun();
}

void TrendPlot::PaintCursor(QPainter& painter) const {
  if (!picture_.cursorMs) return;
  const double x = X(*picture_.cursorMs);
  if (x < 0 || x > size_.width()) return;
  painter.setPen(CosmeticPen(colours_.text, Qt::DashLine));
  painter.drawLine(QPointF(x, 0), QPointF(x, size_.height()));
}
