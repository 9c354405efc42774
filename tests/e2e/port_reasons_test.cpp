// Why a connection cannot be made, as kelo-batch traces it, on real pseudo-terminals:
// side by side with the simulated machine, whose own hold on its line is no competitor.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "find_command.h"
#include "panel/ini_profile.h"
#include "support/child_process.h"

namespace {

const char* const kTryConnecting = "at 0 click 1026\nat 20 quit\n";

// A pseudo-terminal whose controller side this test keeps: the adapter's far end.
class Terminal {
 public:
  Terminal() {
    controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (controller_ >= 0 && grantpt(controller_) == 0 && unlockpt(controller_) == 0 &&
        ptsname_r(controller_, name, sizeof name) == 0) {
      path_ = name;
    }
  }
  ~Terminal() {
    if (controller_ >= 0) close(controller_);
  }
  Terminal(const Terminal&) = delete;
  Terminal& operator=(const Terminal&) = delete;
  const std::string& path() const { return path_; }

 private:
  int controller_ = -1;
  std::string path_;
};

std::vector<std::string> Notes(const BatchRun& run) {
  return run.All("note");
}

TEST(PortReasons, TheSimulatedMachineConnectsWithoutAReason) {
  const BatchRun run = RunAgainstSimulator({}, kTryConnecting);
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(run.HasLine("text", "1071 \"STATUS: Port Open\""));
  EXPECT_TRUE(Notes(run).empty());
}

TEST(PortReasons, AMissingDeviceIsNamed) {
  const BatchRun run = RunBatchOn("/dev/kelo-no-such-adapter", kTryConnecting);
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_EQ(Notes(run), std::vector<std::string>{"\"No such device: /dev/kelo-no-such-adapter\""});
  // The countdown goes on as ever.
  EXPECT_TRUE(run.HasLine("text", "1071 \"STATUS: Attempting Connection ,18s remaining\""));
}

// Not the dialout group's: the dialout command would not help.
TEST(PortReasons, ADeviceTheUserMayNotOpenIsNamedWithItsOwnerGroupAndMode) {
  Terminal terminal;
  ASSERT_FALSE(terminal.path().empty());
  ASSERT_EQ(chmod(terminal.path().c_str(), 0), 0);
  struct stat status {};
  ASSERT_EQ(stat(terminal.path().c_str(), &status), 0);
  const passwd* owner = getpwuid(status.st_uid);
  const group* group = getgrgid(status.st_gid);
  ASSERT_TRUE(owner != nullptr && group != nullptr);
  const BatchRun run = RunBatchOn(terminal.path(), kTryConnecting, true);
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_EQ(Notes(run),
            std::vector<std::string>{"\"Permission denied: " + terminal.path() + " is " +
                                     owner->pw_name + ":" + group->gr_name + ", mode 000\""});
}

TEST(PortReasons, ADeviceAnotherProcessHoldsIsRefusedWithThatProcessNamed) {
  Terminal terminal;
  ASSERT_FALSE(terminal.path().empty());
  ChildProcess holder({"/bin/sh", "-c", "exec 3<>" + terminal.path() + " && echo $$ && read x"}, {},
                      true);
  const std::optional<std::string> pid = holder.ReadLine(5000);
  ASSERT_TRUE(pid);
  const BatchRun run = RunBatchOn(terminal.path(), kTryConnecting);
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_EQ(Notes(run), std::vector<std::string>{"\"" + terminal.path() + " is in use by sh (PID " +
                                                 *pid + ")\""});
  EXPECT_FALSE(run.HasLine("text", "1071 \"STATUS: Port Open\""));
}

// From a shell, Find machine ends with the device alone on standard output, or why none was.
TEST(PortReasons, FindMachineEndsWithTheDeviceAloneOrWhyNoneAnswered) {
  ChildProcess sim({BRUMO_SIM_PATH});
  const std::optional<std::string> machine = sim.ReadLine(5000);
  const Terminal silent;
  ASSERT_TRUE(machine && !silent.path().empty());
  const std::string profilePath = "/tmp/kelo-find-" + std::to_string(getpid()) + ".ini";
  for (const auto& [device, out, err] : std::vector<std::array<std::string, 3>>{
           {*machine, *machine + "\n", ""},
           {silent.path(), "", "kelo-batch: No machine answered\n"},
           {"/dev/kelo-no-such-adapter", "", "kelo-batch: Find machine: no adapter to ask\n"}}) {
    std::ofstream(profilePath) << "[Ports]\nCOM1=" << device << "\n";
    IniFileProfile profile(profilePath);
    std::ostringstream printed;
    std::ostringstream said;
    EXPECT_EQ(FindMachine({}, profile, printed, said), out.empty() ? 1 : 0) << device;
    EXPECT_EQ(printed.str(), out) << device;
    EXPECT_EQ(said.str(), err) << device;
  }
  unlink(profilePath.c_str());
}

}  // namespace
