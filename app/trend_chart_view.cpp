#include "app/trend_chart_view.h"

#include <QMouseEvent>
#include <cmath>

#include "app/trend_chart.h"

TrendChartView::TrendChartView(TrendChart* chart, QWidget* parent) : QChartView(chart, parent) {
  // No antialiasing: one-pixel lines stay crisp without it, and blending every pixel of
  // every line and grid line costs a quarter of what a new sample costs the window.
  viewport()->setMouseTracking(true);
}

void TrendChartView::mouseMoveEvent(QMouseEvent* event) {
  QChartView::mouseMoveEvent(event);
  const QPointF position = chart()->mapFromScene(mapToScene(event->position().toPoint()));
  if (!chart()->plotArea().contains(position)) return;
  const double ms = chart()->mapToValue(position).x();
  if (std::isfinite(ms)) emit TimePointed(static_cast<qint64>(std::llround(ms)));
}
