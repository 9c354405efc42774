// The panel over a real pseudo-terminal: the POSIX port, the link's timing and the
// connection manager as the program runs them, with the test playing the machine at
// the master side. The panel runs on a real port here, so not on the panel fixture's
// in-memory one.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/posix_serial_port.h"
#include "panel/panel_dialog.h"
#include "pseudo_terminal.h"
#include "resources/control_ids.h"
#include "support/fake_host.h"

namespace {

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
    ASSERT_EQ(dlg.connection().SelectedDevice(), pty.SlavePath());
  }
  void PointComThreeAt(const PseudoTerminal& terminal) {
    host.profileStore.values["Ports/COM3"] = terminal.SlavePath();
  }
  // Connect pressed, then the connect tick that opens the port.
  void Connect() {
    dlg.connection().OnConnectClicked();
    ConnectTick();
  }
  // A connect tick once the open is prepared, as the link ticks before it prepare it in the
  // window, however long the search for other holders takes here.
  void ConnectTick() {
    while (!port.PrepareOpen(dlg.connection().SelectedDevice())) {
    }
    dlg.OnTimer(kConnectTimerId);
  }
  void LinkTick() { dlg.OnTimer(kLinkTimerId); }
  std::string Status() const { return dlg.controls().GetText(ids::kStatusLine); }
  std::string Caption() const { return dlg.controls().GetText(ids::kConnectButton); }

  PseudoTerminal pty;
  FakeHost host;
  PosixSerialPort port;
  CKeloConfigurationDlg dlg{host, port};
};

TEST_F(PanelOnPty, ConnectSetGoesOutByteExactAndRepliesAreReadOnTheReadTick) {
  Connect();
  ASSERT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Caption(), "Close");
  EXPECT_EQ(pty.Pending(), Bytes{});

  const int connectSet[] = {1, 1, 1, 1, 13, 3, 9, 11, 7, 19, 17, 17, 17, 17, 17, 17, 17, 17};
  LinkTick();
  int serial = 0;
  for (int code : connectSet) {
    ASSERT_EQ(pty.Read(kFrameSize), RequestFrame(code)) << "request " << serial;
    const Bytes reply = ReplyFrame(serial++);
    pty.Write(reply);
    ASSERT_TRUE(WaitForInput(port.Descriptor(), kFrameSize));
    LinkTick();
    EXPECT_EQ(dlg.link().replyCountdown(), 1);
    LinkTick();  // the read tick, which also sends the next request
    EXPECT_EQ(Status(), kLive);
    const Frame& received = dlg.link().replyFrame();
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), received.begin()));
  }
  EXPECT_EQ(dlg.link().queue().GetCount(), 0);
  EXPECT_EQ(pty.Pending(), Bytes{});
}

TEST_F(PanelOnPty, ClosedFarEndTakesTheLostPortPathAndALaterConnectWorks) {
  Connect();
  ASSERT_TRUE(dlg.link().IsOpen());
  LinkTick();
  ASSERT_EQ(pty.Read(kFrameSize), RequestFrame(1));
  pty.CloseMaster();  // the adapter is unplugged
  LinkTick();
  LinkTick();
  EXPECT_EQ(Status(), "STATUS: Not connected");
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_FALSE(dlg.link().IsOpen());
  EXPECT_EQ(dlg.link().queue().GetCount(), 0);
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  for (int i = 0; i < 5; ++i) LinkTick();  // stopped: nothing more happens
  EXPECT_EQ(Status(), "STATUS: Not connected");

  PseudoTerminal replugged;
  ASSERT_TRUE(replugged.ok());
  PointComThreeAt(replugged);
  Connect();
  EXPECT_EQ(Status(), "STATUS: Port Open");
  LinkTick();
  EXPECT_EQ(replugged.Read(kFrameSize), RequestFrame(1));
}

TEST_F(PanelOnPty, AttemptRetriesWhileTheDeviceIsMissingOrHeld) {
  host.profileStore.values["Ports/COM3"] = "/dev/kelo-no-such-adapter";
  Connect();
  EXPECT_EQ(Status(), "STATUS: Attempting Connection ,18s remaining");

  PointComThreeAt(pty);
  PosixSerialPort holder;  // another program has the adapter
  ASSERT_TRUE(holder.OpenPort(pty.SlavePath()));
  ConnectTick();
  EXPECT_EQ(Status(), "STATUS: Attempting Connection ,17s remaining");
  EXPECT_EQ(port.LastError(), PortError::kBusy);

  holder.ClosePort();
  ConnectTick();
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(PanelOnPty, CloseButtonReleasesTheDevice) {
  Connect();
  ASSERT_TRUE(dlg.link().IsOpen());
  dlg.connection().OnConnectClicked();  // confirmed with OK
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
  using Clock = std::chrono::steady_clock;

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
  dlg.connection().OnConnectClicked();
  while (!port.PrepareOpen(pty.SlavePath())) {
  }
  dlg.OnTimer(kConnectTimerId);
  ASSERT_TRUE(dlg.link().IsOpen());
  // A silent machine: every other tick reads nothing and sends the next request.
  for (int tick = 0; tick < 40; ++tick) dlg.OnTimer(kLinkTimerId);
  ASSERT_GE(port.breaks.size(), 18u);
  for (const auto duration : port.breaks) EXPECT_GE(duration.count(), 6000);
}

}  // namespace
