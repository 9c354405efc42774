// PosixSerialPort over real pseudo-terminal pairs: the test holds the master side and
// plays the adapter's far end.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/posix_serial_port.h"
#include "pseudo_terminal.h"

namespace {

Bytes AllByteValues() {
  Bytes bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<uint8_t>(value));
  return bytes;
}

class PtyPort : public testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(pty.ok()); }
  void OpenAndConfigure() {
    ASSERT_TRUE(port.OpenPort(pty.SlavePath()));
    ASSERT_TRUE(port.ConfigurePort());
  }

  PseudoTerminal pty;
  PosixSerialPort port;
};

TEST_F(PtyPort, ConfigureSetsTheLineFormatAndKeepsModemControl) {
  ASSERT_TRUE(port.OpenPort(pty.SlavePath()));
  EXPECT_EQ(port.Handle(), PortHandle::kOpen);
  termios before{};
  ASSERT_EQ(tcgetattr(port.Descriptor(), &before), 0);
  ASSERT_TRUE(port.ConfigurePort());
  termios after{};
  ASSERT_EQ(tcgetattr(port.Descriptor(), &after), 0);

  EXPECT_EQ(cfgetispeed(&after), static_cast<speed_t>(B2400));
  EXPECT_EQ(cfgetospeed(&after), static_cast<speed_t>(B2400));
  EXPECT_EQ(after.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(after.c_cflag & (PARENB | CSTOPB | CRTSCTS | CREAD),
            static_cast<tcflag_t>(CSTOPB | CREAD));
  EXPECT_EQ(after.c_cflag & (HUPCL | CLOCAL), before.c_cflag & (HUPCL | CLOCAL));
  EXPECT_EQ(after.c_iflag & (INPCK | IXON | IXOFF | IXANY | ICRNL | ISTRIP), 0u);
  EXPECT_EQ(after.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
  EXPECT_EQ(after.c_oflag & OPOST, 0u);
  EXPECT_EQ(after.c_cc[VMIN], 0);
  EXPECT_EQ(after.c_cc[VTIME], 0);
}

TEST_F(PtyPort, EveryByteValueCrossesUnchangedBothWays) {
  OpenAndConfigure();
  const Bytes all = AllByteValues();
  for (uint8_t byte : all) ASSERT_TRUE(port.WritePortByte(byte));
  EXPECT_EQ(pty.Read(all.size()), all);

  pty.Write(all);
  ASSERT_TRUE(WaitForInput(port.Descriptor(), static_cast<int>(all.size())));
  Bytes received;
  for (std::size_t i = 0; i < all.size(); ++i)
    received.push_back(static_cast<uint8_t>(port.ReadPortByte()));
  EXPECT_EQ(received, all);
  EXPECT_EQ(port.ReadPortByte(), kNoByte);
  EXPECT_EQ(pty.Pending(), Bytes{});  // nothing echoed back
}

TEST_F(PtyPort, WriteSendsOnlyTheLowEightBits) {
  OpenAndConfigure();
  for (int32_t value : {0x141, -1, 0xFF00}) ASSERT_TRUE(port.WritePortByte(value));
  EXPECT_EQ(pty.Read(3), (Bytes{0x41, 0xFF, 0x00}));
}

// Fills the driver's output queue until it takes no more, even after a moment: the
// pseudo-terminal moves queued bytes on to the far end's buffer for a while.
void FillOutputQueue(int fd) {
  const Bytes chunk(4096, 0x55);
  pollfd watched{fd, POLLOUT, 0};
  do {
    while (write(fd, chunk.data(), chunk.size()) > 0) {
    }
    ASSERT_EQ(errno, EAGAIN);
  } while (poll(&watched, 1, 200) > 0);
}

TEST_F(PtyPort, WriteWaitsForRoomInAFullOutputQueue) {
  OpenAndConfigure();
  FillOutputQueue(port.Descriptor());
  const pid_t drainer = fork();
  ASSERT_GE(drainer, 0);
  if (drainer == 0) {  // the far end starts reading a moment later
    usleep(200'000);
    for (int i = 0; i < 50; ++i) {
      pty.Pending();
      usleep(10'000);
    }
    _exit(0);
  }
  EXPECT_TRUE(port.WritePortByte(0x42));
  int status = 0;
  waitpid(drainer, &status, 0);
}

TEST_F(PtyPort, WriteGivesUpWhenTheOutputQueueStaysFull) {
  OpenAndConfigure();
  FillOutputQueue(port.Descriptor());  // and nobody reads
  EXPECT_FALSE(port.WritePortByte(0x43));
  EXPECT_EQ(port.LastError(), PortError::kBusy);
}

TEST_F(PtyPort, ReadOnEmptyInputGivesTheMarkerAtOnce) {
  OpenAndConfigure();
  for (int i = 0; i < 100; ++i) ASSERT_EQ(port.ReadPortByte(), kNoByte);
  pty.Write({0x5A});
  ASSERT_TRUE(WaitForInput(port.Descriptor(), 1));
  EXPECT_EQ(port.ReadPortByte(), 0x5A);
  EXPECT_EQ(port.ReadPortByte(), kNoByte);
}

TEST_F(PtyPort, PurgeRxDropsStaleInputOnly) {
  OpenAndConfigure();
  pty.Write({1, 2, 3, 4, 5});
  ASSERT_TRUE(WaitForInput(port.Descriptor(), 5));
  EXPECT_TRUE(port.PurgeRx());
  EXPECT_EQ(port.ReadPortByte(), kNoByte);
  pty.Write({9});
  ASSERT_TRUE(WaitForInput(port.Descriptor(), 1));
  EXPECT_TRUE(port.PurgeTx());  // the transmit purge leaves input alone
  EXPECT_EQ(port.ReadPortByte(), 9);
}

TEST_F(PtyPort, BreakGoesOnAndOff) {
  OpenAndConfigure();
  EXPECT_TRUE(port.SetBreak());
  EXPECT_TRUE(port.ClearBreak());
}

TEST_F(PtyPort, SecondOpenFailsWhileHeldAndWorksAfterClose) {
  OpenAndConfigure();
  PosixSerialPort second;
  EXPECT_FALSE(second.OpenPort(pty.SlavePath()));
  EXPECT_EQ(second.Handle(), PortHandle::kBad);
  EXPECT_EQ(second.LastError(), PortError::kBusy);
  EXPECT_EQ(second.Descriptor(), -1);

  // Another program, root or not, is kept out as well.
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    PosixSerialPort other;
    _exit(other.OpenPort(pty.SlavePath()) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other program opened it";

  // The holder is undisturbed.
  ASSERT_TRUE(port.WritePortByte(0x33));
  EXPECT_EQ(pty.Read(1), Bytes{0x33});

  EXPECT_TRUE(port.ClosePort());
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  EXPECT_TRUE(second.OpenPort(pty.SlavePath()));
  EXPECT_TRUE(second.ConfigurePort());
}

// Another program has the device open: the open holds the device while it looks for such
// holders, names the holder in full (not cut to 15 characters) and leaves the flag unset.
TEST_F(PtyPort, AnOpenAnotherHoldsIsRefusedAndTheDeviceLeftAsFound) {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    pty.CloseMaster();  // else the child plays the far end, which holds nothing
    const int held = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    static_cast<void>(write(ready[1], "x", 1));
    pause();
    _exit(held < 0 ? 1 : 0);
  }
  char signal = 0;
  ASSERT_EQ(read(ready[0], &signal, 1), 1);
  // The device's exclusive flag; -1 when it keeps even this look out.
  const auto exclusive = [this] {
    const int look = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    int flag = -1;
    if (look >= 0 && ioctl(look, TIOCGEXCL, &flag) != 0) flag = -1;
    if (look >= 0) close(look);
    return flag;
  };

  while (!port.PrepareOpen(pty.SlavePath())) {
  }
  EXPECT_NE(exclusive(), 0);
  EXPECT_FALSE(port.OpenPort(pty.SlavePath()));
  ASSERT_TRUE(port.LastFailure());
  EXPECT_EQ(port.LastFailure()->reason, pty.SlavePath() + " is in use by integration_tests (PID " +
                                            std::to_string(holder) + ")");
  EXPECT_EQ(exclusive(), 0);

  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  close(ready[0]);
  close(ready[1]);
}

TEST_F(PtyPort, OpeningAgainWhileOpenReleasesTheFirstDevice) {
  PseudoTerminal other;
  ASSERT_TRUE(other.ok());
  OpenAndConfigure();
  // The same device again: the port's own hold does not stand in its way.
  EXPECT_TRUE(port.OpenPort(pty.SlavePath()));
  EXPECT_TRUE(port.OpenPort(other.SlavePath()));
  PosixSerialPort second;
  EXPECT_TRUE(second.OpenPort(pty.SlavePath()));
  PosixSerialPort third;
  EXPECT_FALSE(third.OpenPort(other.SlavePath()));
}

TEST_F(PtyPort, ClosedFarEndFailsTheProbeAndReadsNothing) {
  OpenAndConfigure();
  EXPECT_TRUE(port.PurgeTx());
  pty.CloseMaster();
  EXPECT_FALSE(port.PurgeTx());
  EXPECT_EQ(port.LastError(), PortError::kLost);
  EXPECT_EQ(port.ReadPortByte(), kNoByte);
  EXPECT_FALSE(port.WritePortByte(0x11));
  EXPECT_EQ(port.Handle(), PortHandle::kOpen);  // until closed
  port.ClosePort();
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  EXPECT_FALSE(port.PurgeTx());
  EXPECT_EQ(port.ReadPortByte(), kNoByte);
}

TEST(PosixSerialPort, WithoutAnOpenHandleEveryOperationFails) {
  PosixSerialPort port;
  for (int round = 0; round < 2; ++round) {
    EXPECT_FALSE(port.PurgeTx());
    EXPECT_FALSE(port.PurgeRx());
    EXPECT_FALSE(port.WritePortByte(0x41));
    EXPECT_EQ(port.ReadPortByte(), kNoByte);
    EXPECT_FALSE(port.SetBreak());
    EXPECT_FALSE(port.ClearBreak());
    EXPECT_FALSE(port.ConfigurePort());
    EXPECT_EQ(port.LastError(), PortError::kNotOpen);
    // Then the same with the bad handle that a failed open leaves.
    EXPECT_FALSE(port.OpenPort("/dev/kelo-no-such-adapter"));
    EXPECT_EQ(port.Handle(), PortHandle::kBad);
  }
  port.ClosePort();
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
}

TEST(PosixSerialPort, OpenFailsOnWhatIsNotASerialDevice) {
  const std::string file =
      (std::filesystem::temp_directory_path() / ("kelo-not-a-tty-" + std::to_string(getpid())))
          .string();
  std::ofstream(file) << "x";
  const std::pair<std::string, PortError> cases[] = {
      {"/dev/kelo-no-such-adapter", PortError::kNoDevice},
      {"", PortError::kNoDevice},
      {file, PortError::kNotATerminal},
      {"/dev/null", PortError::kNotATerminal},
      {std::filesystem::temp_directory_path().string(), PortError::kNotATerminal},
  };
  for (const auto& [path, error] : cases) {
    PosixSerialPort port;
    EXPECT_FALSE(port.OpenPort(path)) << path;
    EXPECT_EQ(port.Handle(), PortHandle::kBad) << path;
    EXPECT_EQ(port.LastError(), error) << path;
    EXPECT_EQ(port.Descriptor(), -1) << path;  // nothing left open
  }
  std::filesystem::remove(file);
}

}  // namespace
