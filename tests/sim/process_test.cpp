// The built brumo-sim as the panel meets it: a device path on the first line, a
// pseudo-terminal that answers requests, a clean end on SIGTERM or at its hang-up time.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace {

constexpr int kGenerousMs = 10'000;

int64_t SteadyMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A running brumo-sim with its standard output on a pipe; killed if a test fails early.
class SimProcess : public ChildProcess {
 public:
  explicit SimProcess(std::vector<std::string> args) : ChildProcess(WithProgram(std::move(args))) {}
  std::optional<std::string> FirstLine() { return ReadLine(kGenerousMs); }
  std::optional<int> ExitStatus() { return Wait(kGenerousMs); }

 private:
  static std::vector<std::string> WithProgram(std::vector<std::string> args) {
    args.insert(args.begin(), BRUMO_SIM_PATH);
    return args;
  }
};

// Opens the terminal side as the panel does: raw, non-blocking.
int OpenTerminal(const std::string& path) {
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return fd;
  termios t{};
  tcgetattr(fd, &t);
  cfmakeraw(&t);
  tcsetattr(fd, TCSANOW, &t);
  return fd;
}

std::vector<uint8_t> ReadBytes(int fd, std::size_t count) {
  std::vector<uint8_t> bytes;
  const int64_t end = SteadyMs() + kGenerousMs;
  while (bytes.size() < count && SteadyMs() < end) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 100) <= 0) continue;
    uint8_t buffer[64];
    const ssize_t n = read(fd, buffer, count - bytes.size());
    if (n <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + n);
  }
  return bytes;
}

std::filesystem::path TempDir() {
  char pattern[] = "/tmp/brumo-sim-test-XXXXXX";
  const char* dir = mkdtemp(pattern);
  return dir ? dir : "";
}

TEST(BrumoSimProcess, AnswersTheFirmwareRequestOnItsTerminalAndEndsCleanly) {
  const std::filesystem::path dir = TempDir();
  ASSERT_FALSE(dir.empty());
  const std::filesystem::path link = dir / "brumo";
  SimProcess sim({"--firmware", "9v87", "--link", link.string()});
  ASSERT_TRUE(sim.Started());
  const std::optional<std::string> device = sim.FirstLine();
  ASSERT_TRUE(device);
  EXPECT_EQ(std::filesystem::read_symlink(link), *device);

  const int fd = OpenTerminal(link.string());
  ASSERT_GE(fd, 0);
  const std::array<uint8_t, 12> request = {0, 0, 19, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  ASSERT_EQ(write(fd, request.data(), request.size()), 12);
  EXPECT_EQ(ReadBytes(fd, 12), (std::vector<uint8_t>{0, 0, 19, '9', 'v', '8', '7', 0, 0, 0, 0, 0}));
  close(fd);

  sim.Signal(SIGTERM);
  EXPECT_EQ(sim.ExitStatus(), 0);
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(link)));
  std::filesystem::remove_all(dir);
}

TEST(BrumoSimProcess, TheTerminalSurvivesThePanelReopeningIt) {
  SimProcess sim({});
  ASSERT_TRUE(sim.Started());
  const std::optional<std::string> device = sim.FirstLine();
  ASSERT_TRUE(device);
  for (int round = 0; round < 2; ++round) {
    const int fd = OpenTerminal(*device);
    ASSERT_GE(fd, 0);
    const std::array<uint8_t, 12> request = {0, 0, 17, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(write(fd, request.data(), request.size()), 12);
    EXPECT_EQ(ReadBytes(fd, 12), (std::vector<uint8_t>{0, 0, 17, 0x84, 0x03, 0, 0, 0, 0, 0, 0, 0}))
        << "round " << round;
    close(fd);
  }
  sim.Signal(SIGINT);
  EXPECT_EQ(sim.ExitStatus(), 0);
}

TEST(BrumoSimProcess, HangsUpTheTerminalAtTheGivenTime) {
  SimProcess sim({"--hangup-after", "0.2"});
  ASSERT_TRUE(sim.Started());
  const std::optional<std::string> device = sim.FirstLine();
  ASSERT_TRUE(device);
  const int fd = OpenTerminal(*device);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(sim.ExitStatus(), 0);
  // The panel's side now sees the hang-up: its purge, the lost-port probe, fails.
  pollfd p{fd, POLLIN, 0};
  EXPECT_EQ(poll(&p, 1, kGenerousMs), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  EXPECT_NE(tcflush(fd, TCOFLUSH), 0);
  close(fd);
}

TEST(BrumoSimProcess, RefusesABadCommandLine) {
  SimProcess sim({"--short", "12"});
  ASSERT_TRUE(sim.Started());
  EXPECT_EQ(sim.ExitStatus(), 2);
}

}  // namespace
