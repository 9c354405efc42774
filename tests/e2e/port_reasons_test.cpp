// Why a connection cannot be made, as kelo-batch traces it, on real pseudo-terminals:
// side by side with the simulated machine, whose own hold on its line is no competitor.

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "e2e_support.h"
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
  EXPECT_EQ(Notes(run), std::vector<std::string>{"\"Permission denied: " + terminal.path() +
                                                 " is " + owner->pw_name + ":" + group->gr_name +
                                                 ", mode 000\""});
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

}  // namespace
