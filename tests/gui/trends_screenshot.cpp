// Renders the Trends window to PNG files, to look at its layout: a plausible half hour
// of a machine running, with a Get All, a Close and a spell without replies in it, and
// the mouse over the middle of the charts, on the sample before the Close; the second
// file in a dark palette.
//
//   trends-screenshot TRENDS.png [TRENDS-DARK.png]

#include <QApplication>
#include <QChartView>
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
// Passes kept away: a Get All of 37 s, a Close of 17 s, a machine silent for 35 s.
constexpr struct {
  Interruption why;
  int firstPass;
  int passes;
} kAway[] = {{Interruption::kGetAll, 291, 22},
             {Interruption::kClosed, 536, 10},
             {Interruption::kNoReplies, 824, 21}};

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
  sample.pLow = RawPressure(Wobble(30, 1, 420, s), 150);
  sample.pHigh = RawPressure(Wobble(200, 8, 600, s), 500);
  sample.pwm = static_cast<uint8_t>(std::lround(Wobble(50, 8, 300, s) * 255 / 100));
  sample.mains = static_cast<uint8_t>(std::lround(Wobble(230, 2, 900, s)));
  sample.outputHz = 50;
  return sample;
}

void RunHalfHour(TelemetryRing& ring, PollInterruptions& interruptions) {
  for (int pass = 0; pass < kSamplesIn30Minutes; ++pass) {
    std::optional<Interruption> why;
    for (const auto& away : kAway) {
      if (pass >= away.firstPass && pass < away.firstPass + away.passes) why = away.why;
    }
    interruptions.Note(why, RunningSample(pass).pcTimeMs);
    if (!why) ring.Add(RunningSample(pass));
  }
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

bool Save(QWidget& window, const char* path) {
  // Lets the replot and the layouts it starts settle.
  for (int pass = 0; pass < 5; ++pass) QApplication::processEvents();
  PointAtFirstChart(window);
  QApplication::processEvents();
  if (window.grab().save(QString::fromLocal8Bit(path))) return true;
  std::fprintf(stderr, "trends-screenshot: cannot write %s\n", path);
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2 && argc != 3) {
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
  if (!Save(window, argv[1])) return 1;
  if (argc == 2) return 0;
  QApplication::setPalette(DarkFusionPalette());
  return Save(window, argv[2]) ? 0 : 1;
}
