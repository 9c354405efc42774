// Renders the Trends window to a PNG file, to look at its layout: a plausible half hour
// of a machine running, with the mouse resting over the middle of the charts.
//
//   trends-screenshot TRENDS.png

#include <QApplication>
#include <QChartView>
#include <QMouseEvent>
#include <QPixmap>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "app/trends_window.h"
#include "replies/telemetry_history.h"

namespace {

constexpr int64_t kSessionStartMs = 1'796'648'400'000;  // 2026-12-07 13:00 UTC
constexpr int64_t kPollPassMs = 1680;
constexpr int kSamplesIn30Minutes = 30 * 60'000 / kPollPassMs;

// A reading that wobbles slowly around `centre` with the given period.
double Wobble(double centre, double amplitude, double periodS, double seconds) {
  return centre + amplitude * std::sin(2 * std::numbers::pi * seconds / periodS);
}

int16_t RawTemperature(double celsius) {
  return static_cast<int16_t>(std::lround(celsius * 4));
}
int16_t RawPressure(double psi, double range) {
  return static_cast<int16_t>(std::lround(psi / range * 655 + 82));
}

TelemetrySample RunningSample(int index) {
  const double s = index * kPollPassMs / 1000.0;
  TelemetrySample sample;
  sample.pcTimeMs = kSessionStartMs + int64_t{index} * kPollPassMs;
  sample.machineClock = sample.pcTimeMs / 1000;
  sample.ei = RawTemperature(Wobble(-5, 0.8, 420, s));
  sample.eo = RawTemperature(Wobble(-2, 0.6, 420, s + 30));
  sample.ci = RawTemperature(Wobble(35, 1.2, 600, s));
  sample.co = RawTemperature(Wobble(29, 0.9, 600, s + 45));
  sample.pLow = RawPressure(Wobble(30, 2, 420, s), 150);
  sample.pHigh = RawPressure(Wobble(200, 8, 600, s), 500);
  sample.pwm = static_cast<uint8_t>(std::lround(Wobble(50, 8, 300, s) * 255 / 100));
  sample.mains = static_cast<uint8_t>(std::lround(Wobble(230, 2, 900, s)));
  sample.outputHz = 50;
  return sample;
}

// The mouse moved to the middle of the first chart's plot, so the readout shows a sample.
void PointAtFirstChart(QWidget& window) {
  auto* view = window.findChild<QChartView*>();
  if (view == nullptr) return;
  const QPoint centre = view->mapFromScene(view->chart()->plotArea().center());
  QMouseEvent move(QEvent::MouseMove, centre, view->viewport()->mapToGlobal(centre), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &move);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: trends-screenshot TRENDS.png\n");
    return 2;
  }
  TelemetryRing ring;
  TrendsWindow window(ring);
  window.show();
  for (int i = 0; i < kSamplesIn30Minutes; ++i) {
    ring.Add(RunningSample(i));
    window.SamplesAdded();
  }
  // Lets the replot and the layouts it starts settle.
  for (int pass = 0; pass < 5; ++pass) QApplication::processEvents();
  PointAtFirstChart(window);
  QApplication::processEvents();
  if (window.grab().save(QString::fromLocal8Bit(argv[1]))) return 0;
  std::fprintf(stderr, "trends-screenshot: cannot write %s\n", argv[1]);
  return 1;
}
