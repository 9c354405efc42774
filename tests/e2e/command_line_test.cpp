// The three programs' command lines as a shell user meets them: a wrong one is refused with
// the usage on standard error before anything opens, and a missing display is said in one
// line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/child_process.h"

namespace {

struct CommandCase {
  std::vector<std::string> command;
  int status;
  std::string error;  // standard error in full; for status 2, what comes before the usage
};

TEST(CommandLine, AWrongOneGivesTheUsageAndStatus2AndNoDisplayIsOneLine) {
  const std::string gui = KELO_CONFIGURATION_PATH;
  const std::vector<CommandCase> cases = {
      {{gui, "--bogus"}, 2, "kelo-configuration: unknown option --bogus"},
      {{gui, "notes.txt"}, 2, "kelo-configuration: unexpected argument notes.txt"},
      {{gui, "-platform"}, 2, "kelo-configuration: -platform needs a value"},
      {{gui, "--reverse=yes"}, 2, "kelo-configuration: unknown option --reverse=yes"},
      // Qt's own options are Qt's.
      {{gui, "-platform", "offscreen", "-style=Fusion", "--reverse", "--version"}, 0, ""},
      {{gui},
       1,
       "kelo-configuration: no display to show the window on: neither DISPLAY nor "
       "WAYLAND_DISPLAY is set\n"},
      {{KELO_BATCH_PATH, "--bogus"}, 2, "kelo-batch: unknown option --bogus"},
      {{KELO_BATCH_PATH, "script", "stray"}, 2, "kelo-batch: unexpected argument stray"},
      {{KELO_BATCH_PATH}, 2, "kelo-batch: no script given"},
      {{BRUMO_SIM_PATH, "--bogus"}, 2, "brumo-sim: unknown option --bogus"},
      {{BRUMO_SIM_PATH, "stray"}, 2, "brumo-sim: unexpected argument stray"},
  };
  for (const CommandCase& c : cases) {
    // Without a display, and only standard error read.
    std::vector<std::string> shell = {"/bin/sh", "-c",
                                      "unset DISPLAY WAYLAND_DISPLAY WAYLAND_SOCKET "
                                      "QT_QPA_PLATFORM; exec \"$0\" \"$@\" 2>&1 >/dev/null"};
    shell.insert(shell.end(), c.command.begin(), c.command.end());
    ChildProcess child(shell);
    const std::string expected = c.status == 2 ? c.error + "\nUsage: " : c.error;
    const std::string error =
        child.ReadAll(10'000).substr(0, c.status == 2 ? expected.size() : std::string::npos);
    EXPECT_EQ(child.Wait(10'000), c.status) << c.command.back();
    EXPECT_EQ(error, expected) << c.command.back();
  }
}

}  // namespace
