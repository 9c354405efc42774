// How long each link and connect tick holds the UI thread while the panel opens a port,
// with however many processes the machine runs (scripts/bench.sh starts 1,000 extra ones).
// The panel runs headless on a real pseudo-terminal, its ticks driven back to back as the
// window's timers would deliver them: eight link ticks to each connect tick, the connect
// tick first, as it may come right after the click.
//
//   free   nobody else holds the device: ticks from Connect to "STATUS: Port Open"
//   held   another process holds it: the refusal naming it, on each of three tries
//
// Prints one line per case in milliseconds: the slowest link tick, the slowest connect
// tick (wall time: what the window waits), the most CPU time any tick took (the work itself,
// apart from what a loaded machine adds), and the UI time of all ticks until the outcome.
// Not a test: nothing here fails on a time.

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <string_view>

#include "batch_host.h"
#include "link/posix_serial_port.h"
#include "panel/ini_profile.h"
#include "panel/panel_dialog.h"
#include "resources/control_ids.h"
#include "trace.h"

namespace {

constexpr int kLinkTicksPerConnectTick = 8;
constexpr int kMaxConnectTicks = 6;

struct Figures {
  double slowestLinkMs = 0;
  double slowestConnectMs = 0;
  double mostCpuMs = 0;
  double totalMs = 0;
  int connectTicks = 0;
  std::string status;
  std::string reason;
};

// The batch host without its notes on standard error.
class QuietHost : public BatchHost {
 public:
  using BatchHost::BatchHost;
  void Note(std::string_view /*text*/) override {}
};

double ThreadCpuMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// The tick's wall time; its CPU time goes into the figures.
double TimedTick(CKeloConfigurationDlg& panel, int timerId, Figures& figures) {
  const double cpu = ThreadCpuMs();
  const auto start = std::chrono::steady_clock::now();
  panel.OnTimer(timerId);
  const auto end = std::chrono::steady_clock::now();
  figures.mostCpuMs = std::max(figures.mostCpuMs, ThreadCpuMs() - cpu);
  return std::chrono::duration<double, std::milli>(end - start).count();
}

int RunningProcesses() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    count += std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; });
  }
  return count;
}

// Connect, then ticks until the port opens or `tries` connect ticks have passed.
Figures Connect(const std::string& profilePath, int tries) {
  IniFileProfile profile(profilePath);
  std::ostream quiet(nullptr);
  Trace trace(quiet);
  QuietHost host(trace, profile);
  PosixSerialPort port;
  CKeloConfigurationDlg panel(host, port);
  panel.OnInitDialog();
  panel.connection().OnConnectClicked();
  Figures figures;
  while (figures.connectTicks < tries && !panel.link().IsOpen()) {
    const double connect = TimedTick(panel, kConnectTimerId, figures);
    ++figures.connectTicks;
    figures.slowestConnectMs = std::max(figures.slowestConnectMs, connect);
    figures.totalMs += connect;
    for (int i = 0; i < kLinkTicksPerConnectTick && !panel.link().IsOpen(); ++i) {
      const double link = TimedTick(panel, kLinkTimerId, figures);
      figures.slowestLinkMs = std::max(figures.slowestLinkMs, link);
      figures.totalMs += link;
    }
  }
  figures.status = panel.controls().GetText(ids::kStatusLine);
  const Outcome& failure = panel.link().openFailure();
  if (failure) figures.reason = failure->reason;
  panel.OnDestroy();
  return figures;
}

void Print(const char* name, const Figures& f, int processes) {
  std::printf(
      "kelo-open-ticks case=%s processes=%d slowest_link_tick_ms=%.2f "
      "slowest_connect_tick_ms=%.2f most_tick_cpu_ms=%.2f ui_ms_until_outcome=%.2f "
      "connect_ticks=%d status=\"%s\" reason=\"%s\"\n",
      name, processes, f.slowestLinkMs, f.slowestConnectMs, f.mostCpuMs, f.totalMs, f.connectTicks,
      f.status.c_str(), f.reason.c_str());
}

}  // namespace

int main() {
  const int controller = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (controller < 0 || grantpt(controller) != 0 || unlockpt(controller) != 0) return 1;
  const std::string terminal = ptsname(controller);
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("kelo-open-ticks-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string profilePath = (folder / "kelo-configuration.ini").string();
  std::ofstream(profilePath) << "[Kelo Config]\nComm Port=1\n[Ports]\nCOM1=" << terminal << "\n";

  const int processes = RunningProcesses();
  Print("free", Connect(profilePath, kMaxConnectTicks), processes);

  const pid_t holder = fork();
  if (holder == 0) {
    close(controller);  // else the child plays the far end, which is no holder
    const int held = open(terminal.c_str(), O_RDWR | O_NOCTTY);
    pause();
    _exit(held < 0 ? 1 : 0);
  }
  usleep(100'000);  // for the child's open
  Print("held", Connect(profilePath, 3), processes);
  kill(holder, SIGTERM);
  waitpid(holder, nullptr, 0);

  std::filesystem::remove_all(folder);
  close(controller);
  return 0;
}
