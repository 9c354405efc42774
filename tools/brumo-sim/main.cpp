// brumo-sim: a simulated Brumo fog machine on a pseudo-terminal, for trying the panel
// without hardware and for the end-to-end tests.
#include <sys/signalfd.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "tools/brumo-sim/line_session.h"
#include "tools/brumo-sim/machine.h"
#include "tools/brumo-sim/options.h"
#include "tools/brumo-sim/pseudo_terminal.h"
#include "tools/brumo-sim/server.h"

namespace {

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// SIGINT, SIGTERM and SIGHUP arrive through a descriptor the event loop polls.
int OpenSignalFd() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGHUP);
  if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return -1;
  return signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const sim::ParsedOptions parsed = sim::ParseOptions(args, std::time(nullptr));
  if (!parsed.error.empty()) {
    std::cerr << "brumo-sim: " << parsed.error << "\n" << sim::UsageText();
    return 2;
  }
  if (parsed.version) {
    std::cout << "brumo-sim " << KELO_VERSION << "\n";
    return 0;
  }
  if (parsed.help) {
    std::cout << sim::UsageText();
    return 0;
  }
  const sim::SimOptions& options = parsed.options;

  std::signal(SIGPIPE, SIG_IGN);
  const int signalFd = OpenSignalFd();
  if (signalFd < 0) {
    std::perror("brumo-sim: signalfd");
    return 1;
  }
  std::string error;
  sim::PseudoTerminal pty;
  if (!pty.Open(error)) {
    std::cerr << "brumo-sim: " << error << "\n";
    return 1;
  }
  sim::DeviceLink link;
  if (!options.linkPath.empty() && !link.Create(options.linkPath, pty.TerminalPath(), error)) {
    std::cerr << "brumo-sim: " << error << "\n";
    return 1;
  }
  std::cout << pty.TerminalPath() << std::endl;

  const int64_t startMs = SteadyMs();
  const sim::LineSession::Logger log = [&options, startMs](const std::string& line) {
    if (!options.verbose) return;
    std::fprintf(stderr, "[%8.3f] %s\n", static_cast<double>(SteadyMs() - startMs) / 1000.0,
                 line.c_str());
  };
  sim::BrumoMachine machine(options.machine, SteadyMs);
  sim::LineSession session(machine, options.faults, log);
  const sim::ServeEnd end =
      sim::Serve(pty.ControllerFd(), signalFd, session, SteadyMs, options.hangupAfterMs, log);
  if (end == sim::ServeEnd::kHangup) log("hanging up");
  pty.Close();
  link.Remove();
  close(signalFd);
  return end == sim::ServeEnd::kError ? 1 : 0;
}
