// Who holds a port, with real pseudo-terminals held by real child processes.

#include "link/port_holders.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "support/child_process.h"

namespace {

// Generous: only a broken test ever waits this long.
constexpr int kPatienceMs = 5000;

// Holders as (pid, command) pairs, which compare and print.
using Held = std::vector<std::pair<int, std::string>>;

Held AsPairs(const std::vector<PortHolder>& holders) {
  Held pairs;
  for (const PortHolder& holder : holders) pairs.emplace_back(holder.pid, holder.command);
  return pairs;
}

// A pseudo-terminal pair; this process keeps its controller side.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    controller_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (controller_ >= 0 && grantpt(controller_) == 0 && unlockpt(controller_) == 0 &&
        ptsname_r(controller_, name, sizeof name) == 0) {
      terminal_ = name;
    }
  }
  ~PseudoTerminal() { CloseController(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  int Controller() const { return controller_; }
  void CloseController() {
    if (controller_ >= 0) close(controller_);
    controller_ = -1;
  }
  const std::string& Terminal() const { return terminal_; }

 private:
  int controller_ = -1;
  std::string terminal_;
};

// A folder of its own for links, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelo-holders-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // A symbolic link named `name` in this folder, pointing at `target`.
  std::string Link(const std::string& name, const std::string& target) const {
    const std::filesystem::path link = path_ / name;
    std::filesystem::create_symlink(target, link);
    return link.string();
  }

 private:
  std::filesystem::path path_;
};

// A shell that runs `script`, which prints the shell's pid once it is ready, then waits on its
// standard input until the test ends it. Its name in /proc is the last part of `shell`.
class Shell {
 public:
  Shell(const std::string& script, const std::string& shell = "/bin/sh")
      : process_({shell, "-c", script + " && echo $$ && read line"}, {}, true) {
    const std::optional<std::string> line = process_.ReadLine(kPatienceMs);
    if (line) std::from_chars(line->data(), line->data() + line->size(), pid_);
  }
  int Pid() const { return pid_; }

 private:
  ChildProcess process_;
  int pid_ = 0;
};

std::string Holding(const std::string& device) {
  return "exec 3<>" + device;
}

TEST(FindPortHolders, FindsAProcessHoldingTheTerminalByItsNodeAndThroughALink) {
  PseudoTerminal pair;
  ASSERT_FALSE(pair.Terminal().empty());
  const Shell holder(Holding(pair.Terminal()));
  ASSERT_GT(holder.Pid(), 0);
  ScratchFolder folder;
  const std::string byIdLink =
      folder.Link("usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0", pair.Terminal());

  const Held expected = {{holder.Pid(), "sh"}};
  EXPECT_EQ(AsPairs(FindPortHolders(pair.Terminal())), expected);
  EXPECT_EQ(AsPairs(FindPortHolders(byIdLink)), expected);
}

TEST(FindPortHolders, AProcessPlayingTheFarEndOfThePairIsNotAHolder) {
  PseudoTerminal pair;
  ASSERT_FALSE(pair.Terminal().empty());
  // The far end gets the controller side by inheritance and opens the terminal side too, as
  // the simulated machine does.
  const int inherited = dup(pair.Controller());
  ASSERT_GE(inherited, 0);
  const Shell farEnd(Holding(pair.Terminal()));
  close(inherited);
  const Shell holder(Holding(pair.Terminal()));
  ASSERT_GT(farEnd.Pid(), 0);
  ASSERT_GT(holder.Pid(), 0);

  const Held expected = {{holder.Pid(), "sh"}};
  EXPECT_EQ(AsPairs(FindPortHolders(pair.Terminal())), expected);
}

TEST(FindPortHolders, ThisProcessIsNeverAHolder) {
  PseudoTerminal pair;
  ASSERT_FALSE(pair.Terminal().empty());
  // The controller side goes to a child, so that only the terminal side stays here.
  const int inherited = dup(pair.Controller());
  ASSERT_GE(inherited, 0);
  const Shell farEnd("true");
  close(inherited);
  pair.CloseController();
  ASSERT_GT(farEnd.Pid(), 0);
  const int terminal = open(pair.Terminal().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_GE(terminal, 0);

  EXPECT_EQ(AsPairs(FindPortHolders(pair.Terminal())), Held{});
  close(terminal);
}

TEST(FindPortHolders, WhatIsNotACharacterDeviceHasNoHolders) {
  for (const char* path : {"/nonexistent/ttyUSB0", "/", ""})
    EXPECT_EQ(FindPortHolders(path).size(), 0u) << path;
}

struct GrabberCase {
  std::string name;
  bool grabber;
};

void PrintTo(const GrabberCase& row, std::ostream* out) {
  *out << row.name;
}

class RunningPortGrabbersByName : public testing::TestWithParam<GrabberCase> {};

TEST_P(RunningPortGrabbersByName, FindsTheKnownGrabbersOnly) {
  // A shell started through a link takes the link's name, as brltty's own binary has it.
  ScratchFolder folder;
  const Shell process("true", folder.Link(GetParam().name, "/bin/sh"));
  ASSERT_GT(process.Pid(), 0);

  const Held running = AsPairs(RunningPortGrabbers());
  const std::pair<int, std::string> expected{process.Pid(), GetParam().name};
  const bool found = std::find(running.begin(), running.end(), expected) != running.end();
  EXPECT_EQ(found, GetParam().grabber);
}

INSTANTIATE_TEST_SUITE_P(Names, RunningPortGrabbersByName,
                         testing::Values(GrabberCase{"brltty", true},
                                         GrabberCase{"ModemManager", true},
                                         GrabberCase{"minicom", false}));

}  // namespace
