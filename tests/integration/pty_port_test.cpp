// PosixSerialPort and the panel over real pseudo-terminal pairs: the test holds the
// master side and plays the adapter's far end (the machine).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/posix_serial_port.h"
#include "panel/panel_dialog.h"
#include "support/fake_host.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

// Generous: only a broken test ever waits this long.
constexpr auto kPatience = std::chrono::seconds(5);
constexpr int kPollMs = 10;

// One pseudo-terminal pair; the slave's path stands for the adapter's device.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
    char name[128];
    if (ptsname_r(master_, name, sizeof name) == 0) slave_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  }
  ~PseudoTerminal() { CloseMaster(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  bool ok() const { return master_ >= 0 && !slave_.empty(); }
  const std::string& SlavePath() const { return slave_; }

  void Write(const Bytes& bytes) {
    std::size_t done = 0;
    const auto deadline = Clock::now() + kPatience;
    while (done < bytes.size() && Clock::now() < deadline) {
      const ssize_t wrote = write(master_, bytes.data() + done, bytes.size() - done);
      if (wrote > 0) done += static_cast<std::size_t>(wrote);
      if (wrote < 0 && errno != EAGAIN && errno != EINTR) break;
      if (wrote <= 0) Wait(POLLOUT);
    }
    ASSERT_EQ(done, bytes.size());
  }

  // The next count bytes that the slave side wrote, or fewer if they do not come.
  Bytes Read(std::size_t count) {
    Bytes got;
    const auto deadline = Clock::now() + kPatience;
    while (got.size() < count && Clock::now() < deadline) {
      uint8_t buffer[512];
      const std::size_t want = std::min(sizeof buffer, count - got.size());
      const ssize_t n = read(master_, buffer, want);
      if (n > 0) got.insert(got.end(), buffer, buffer + n);
      if (n < 0 && errno != EAGAIN && errno != EINTR) break;
      if (n <= 0) Wait(POLLIN);
    }
    return got;
  }

  // Whatever the slave side wrote and is there now.
  Bytes Pending() {
    Bytes got;
    uint8_t buffer[512];
    ssize_t n;
    while ((n = read(master_, buffer, sizeof buffer)) > 0)
      got.insert(got.end(), buffer, buffer + n);
    return got;
  }

  void CloseMaster() {
    if (master_ >= 0) close(master_);
    master_ = -1;
  }

 private:
  void Wait(short events) {
    pollfd watched{master_, events, 0};
    poll(&watched, 1, kPollMs);
  }

  int master_ = -1;
  std::string slave_;
};

// Waits until at least count bytes wait in the input buffer of the slave side:
// bytes written to a master reach the slave a moment later.
bool WaitForInput(int fd, int count) {
  const auto deadline = Clock::now() + kPatience;
  while (Clock::now() < deadline) {
    int waiting = 0;
    if (ioctl(fd, FIONREAD, &waiting) != 0) return false;
    if (waiting >= count) return true;
    pollfd watched{fd, POLLIN, 0};
    poll(&watched, 1, kPollMs);
    if (waiting > 0) usleep(1000);  // some bytes there: poll would not wait
  }
  return false;
}

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

// --- The whole panel on a pseudo-terminal ---

constexpr int kLink = kLinkTimerId;
constexpr int kConnect = kConnectTimerId;
const char* const kLive = "STATUS: Link is live  (Firmware Rev = 1vXX)";

Bytes RequestFrame(int code) {
  Bytes frame(kFrameSize, 0);
  frame[2] = static_cast<uint8_t>(code);
  return frame;
}

// A reply with code 2, which no handler takes, so the connect set runs undisturbed.
Bytes ReplyFrame(int serial) {
  Bytes frame(kFrameSize, static_cast<uint8_t>(serial));
  frame[0] = 0xA5;
  frame[2] = 2;
  return frame;
}

class PanelOnPty : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(pty.ok());
    host.profileStore.values["Kelo Config/Comm Port"] = "3";
    PointComThreeAt(pty);
    ASSERT_TRUE(dlg.OnInitDialog());
    ASSERT_EQ(dlg.commPort, 3);
  }
  void PointComThreeAt(const PseudoTerminal& terminal) {
    host.profileStore.values["Ports/COM3"] = terminal.SlavePath();
  }
  std::string Status() const { return dlg.controls().GetText(ids::kStatusLine); }
  std::string Caption() const { return dlg.controls().GetText(ids::kConnectButton); }

  PseudoTerminal pty;
  FakeHost host;
  PosixSerialPort port;
  CKeloConfigurationDlg dlg{host, port};
};

