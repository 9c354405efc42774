// What the Trends window costs with a full day of samples in the ring: one new sample
// with the window open at the panel's size (the panel's SamplesAdded, the replot it
// schedules, and the repaint of whatever that changed), and the reduction of one
// quantity over the whole ring.
//
// Each benchmark checks afterwards that it did the work it names (the newest sample
// plotted, points within two per column), so a change cannot leave it timing nothing.

#include <benchmark/benchmark.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QDateTime>
#include <QDateTimeAxis>
#include <cmath>

#include "app/dialog_units.h"
#include "app/trends_window.h"
#include "replies/poll_interruptions.h"
#include "replies/telemetry_history.h"
#include "replies/trend_decimation.h"

namespace {

constexpr int64_t kDayStartMs = 1'796'601'600'000;  // 2026-12-07 00:00 UTC
constexpr int64_t kPollPassMs = 1680;

// A running machine's sample: every reading wobbles, as real ones do, so that no
// column of the plot is flat.
TelemetrySample SampleNumber(int64_t i) {
  const double wobble = std::sin(static_cast<double>(i) / 37.0);
  TelemetrySample sample;
  sample.pcTimeMs = kDayStartMs + i * kPollPassMs;
  sample.ei = static_cast<int16_t>(-20 + 4 * wobble);
  sample.eo = static_cast<int16_t>(-8 + 3 * wobble);
  sample.ci = static_cast<int16_t>(140 + 6 * wobble);
  sample.co = static_cast<int16_t>(116 + 5 * wobble);
  sample.pLow = static_cast<int16_t>(213 + 9 * wobble);
  sample.pHigh = static_cast<int16_t>(344 + 11 * wobble);
  sample.pwm = static_cast<uint8_t>(128 + 20 * wobble);
  sample.mains = static_cast<uint8_t>(230 + 2 * wobble);
  return sample;
}

struct FullDay {
  FullDay() {
    while (next < static_cast<int64_t>(ring.capacity())) AddSample();
  }
  void AddSample() { ring.Add(SampleNumber(next++)); }

  TelemetryRing ring;
  int64_t next = 0;
};

// The panel window's size: its template in dialog units of its 8-point font.
QSize PanelSize() {
  QFont font = QApplication::font();
  font.setPointSize(PanelDialogTemplate().fontPointSize);
  const DialogBaseUnits base = BaseUnitsOf(font);
  return {DialogUnitsToPixelsX(PanelDialogTemplate().width, base),
          DialogUnitsToPixelsY(PanelDialogTemplate().height, base)};
}

constexpr int kMostPasses = 10;

// Whether the window's last replot took in the newest sample: its time axis ends there,
// which is now.
bool NewestPlotted(const QChart& chart, const TelemetryRing& ring) {
  const auto* time = static_cast<const QDateTimeAxis*>(chart.axes(Qt::Horizontal).first());
  return time->max().toMSecsSinceEpoch() == ring.newest().pcTimeMs;
}

void BM_DecimateFullRing(benchmark::State& state) {
  const FullDay day;
  const int columns = static_cast<int>(state.range(0));
  std::size_t points = 0;
  for (auto _ : state) {
    const std::vector<TrendPoint> reduced = DecimateMinMax(day.ring, EiOf, day.ring.at(0).pcTimeMs,
                                                           day.ring.newest().pcTimeMs, columns);
    points = reduced.size();
    benchmark::DoNotOptimize(reduced.data());
  }
  state.counters["points"] = static_cast<double>(points);
  if (points < static_cast<std::size_t>(columns) || points > 2u * columns) {
    state.SkipWithError("the reduction did not give one or two points per column");
  }
}
BENCHMARK(BM_DecimateFullRing)->Arg(600)->Arg(1920);

// Counts the paints of a widget.
class PaintCounter : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int64_t paints = 0;
};

// Runs the event loop until it has nothing left to do: the replot's timer, the repaint
// the replot asked for, and what those posted in turn.
void Drain() {
  for (int pass = 0; pass < kMostPasses; ++pass) {
    if (!QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents)) return;
  }
}

// Argument: the range shown, 0 = 5, 1 = 30 (the default), 2 = 240 minutes. Each
// iteration is what the program does for a sample: SamplesAdded, the replot from the
// event loop, and the repaint of whatever the replot changed, on the offscreen platform.
void BM_TrendsWindowNewSample(benchmark::State& state) {
  FullDay day;
  const PollInterruptions interruptions;
  TrendsWindow window(day.ring, interruptions);
  // Each sample is taken now.
  window.SetClock([&day] { return day.ring.newest().pcTimeMs; });
  window.findChild<QComboBox*>("range")->setCurrentIndex(static_cast<int>(state.range(0)));
  window.resize(PanelSize());
  window.show();
  Drain();
  auto* view = window.findChild<QChartView*>();
  PaintCounter counter;
  view->viewport()->installEventFilter(&counter);
  bool plotted = true;
  for (auto _ : state) {
    day.AddSample();
    window.SamplesAdded();
    Drain();
    plotted = plotted && NewestPlotted(*view->chart(), day.ring);
  }
  if (!plotted) state.SkipWithError("a new sample was not plotted");
  // A sample that leaves every line as it was repaints nothing; most do change one.
  if (counter.paints == 0) state.SkipWithError("the chart was never repainted");
  state.counters["paints"] =
      benchmark::Counter(static_cast<double>(counter.paints), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_TrendsWindowNewSample)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
