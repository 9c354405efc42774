#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/command_codes.h"
#include "support/panel_fixture.h"

namespace {

// Answers every request with a full reply carrying the request's code and an unused
// payload, as a healthy machine would.
std::vector<uint8_t> EchoReply(const FakeSerialPort::Frame& request) {
  return {0, 0, request[2], 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

class LinkCycleTest : public PanelFixture {
 protected:
  // Runs link ticks and records, per tick, the code of the request sent (0 for none).
  std::vector<int> SentCodesPerTick(int ticks) {
    std::vector<int> codes;
    for (int i = 0; i < ticks; ++i) {
      const std::size_t before = port.written.size();
      dlg.OnTimer(kLinkTimerId);
      codes.push_back(port.written.size() > before ? port.written[before + 2] : 0);
    }
    return codes;
  }
};

TEST_F(LinkCycleTest, SendsOnTickNReadsOnNPlus2AndSendsTheNextOnTheSameTick) {
  OpenPort();
  port.responder = EchoReply;
  for (int code : {19, 3, 1}) dlg.msgStack.Push(code);
  EXPECT_EQ(SentCodesPerTick(7), (std::vector<int>{1, 0, 3, 0, 19, 0, 0}));
  EXPECT_EQ(dlg.replyCountdown, 0);
}

TEST_F(LinkCycleTest, EmptyStackRefillsOnTheNextTickAndSendsThePollSetAfter) {
  OpenPort();
  port.responder = EchoReply;
  dlg.msgStack.Push(cmd::kReadStatus);
  // Send 1; read; refill; then the poll set 17, 27, 25, 1, 15, 1, two ticks apart.
  EXPECT_EQ(SentCodesPerTick(18),
            (std::vector<int>{1, 0, 0, 0, 17, 0, 27, 0, 25, 0, 1, 0, 15, 0, 1, 0, 0, 0}));
  EXPECT_EQ(Text(ids::kClockLine), "Time:01/01/70 00:00:00");
}

TEST_F(LinkCycleTest, APollPassTakes14TicksOr16WithRefCal) {
  OpenPort();
  port.responder = EchoReply;
  const std::vector<int> plain = SentCodesPerTick(1 + 14 + 14);
  EXPECT_EQ(std::vector<int>(plain.begin() + 1, plain.begin() + 15),
            (std::vector<int>{17, 0, 27, 0, 25, 0, 1, 0, 15, 0, 1, 0, 0, 0}));
  EXPECT_EQ(plain[15], 17);

  dlg.controls().SetCheck(ids::kRefCalCheck, 1);
  // The pass already pushed finishes, then the next refill includes 23.
  const std::vector<int> withRefCal = SentCodesPerTick(14 + 16 + 1);
  EXPECT_EQ(std::vector<int>(withRefCal.begin() + 14, withRefCal.begin() + 31),
            (std::vector<int>{17, 0, 27, 0, 25, 0, 1, 0, 15, 0, 1, 0, 23, 0, 0, 0, 17}));
}

TEST_F(LinkCycleTest, FrameGoesOutAfterPurgesAndABreakOfAtLeastSixMilliseconds) {
  OpenPort();
  std::vector<int64_t> breakEdges;
  port.onBreakChange = [&](bool on) {
    if (on) host.micros += 2'500;  // a slow break-on call does not shorten the break
    breakEdges.push_back(host.micros);
  };
  host.micros = 1'000'000;
  host.earlyWakeups = 2;  // a sleep cut short is slept again
  dlg.msgStack.Push(cmd::kReadFirmware);
  LinkTicks(1);
  const std::vector<std::string> expected = {
      "purge-tx", "purge-rx", "break-on", "break-off", "purge-rx", "write 00",
      "write 00", "write 13", "write 00", "write 00",  "write 00", "write 00",
      "write 00", "write 00", "write 00", "write 00",  "write 00"};
  EXPECT_EQ(port.calls, expected);
  EXPECT_EQ(breakEdges, (std::vector<int64_t>{1'002'500, 1'008'500}));
  EXPECT_EQ(host.sleeps, (std::vector<int64_t>(3, 1'008'500)));
  EXPECT_EQ(dlg.replyCountdown, 2);
}

TEST_F(LinkCycleTest, CompleteReplySetsTheLiveStatusBeforeDispatch) {
  OpenPort();
  port.responder = [](const FakeSerialPort::Frame&) {
    return std::vector<uint8_t>{0, 0, 0xEE, 1, 2, 3, 4, 5, 6, 7, 8, 9};  // no handler
  };
  dlg.msgStack.Push(cmd::kReadStatus);
  LinkTicks(3);
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Link is live  (Firmware Rev = 1vXX)");
  EXPECT_EQ(dlg.replyFrame, (std::array<int32_t, 12>{0, 0, 0xEE, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

class ShortReplyTest : public LinkCycleTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShortReplyTest, IsNotDispatchedAndTheNextCodeGoesOutOnTheSameTick) {
  const int length = GetParam();
  OpenPort();
  port.responder = [length](const FakeSerialPort::Frame& request) {
    std::vector<uint8_t> reply = {7, 7, request[2], 7, 7, 7, 7, 7, 7, 7, 7, 7};
    reply.resize(static_cast<std::size_t>(length));
    return reply;
  };
  dlg.replyFrame.fill(-1);
  dlg.msgStack.Push(cmd::kReadSettings);
  dlg.msgStack.Push(cmd::kReadStatus);
  EXPECT_EQ(SentCodesPerTick(3), (std::vector<int>{1, 0, 3}));
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Error- No Status from Brumo");
  // Cells past the missing byte keep what they held.
  for (int i = 0; i < kFrameSize; ++i) {
    EXPECT_EQ(dlg.replyFrame[static_cast<std::size_t>(i)], i < length ? 7 - (i == 2 ? 6 : 0) : -1)
        << i;
  }
  EXPECT_TRUE(dlg.portOpen);
}

INSTANTIATE_TEST_SUITE_P(Lengths, ShortReplyTest, ::testing::Range(0, 12));

TEST_F(LinkCycleTest, FailedProbeTakesThePortAsLost) {
  OpenPort();
  dlg.controls().SetText(ids::kConnectButton, "Close");
  for (int code : {3, 9, 1}) dlg.msgStack.Push(code);
  LinkTicks(2);
  port.purgeTxSucceeds = false;
  LinkTicks(1);
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Not connected");
  EXPECT_EQ(Text(ids::kConnectButton), "Connect");
  EXPECT_FALSE(dlg.portOpen);
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);
  EXPECT_EQ(port.handle, PortHandle::kNone);
  EXPECT_EQ(port.closes, 1);  // closed, so the device can be opened again
  const std::size_t sent = port.written.size();
  LinkTicks(5);
  EXPECT_EQ(port.written.size(), sent);
}

TEST_F(LinkCycleTest, ClosingWhileAReplyIsAwaitedEndsInNotConnected) {
  OpenPort();
  dlg.msgStack.Push(cmd::kReadStatus);
  LinkTicks(1);
  dlg.OnConnectClicked();  // Confirm Close Port: OK
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Link is stopped");
  dlg.msgStack.Push(cmd::kReadSettings);
  LinkTicks(2);
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Not connected");
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);
}

TEST_F(LinkCycleTest, FailedWriteStopsTheFrameAndKeepsTheCountdown) {
  OpenPort();
  port.writesBeforeFailure = 5;
  dlg.msgStack.Push(cmd::kReadStatus);
  LinkTicks(1);
  EXPECT_EQ(port.written.size(), 5u);
  EXPECT_EQ(std::count_if(port.calls.begin(), port.calls.end(),
                          [](const std::string& c) { return c.starts_with("write"); }),
            6);
  EXPECT_EQ(dlg.replyCountdown, 2);
  LinkTicks(2);
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Error- No Status from Brumo");
}

TEST_F(LinkCycleTest, StoppedLinkNeitherSendsNorRefills) {
  dlg.msgStack.Push(cmd::kReadStatus);
  dlg.txInProgress = true;
  LinkTicks(10);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(dlg.msgStack.GetCount(), 1);
  EXPECT_EQ(dlg.controls().GetProgress(ids::kLinkProgress), 50);
  EXPECT_EQ(Text(ids::kClockLine), "Local Time");
}

TEST_F(LinkCycleTest, ProgressRunsTwentyTicksAndClearsOnTheTwentyFirst) {
  dlg.txInProgress = true;
  std::vector<int> positions;
  for (int tick = 1; tick <= 21; ++tick) {
    LinkTicks(1);
    positions.push_back(dlg.controls().GetProgress(ids::kLinkProgress));
    EXPECT_EQ(dlg.txInProgress, tick < 21) << tick;
  }
  EXPECT_EQ(positions.front(), 5);
  EXPECT_EQ(positions[19], 100);
  EXPECT_EQ(positions[20], 0);
}

TEST_F(LinkCycleTest, BothRunsAdvanceTheSameBarEachReadingItAfresh) {
  dlg.txInProgress = true;
  dlg.rxInProgress = true;
  LinkTicks(1);
  EXPECT_EQ(dlg.controls().GetProgress(ids::kLinkProgress), 10);
  LinkTicks(9);
  EXPECT_EQ(dlg.controls().GetProgress(ids::kLinkProgress), 100);
  LinkTicks(1);  // Write's run ends and returns the bar to 0; Read's goes on from 0
  EXPECT_FALSE(dlg.txInProgress);
  EXPECT_TRUE(dlg.rxInProgress);
  EXPECT_EQ(dlg.controls().GetProgress(ids::kLinkProgress), 5);
}

TEST_F(LinkCycleTest, ClockLineShowsTheClockOfThePreviousPass) {
  OpenPort();
  dlg.deviceClock = 1'700'000'000;
  LinkTicks(1);
  EXPECT_EQ(Text(ids::kClockLine), "Time:11/14/23 22:13:20");
  dlg.deviceClock = -1;
  dlg.msgStack.Clear();
  LinkTicks(1);
  EXPECT_EQ(Text(ids::kClockLine), "Time: ");
}

}  // namespace