TEST_F(PanelOnPty, ConnectSetGoesOutByteExactAndRepliesAreReadOnTheReadTick) {
  dlg.OnConnectClicked();
  dlg.OnTimer(kConnect);
  ASSERT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Caption(), "Close");
  EXPECT_EQ(pty.Pending(), Bytes{});

  const int connectSet[] = {1, 1, 1, 1, 13, 3, 9, 11, 7, 19, 17, 17, 17, 17, 17, 17, 17, 17};
  dlg.OnTimer(kLink);
  int serial = 0;
  for (int code : connectSet) {
    ASSERT_EQ(pty.Read(kFrameSize), RequestFrame(code)) << "request " << serial;
    const Bytes reply = ReplyFrame(serial++);
    pty.Write(reply);
    ASSERT_TRUE(WaitForInput(port.Descriptor(), kFrameSize));
    dlg.OnTimer(kLink);
    EXPECT_EQ(dlg.replyCountdown, 1);
    dlg.OnTimer(kLink);  // the read tick, which also sends the next request
    EXPECT_EQ(Status(), kLive);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), dlg.replyFrame.begin()));
  }
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);
  EXPECT_EQ(pty.Pending(), Bytes{});
}

TEST_F(PanelOnPty, ClosedFarEndTakesTheLostPortPathAndALaterConnectWorks) {
  dlg.OnConnectClicked();
  dlg.OnTimer(kConnect);
  ASSERT_TRUE(dlg.portOpen);
  dlg.OnTimer(kLink);
  ASSERT_EQ(pty.Read(kFrameSize), RequestFrame(1));
  pty.CloseMaster();  // the adapter is unplugged
  dlg.OnTimer(kLink);
  dlg.OnTimer(kLink);
  EXPECT_EQ(Status(), "STATUS: Not connected");
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_FALSE(dlg.portOpen);
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  for (int i = 0; i < 5; ++i) dlg.OnTimer(kLink);  // stopped: nothing more happens
  EXPECT_EQ(Status(), "STATUS: Not connected");

  PseudoTerminal replugged;
  ASSERT_TRUE(replugged.ok());
  PointComThreeAt(replugged);
  dlg.OnConnectClicked();
  dlg.OnTimer(kConnect);
  EXPECT_EQ(Status(), "STATUS: Port Open");
  dlg.OnTimer(kLink);
  EXPECT_EQ(replugged.Read(kFrameSize), RequestFrame(1));
}

TEST_F(PanelOnPty, AttemptRetriesWhileTheDeviceIsMissingOrHeld) {
  host.profileStore.values["Ports/COM3"] = "/dev/kelo-no-such-adapter";
  dlg.OnConnectClicked();
  dlg.OnTimer(kConnect);
  EXPECT_EQ(Status(), "STATUS: Attempting Connection ,18s remaining");

  PointComThreeAt(pty);
  PosixSerialPort holder;  // another program has the adapter
  ASSERT_TRUE(holder.OpenPort(pty.SlavePath()));
  dlg.OnTimer(kConnect);
  EXPECT_EQ(Status(), "STATUS: Attempting Connection ,17s remaining");
  EXPECT_EQ(port.LastError(), PortError::kBusy);

  holder.ClosePort();
  dlg.OnTimer(kConnect);
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PanelOnPty, CloseButtonReleasesTheDevice) {
  dlg.OnConnectClicked();
  dlg.OnTimer(kConnect);
  ASSERT_TRUE(dlg.portOpen);
  dlg.OnConnectClicked();  // confirmed with OK
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
  PosixSerialPort other;
  EXPECT_TRUE(other.OpenPort(pty.SlavePath()));
}

// The host's own clock, as the programs have it, so the break is timed for real.
class SystemClockHost : public FakeHost {
 public:
  int64_t MonotonicMicros() override { return clock_.MonotonicMicros(); }
  void SleepUntilMicros(int64_t micros) override { clock_.SleepUntilMicros(micros); }

 private:
  SystemLinkClock clock_;
};

// Times each break on the line from the return of the break-on call to the break-off
// call, which is never longer than what a trace of the two system calls shows.
class BreakTimingPort : public PosixSerialPort {
 public:
  bool SetBreak() override {
    const bool set = PosixSerialPort::SetBreak();
    on_ = Clock::now();
    return set;
  }
  bool ClearBreak() override {
    breaks.push_back(std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - on_));
    return PosixSerialPort::ClearBreak();
  }
  std::vector<std::chrono::microseconds> breaks;

 private:
  Clock::time_point on_;
};

TEST(BreakOnPty, EveryBreakLastsAtLeastSixMilliseconds) {
  PseudoTerminal pty;
  ASSERT_TRUE(pty.ok());
  SystemClockHost host;
  host.profileStore.values["Ports/COM1"] = pty.SlavePath();
  BreakTimingPort port;
  CKeloConfigurationDlg dlg{host, port};
  dlg.OnInitDialog();
  dlg.OnConnectClicked();
  dlg.OnTimer(kConnect);
  ASSERT_TRUE(dlg.portOpen);
  // A silent machine: every other tick reads nothing and sends the next request.
  for (int tick = 0; tick < 40; ++tick) dlg.OnTimer(kLink);
  ASSERT_GE(port.breaks.size(), 18u);
  for (const auto duration : port.breaks) EXPECT_GE(duration.count(), 6000);
}

}  // namespace
