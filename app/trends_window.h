#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class QBoxLayout;
class QComboBox;
class QLabel;
class QPushButton;
class TelemetryRing;
class TrendChart;

// The Trends window: the telemetry ring as three charts on one time axis (temperatures,
// pressures, compressor PWM with the mains value) over the last 5, 30 or 240 minutes up
// to the newest sample. Pause holds the span and what it shows while samples go on
// arriving; Resume returns to the newest. Pointing at a chart shows the nearest sample's
// time and values.
class TrendsWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TrendsWindow(const TelemetryRing& ring, QWidget* parent = nullptr);

  // A sample went into the ring. Costs next to nothing: the charts are replotted from
  // the event loop afterwards, once for however many samples came before that.
  void SamplesAdded();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildControls();
  void BuildCharts(QBoxLayout& layout);
  // Visible and not minimised: a window nobody can see is not replotted.
  bool Shown() const;
  void ScheduleReplot();
  void Replot();
  void LayoutSettled();
  void RangeChanged();
  void PauseToggled(bool paused);
  void ShowNearest(int64_t ms);
  int64_t ShownRangeMs() const;

  const TelemetryRing& ring_;
  QComboBox* range_ = nullptr;
  QPushButton* pause_ = nullptr;
  QLabel* readout_ = nullptr;
  QList<TrendChart*> charts_;
  QTimer replotTimer_;
  // Runs after the charts' layouts, which set their plot areas one by one.
  QTimer layoutTimer_;
  bool stale_ = true;
  bool paused_ = false;
  int64_t shownToMs_ = 0;
};
