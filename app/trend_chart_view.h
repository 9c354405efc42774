#pragma once

#include <QChartView>
#include <cstdint>

class TrendChart;

// Shows one trend chart. Reports the time under the mouse while it moves over the plot
// area; with the keyboard focus (Tab), the arrow keys, Home and End move the cursor, and
// a frame round the plot area in the highlight colour shows where the focus is.
class TrendChartView : public QChartView {
  Q_OBJECT

 public:
  enum class CursorMove { kBack, kForward, kFirst, kLast };

  explicit TrendChartView(TrendChart* chart, QWidget* parent = nullptr);

 signals:
  void TimePointed(qint64 ms);
  void CursorMoved(TrendChartView::CursorMove move);
  void Focused();

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void drawForeground(QPainter* painter, const QRectF& rect) override;
};
