#include "app/trend_chart_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/trend_chart.h"

namespace {

constexpr int kFocusFrameWidth = 2;

}  // namespace

TrendChartView::TrendChartView(TrendChart* chart, QWidget* parent) : QChartView(chart, parent) {
  // No antialiasing: one-pixel lines stay crisp without it, and blending every pixel of
  // every line and grid line costs a quarter of what a new sample costs the window.
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  const QPointF position = chart()->mapFromScene(mapToScene(event->position().toPoint()));
  if (!chart()->plotArea().contains(position)) return;
  const double ms = chart()->mapToValue(position).x();
  if (std::isfinite(ms)) emit TimePointed(static_cast<qint64>(std::llround(ms)));
}

void TrendChartView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
      emit CursorMoved(CursorMove::kBack);
      break;
    case Qt::Key_Right:
      emit CursorMoved(CursorMove::kForward);
      break;
    case Qt::Key_Home:
      emit CursorMoved(CursorMove::kFirst);
      break;
    case Qt::Key_End:
      emit CursorMoved(CursorMove::kLast);
      break;
    default:
      QChartView::keyPressEvent(event);
      return;
  }
  event->accept();
}

void TrendChartView::focusInEvent(QFocusEvent* event) {
  QChartView::focusInEvent(event);
  viewport()->update();
  emit Focused();
}

void TrendChartView::focusOutEvent(QFocusEvent* event) {
  QChartView::focusOutEvent(event);
  viewport()->update();
}

void TrendChartView::drawForeground(QPainter* painter, const QRectF& rect) {
  QChartView::drawForeground(painter, rect);
  if (!hasFocus()) return;
  QPen pen(palette().color(QPalette::Highlight), kFocusFrameWidth);
  pen.setCosmetic(true);
  painter->setPen(pen);
  painter->setBrush(Qt::NoBrush);
  painter->drawRect(chart()->mapRectToScene(chart()->plotArea()));
}
