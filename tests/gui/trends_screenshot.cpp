// Renders the Trends window to PNG files, to look at its layout: a plausible half hour
// of a machine running, with a Get All, a Close and a spell without replies among it,
// and the readout on the sample before the Get All. The second file, if named, shows
// the same window in a dark Fusion palette.
//
//   trends-screenshot TRENDS.png [TRENDS-DARK.png]

#include <QApplication>
#include <QChartView>
#include <QLineSeries>
#include <QMouseEvent>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "app/trends_window.h"
#include "dark_palette.h"
#include "replies/poll_interruptions.h"
#include "replies/telemetry_history.h"

namespace {

constexpr int64_t kSessionStartMs = 1'796'648'400'000;  // 2026-12-07 13:00 UTC
constexpr int64_t kPollPassMs = 1680;
constexpr int kSamplesIn30Minutes = 30 * 60'000 / kPollPassMs;

// What kept the passes away, minutes and seconds into the half hour.
struct Away {
  Interruption why;
  int64_t fromS;
  int64_t seconds;
};
constexpr Away kAway[] = {
    {Interruption::kGetAll, 8 * 60 + 10, 37},
    {Interruption::kClosed, 16 * 60 + 40, 17},
    {Interruption::kNoReplies, 23 * 60 + 5, 35},
};

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

TelemetrySample RunningSample(int64_t pcTimeMs) {
  const double s = static_cast<double>(pcTimeMs - kSessionStartMs) / 1000.0;
  TelemetrySample sample;
  sample.pcTimeMs = pcTimeMs;
  sample.machineClock = sample.pcTimeMs / 1000;
  sample.ei = RawTemperature(Wobble(-5, 0.8, 420, s));
  sample.eo = RawTemperature(Wobble(-2, 0.6, 420, s + 30));
  sample.ci = RawTemperature(Wobble(35, 1.2, 600, s));
  sample.co = RawTemperature(Wobble(29, 0.9, 600, s + 45));
  sample.pLow = RawPressure(Wobble(30, 1, 420, s), 150);
  sample.pHigh = RawPressure(Wobble(200, 8, 600, s), 500);
  sample.pwm = static_cast<uint8_t>(std::lround(Wobble(50, 8, 300, s) * 255 / 100));
  sample.mains = static_cast<uint8_t>(std::lround(Wobble(230, 2, 900, s)));
  sample.outputHz = 50;
  return sample;
}

// Half an hour of passes, but none while something kept them away.
void RunHalfHour(TelemetryRing& ring, PollInterruptions& interruptions) {
  std::size_t next = 0;
  for (int pass = 0; pass < kSamplesIn30Minutes; ++pass) {
    const int64_t ms = kSessionStartMs + int64_t{pass} * kPollPassMs;
    if (next < std::size(kAway)) {
      const int64_t fromMs = kSessionStartMs + kAway[next].fromS * 1000;
      const int64_t toMs = fromMs + kAway[next].seconds * 1000;
      if (ms >= fromMs) interruptions.Note(kAway[next].why, fromMs);
      if (ms >= fromMs && ms < toMs) continue;
      if (ms >= toMs) interruptions.Note(std::nullopt, toMs), ++next;
    }
    ring.Add(RunningSample(ms));
  }
}

// The mouse moved to `ms` on the first chart, so the readout shows the sample there.
void PointAt(QWidget& window, int64_t ms) {
  auto* view = window.findChild<QChartView*>();
  if (view == nullptr) return;
  auto* series = static_cast<QLineSeries*>(view->chart()->series().first());
  const QPointF inChart = view->chart()->mapToPosition(QPointF(static_cast<qreal>(ms), 0), series);
  const QPoint at(view->mapFromScene(inChart).x(),
                  view->mapFromScene(view->chart()->plotArea().center()).y());
  QMouseEvent move(QEvent::MouseMove, at, view->viewport()->mapToGlobal(at), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(view->viewport(), &move);
}

bool Save(QWidget& window, const char* path) {
  // Lets the replot and the layouts it starts settle.
  for (int pass = 0; pass < 5; ++pass) QApplication::processEvents();
  PointAt(window, kSessionStartMs + kAway[0].fromS * 1000 - kPollPassMs / 2);
  QApplication::processEvents();
  if (window.grab().save(QString::fromLocal8Bit(path))) return true;
  std::fprintf(stderr, "trends-screenshot: cannot write %s\n", path);
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: trends-screenshot TRENDS.png [TRENDS-DARK.png]\n");
    return 2;
  }
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(QApplication::style()->standardPalette());
  TelemetryRing ring;
  PollInterruptions interruptions;
  RunHalfHour(ring, interruptions);
  TrendsWindow window(ring, interruptions);
  window.SetClock([&ring] { return ring.newest().pcTimeMs + 1000; });
  window.show();
  window.SamplesAdded();
  if (!Save(window, argv[1])) return 1;
  if (argc == 3) {
    QApplication::setPalette(DarkFusionPalette());
    if (!Save(window, argv[2])) return 1;
  }
  return 0;
}
