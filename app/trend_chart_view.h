#pragma once

#include <QChartView>
#include <cstdint>

class TrendChart;

// Shows one trend chart and reports the time under the mouse while it moves over the
// plot area.
class TrendChartView : public QChartView {
  Q_OBJECT

 public:
  TrendChartView(TrendChart* chart, QWidget* parent = nullptr);

 signals:
  void TimePointed(qint64 ms);

 protected:
  void mouseMoveEvent(QMouseEvent* event) override;
};
