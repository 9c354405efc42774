// The three programs' command lines as a shell user meets them: a wrong one is refused with
// the usage on standard error before anything opens, a missing display is said in one line,
// and Find machine ends with the device alone on standard output.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "find_command.h"
#include "panel/ini_profile.h"
#include "support/child_process.h"

namespace {

constexpr int kPatienceMs = 10'000;

// `program args` without a display in its environment: its exit status and standard error.
std::pair<int, std::string> RunWithoutDisplay(const std::string& program,
                                              const std::vector<std::string>& args) {
  std::vector<std::string> command = {"/usr/bin/env",    "-u", "DISPLAY",         "-u",
                                      "WAYLAND_DISPLAY", "-u", "WAYLAND_SOCKET",  "-u",
                                      "QT_QPA_PLATFORM", "/bin/sh", "-c",
                                      "exec \"$0\" \"$@\" 2>&1 >/dev/null", program};
  command.insert(command.end(), args.begin(), args.end());
  ChildProcess child(command);
  std::string error = child.ReadAll(kPatienceMs);
  return {child.Wait(kPatienceMs).value_or(-1), std::move(error)};
}

struct CommandCase {
  std::string program;
  std::vector<std::string> args;
  int status;
  std::string error;  // standard error in full; for status 2, its start before the usage
};

TEST(CommandLine, AWrongOneGivesTheUsageAndStatus2AndNoDisplayIsOneLine) {
  const std::string usage = "\nUsage: ";
  const std::vector<CommandCase> cases = {
      {KELO_CONFIGURATION_PATH, {"--bogus"}, 2, "kelo-configuration: unknown option --bogus"},
      {KELO_CONFIGURATION_PATH, {"notes.txt"}, 2,
       "kelo-configuration: unexpected argument notes.txt"},
      {KELO_CONFIGURATION_PATH, {"-platform"}, 2, "kelo-configuration: -platform needs a value"},
      {KELO_CONFIGURATION_PATH, {"--reverse=yes"}, 2,
       "kelo-configuration: unknown option --reverse=yes"},
      // Qt's own options are Qt's.
      {KELO_CONFIGURATION_PATH,
       {"-platform", "offscreen", "-style=Fusion", "--reverse", "--version"},
       0,
       ""},
      {KELO_CONFIGURATION_PATH,
       {},
       1,
       "kelo-configuration: no display to show the window on: neither DISPLAY nor "
       "WAYLAND_DISPLAY is set\n"},
      {KELO_BATCH_PATH, {"--bogus"}, 2, "kelo-batch: unknown option --bogus"},
      {KELO_BATCH_PATH, {"script", "stray"}, 2, "kelo-batch: unexpected argument stray"},
      {KELO_BATCH_PATH, {}, 2, "kelo-batch: no script given"},
      {BRUMO_SIM_PATH, {"--bogus"}, 2, "brumo-sim: unknown option --bogus"},
      {BRUMO_SIM_PATH, {"stray"}, 2, "brumo-sim: unexpected argument stray"},
  };
  for (const CommandCase& c : cases) {
    const std::string name = c.program + (c.args.empty() ? "" : " " + c.args.front());
    const auto [status, error] = RunWithoutDisplay(c.program, c.args);
    EXPECT_EQ(status, c.status) << name;
    if (c.status == 2) {
      EXPECT_EQ(error.substr(0, c.error.size() + usage.size()), c.error + usage) << name;
    } else {
      EXPECT_EQ(error, c.error) << name;
    }
  }
}

// A pseudo-terminal whose far end this test holds and never answers on.
class SilentTerminal {
 public:
  SilentTerminal() {
    controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (controller_ >= 0 && grantpt(controller_) == 0 && unlockpt(controller_) == 0 &&
        ptsname_r(controller_, name, sizeof name) == 0) {
      path_ = name;
    }
  }
  ~SilentTerminal() {
    if (controller_ >= 0) close(controller_);
  }
  SilentTerminal(const SilentTerminal&) = delete;
  SilentTerminal& operator=(const SilentTerminal&) = delete;
  const std::string& path() const { return path_; }

 private:
  int controller_ = -1;
  std::string path_;
};

struct FindCase {
  std::string device;  // named as COM1; no adapter is detected
  std::string out;
  std::string err;
  int status;
};

TEST(CommandLine, FindMachineEndsWithTheDeviceAloneOrWhyNoneAnswered) {
  ChildProcess sim({BRUMO_SIM_PATH});
  const std::optional<std::string> machine = sim.ReadLine(kPatienceMs);
  ASSERT_TRUE(machine);
  const SilentTerminal silent;
  ASSERT_FALSE(silent.path().empty());
  const std::vector<FindCase> cases = {
      {*machine, *machine + "\n", "", 0},
      {silent.path(), "", "kelo-batch: No machine answered\n", 1},
      {"/dev/kelo-no-such-adapter", "", "kelo-batch: Find machine: no adapter to ask\n", 1},
  };
  const std::filesystem::path profilePath =
      std::filesystem::temp_directory_path() / ("kelo-find-" + std::to_string(getpid()) + ".ini");
  for (const FindCase& c : cases) {
    std::ofstream(profilePath) << "[Ports]\nCOM1=" << c.device << "\n";
    IniFileProfile profile(profilePath.string());
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(FindMachine({}, profile, out, err), c.status) << c.device;
    EXPECT_EQ(out.str(), c.out) << c.device;
    EXPECT_EQ(err.str(), c.err) << c.device;
  }
  std::filesystem::remove(profilePath);
}

}  // namespace
