// A probe linked into bench-only builds of a Qt program, never into the program
// itself, or preloaded into an installed one (LD_PRELOAD). It watches the whole
// application for the first window shown and reports, on one line of standard output
// beginning "kelo-probe ":
//
//   KELO_PROBE_MODE=startup  the time from process start to the first Show and to the
//                            end of the window's first paint, and the peak resident
//                            memory then; the process then ends.
//   KELO_PROBE_MODE=poll     presses the window's Connect button if it has one, waits
//                            KELO_PROBE_SECONDS (default 60), then reports the CPU
//                            time used since the press (or since the Show when there
//                            is no button), the peak resident memory and the status
//                            line; the process then ends. With KELO_PROBE_PRESS set,
//                            it also presses the button of that text right after
//                            Connect (Trends, say) and reports how many windows were
//                            shown at the end.
// With KELO_PROBE_SMAPS=FILE set, the report also copies /proc/self/smaps to FILE.
//
// The process start is KELO_PROBE_T0_NS (CLOCK_MONOTONIC, set by kelo-probe-launch
// just before it executes the program), or else the start time the kernel keeps for
// the process, which is only as fine as the clock tick.
// Without KELO_PROBE_MODE the probe does nothing.

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr int kPaintWaitMs = 10000;

double MonotonicMs(clockid_t clock) {
  timespec now{};
  clock_gettime(clock, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Milliseconds since the process started.
double SinceStartMs() {
  if (const char* t0 = std::getenv("KELO_PROBE_T0_NS")) {
    return MonotonicMs(CLOCK_MONOTONIC) - std::strtod(t0, nullptr) / 1e6;
  }
  // Field 22 of /proc/self/stat: start time in clock ticks since boot. The name in
  // field 2 may hold spaces, so the fields are counted from its closing parenthesis.
  std::ifstream stat("/proc/self/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 2));
  std::string field;
  for (int i = 3; i <= 22; ++i) fields >> field;
  const double startMs =
      std::strtod(field.c_str(), nullptr) * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
  return MonotonicMs(CLOCK_BOOTTIME) - startMs;
}

double CpuSeconds(const rusage& usage) {
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

rusage Usage() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage;
}

[[noreturn]] void Report(const std::string& line) {
  // What the resident memory is made of, mapping by mapping, for a closer look.
  if (const char* smaps = std::getenv("KELO_PROBE_SMAPS")) {
    std::ifstream in("/proc/self/smaps");
    std::ofstream(smaps) << in.rdbuf();
  }
  std::printf("kelo-probe %s\n", line.c_str());
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(0);
}

QPushButton* FindButton(const QString& text) {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) {
      if (button->text() == text) return button;
    }
  }
  return nullptr;
}

QString StatusLine() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
      if (label->text().startsWith(QStringLiteral("STATUS: "))) return label->text();
    }
  }
  return QStringLiteral("none");
}

class FirstShowProbe : public QObject {
 public:
  FirstShowProbe(std::string mode, int pollSeconds, QString press)
      : mode_(std::move(mode)), pollSeconds_(pollSeconds), press_(std::move(press)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && window_ == nullptr && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
      window_ = static_cast<QWidget*>(watched);
      showMs_ = SinceStartMs();
      if (mode_ == "poll") {
        QTimer::singleShot(0, this, [this] { StartPolling(); });
      } else {
        // A platform that never paints still gets its start-up reported.
        QTimer::singleShot(kPaintWaitMs, this, [this] { ReportStartUp(); });
      }
    } else if (event->type() == QEvent::Paint && window_ != nullptr && !painted_ &&
               mode_ == "startup" && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->window() == window_) {
      // The paint pass paints the whole window at once; a zero timer fires after it.
      painted_ = true;
      QTimer::singleShot(0, this, [this] { ReportStartUp(); });
    }
    return false;
  }

 private:
  void ReportStartUp() {
    char paint[32] = "none";
    if (painted_) std::snprintf(paint, sizeof paint, "%.2f", SinceStartMs());
    char line[200];
    std::snprintf(line, sizeof line, "startup show_ms=%.2f paint_ms=%s maxrss_kb=%ld window=%dx%d",
                  showMs_, paint, Usage().ru_maxrss, window_->width(), window_->height());
    Report(line);
  }

  void StartPolling() {
    QPushButton* connect = FindButton(QStringLiteral("Connect"));
    if (connect != nullptr) connect->click();
    cpuAtStart_ = CpuSeconds(Usage());
    connected_ = connect != nullptr;
    if (!press_.isEmpty()) {
      QPushButton* button = FindButton(press_);
      if (button != nullptr) button->click();
      pressed_ = button != nullptr;
    }
    QTimer::singleShot(pollSeconds_ * 1000, this, [this] { ReportPolling(); });
  }

  void ReportPolling() {
    const rusage usage = Usage();
    int windows = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) windows += widget->isVisible() ? 1 : 0;
    char line[400];
    std::snprintf(line, sizeof line,
                  "poll seconds=%d connect=%s press=%s windows=%d cpu_s=%.3f maxrss_kb=%ld "
                  "status=\"%s\"",
                  pollSeconds_, connected_ ? "pressed" : "none",
                  press_.isEmpty() ? "-" : (pressed_ ? "pressed" : "none"), windows,
                  CpuSeconds(usage) - cpuAtStart_, usage.ru_maxrss,
                  StatusLine().toLatin1().constData());
    Report(line);
  }

  std::string mode_;
  int pollSeconds_;
  QWidget* window_ = nullptr;
  double showMs_ = 0;
  bool painted_ = false;
  bool connected_ = false;
  QString press_;
  bool pressed_ = false;
  double cpuAtStart_ = 0;
};

void InstallProbe() {
  const char* mode = std::getenv("KELO_PROBE_MODE");
  if (mode == nullptr) return;
  if (std::strcmp(mode, "startup") != 0 && std::strcmp(mode, "poll") != 0) {
    std::fprintf(stderr, "kelo-probe: unknown KELO_PROBE_MODE \"%s\"\n", mode);
    return;
  }
  const char* seconds = std::getenv("KELO_PROBE_SECONDS");
  auto* probe = new FirstShowProbe(mode, seconds != nullptr ? std::atoi(seconds) : 60,
                                   QString::fromLocal8Bit(qgetenv("KELO_PROBE_PRESS")));
  probe->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(probe);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
