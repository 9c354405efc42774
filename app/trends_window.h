#pragma once

#include <QList>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "app/trend_chart_view.h"
#include "app/trend_plot.h"
#include "app/trends_view.h"

class PollInterruptions;
class QBoxLayout;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class TelemetryRing;
class TrendChart;

// The Trends window: the telemetry ring as three charts on one time axis (temperatures,
// pressures, compressor PWM with the mains value) over the last 5, 30 or 240 minutes up
// to now. Where no sample came for more than three poll passes the lines break, and the
// gap is shaded and named by what the panel knows of why. Each value axis fits its lines,
// or shows its full scale. Pause holds the span and what it shows while samples go on
// arriving; Resume returns to now. The readout shows the sample at the cursor, which the
// mouse or, in a chart with the focus, the arrow keys, Home and End move.
class TrendsWindow : public QWidget, public TrendsView {
  Q_OBJECT

 public:
  TrendsWindow(const TelemetryRing& ring, const PollInterruptions& interruptions,
               QWidget* parent = nullptr);

  // A sample went into the ring. Costs next to nothing: the charts are replotted from
  // the event loop afterwards, once for however many samples came before that.
  void SamplesAdded() override;
  QWidget& widget() override { return *this; }
  void SetClock(Clock nowMs) { nowMs_ = std::move(nowMs); }

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QWidget* BuildControls();
  void BuildCharts(QBoxLayout& layout);
  void FitToScreen();
  // Visible and not minimised: a window nobody can see is not replotted.
  bool Shown() const;
  void ScheduleReplot();
  void Replot();
  std::vector<TrendPicture::Gap> GapsShown(int64_t fromMs, int64_t nowMs) const;
  void WatchForGap(int64_t nowMs);
  void LayoutSettled();
  void ApplyPalette();
  void RangeChanged();
  void PauseToggled(bool paused);
  void FullScaleToggled(bool fullScale);
  void ShowNearest(int64_t ms);
  void MoveCursor(TrendChartView::CursorMove move);
  void ShowSample(std::size_t index);
  int64_t ShownRangeMs() const;
  int64_t ShownFromMs() const;

  const TelemetryRing& ring_;
  const PollInterruptions& interruptions_;
  Clock nowMs_;
  QComboBox* range_ = nullptr;
  QPushButton* pause_ = nullptr;
  QCheckBox* fullScale_ = nullptr;
  QLabel* readout_ = nullptr;
  QList<TrendChart*> charts_;
  QTimer replotTimer_;
  // Runs after the charts' layouts, which set their plot areas one by one.
  QTimer layoutTimer_;
  // Replots while no samples come, so that a gap shows as it grows.
  QTimer gapTimer_;
  bool stale_ = true;
  bool paused_ = false;
  int64_t shownToMs_ = 0;
  std::optional<int64_t> cursorMs_;  // the time of the sample the readout shows
};
