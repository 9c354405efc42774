#include "link/link_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "link/command_codes.h"
#include "support/fake_link.h"
#include "support/fake_port.h"

namespace {

// Answers every request with a full reply carrying the request's code, as a healthy
// machine would.
std::vector<uint8_t> EchoReply(const FakeSerialPort::Frame& request) {
  return {0, 0, request[2], 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

class LinkEngineTest : public ::testing::Test {
 protected:
  void Open() { ASSERT_EQ(link.Open("/dev/adapter"), LinkEngine::OpenResult::kOpened); }

  // Runs link ticks and records, per tick, the code of the request sent (0 for none).
  std::vector<int> SentCodesPerTick(int ticks) {
    std::vector<int> codes;
    for (int i = 0; i < ticks; ++i) {
      const std::size_t before = port.written.size();
      link.Tick();
      codes.push_back(port.written.size() > before ? port.written[before + 2] : 0);
    }
    return codes;
  }

  void Ticks(int count) {
    for (int i = 0; i < count; ++i) link.Tick();
  }

  FakeSerialPort port;
  FakeLinkClock clock;
  FakeRequestSource source;
  RecordingListener listener;
  LinkEngine link{port, clock, source, listener};
};

TEST_F(LinkEngineTest, SendsOnTickNReadsOnNPlus2AndSendsTheNextOnTheSameTick) {
  Open();
  port.responder = EchoReply;
  for (int code : {19, 3, 1}) link.Queue(code);
  EXPECT_EQ(SentCodesPerTick(7), (std::vector<int>{1, 0, 3, 0, 19, 0, 0}));
  EXPECT_EQ(listener.events,
            (std::vector<std::string>{"reply 00 00 01 00 00 00 00 00 00 00 00 00",
                                      "reply 00 00 03 00 00 00 00 00 00 00 00 00",
                                      "reply 00 00 13 00 00 00 00 00 00 00 00 00"}));
  EXPECT_EQ(link.replyCountdown(), 0);
}

TEST_F(LinkEngineTest, IdleTickSendsNothingAndWhatTheListenerQueuesGoesOutNext) {
  Open();
  port.responder = EchoReply;
  listener.onIdle = [this] {
    for (int code : {cmd::kReadStatus, cmd::kReadLogPointer}) link.Queue(code);
  };
  link.Queue(cmd::kReadStatus);
  EXPECT_EQ(SentCodesPerTick(8), (std::vector<int>{1, 0, 0, 0, 17, 0, 1, 0}));
  EXPECT_EQ(std::count(listener.events.begin(), listener.events.end(), "idle"), 1);
}

TEST_F(LinkEngineTest, FrameGoesOutAfterPurgesAndABreakOfAtLeastSixMilliseconds) {
  Open();
  port.calls.clear();
  std::vector<int64_t> breakEdges;
  port.onBreakChange = [&](bool on) {
    if (on) clock.micros += 2'500;  // a slow break-on call does not shorten the break
    breakEdges.push_back(clock.micros);
  };
  clock.micros = 1'000'000;
  clock.earlyWakeups = 2;  // a sleep cut short is slept again
  link.Queue(cmd::kReadFirmware);
  link.Tick();
  const std::vector<std::string> expected = {
      "purge-tx", "purge-rx", "break-on", "break-off", "purge-rx", "write 00",
      "write 00", "write 13", "write 00", "write 00",  "write 00", "write 00",
      "write 00", "write 00", "write 00", "write 00",  "write 00"};
  EXPECT_EQ(port.calls, expected);
  EXPECT_EQ(breakEdges, (std::vector<int64_t>{1'002'500, 1'008'500}));
  EXPECT_EQ(clock.sleeps, (std::vector<int64_t>(3, 1'008'500)));
  EXPECT_EQ(link.replyCountdown(), 2);
}

class ShortReplyTest : public LinkEngineTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShortReplyTest, IsNotReportedAsAReplyAndTheNextCodeGoesOutOnTheSameTick) {
  const int length = GetParam();
  Open();
  port.responder = [](const FakeSerialPort::Frame& request) {
    return std::vector<uint8_t>{9, 9, request[2], 9, 9, 9, 9, 9, 9, 9, 9, 9};
  };
  link.Queue(cmd::kReadStatus);
  Ticks(3);  // a full reply to fill the slots
  port.responder = [length](const FakeSerialPort::Frame& request) {
    std::vector<uint8_t> reply = {7, 7, request[2], 7, 7, 7, 7, 7, 7, 7, 7, 7};
    reply.resize(static_cast<std::size_t>(length));
    return reply;
  };
  link.Queue(cmd::kReadSettings);
  link.Queue(cmd::kReadFirmware);
  EXPECT_EQ(SentCodesPerTick(3), (std::vector<int>{19, 0, 3}));
  EXPECT_EQ(listener.events.back(), "no-reply " + std::to_string(length));
  // Slots past the missing byte keep what they held.
  for (int i = 0; i < kFrameSize; ++i) {
    const int got = i == 2 ? 19 : 7;
    EXPECT_EQ(link.replyFrame()[static_cast<std::size_t>(i)], i < length ? got : (i == 2 ? 1 : 9))
        << i;
  }
  EXPECT_TRUE(link.IsOpen());
}

INSTANTIATE_TEST_SUITE_P(Lengths, ShortReplyTest, ::testing::Range(0, 12));

TEST_F(LinkEngineTest, FailedProbeTakesThePortAsLost) {
  Open();
  for (int code : {3, 9, 1}) link.Queue(code);
  Ticks(2);
  port.purgeTxSucceeds = false;
  Ticks(1);
  EXPECT_EQ(listener.events, std::vector<std::string>{"lost"});
  EXPECT_FALSE(link.IsOpen());
  EXPECT_EQ(link.queue().GetCount(), 0);
  EXPECT_EQ(port.handle, PortHandle::kNone);
  EXPECT_EQ(port.closes, 1);  // closed, so the device can be opened again
  const std::size_t sent = port.written.size();
  Ticks(5);
  EXPECT_EQ(port.written.size(), sent);
  EXPECT_EQ(listener.events.size(), 1u);
}

TEST_F(LinkEngineTest, ClosingWhileAReplyIsAwaitedEndsOnTheLostPortPathAsClosed) {
  Open();
  link.Queue(cmd::kReadStatus);
  link.Tick();
  link.Close();
  link.Queue(cmd::kReadSettings);
  Ticks(2);
  EXPECT_EQ(listener.events, std::vector<std::string>{"closed"});
  EXPECT_EQ(link.queue().GetCount(), 0);
}

TEST_F(LinkEngineTest, FailedWriteStopsTheFrameAndKeepsTheCountdown) {
  Open();
  port.writesBeforeFailure = 5;
  link.Queue(cmd::kReadStatus);
  link.Tick();
  EXPECT_EQ(port.written.size(), 5u);
  EXPECT_EQ(std::count_if(port.calls.begin(), port.calls.end(),
                          [](const std::string& c) { return c.starts_with("write"); }),
            6);
  EXPECT_EQ(link.replyCountdown(), 2);
  Ticks(2);
  EXPECT_EQ(listener.events, std::vector<std::string>{"no-reply 0"});
}

TEST_F(LinkEngineTest, ClosedLinkNeitherSendsNorGoesIdle) {
  link.Queue(cmd::kReadStatus);
  Ticks(10);
  EXPECT_TRUE(port.calls.empty());
  EXPECT_TRUE(listener.events.empty());
  EXPECT_EQ(link.queue().GetCount(), 1);
}

TEST_F(LinkEngineTest, OpenTellsWhichStepFailedAndClosesAPortItCannotConfigure) {
  port.openSucceeds = false;
  EXPECT_EQ(link.Open("/dev/a"), LinkEngine::OpenResult::kOpenFailed);
  port.openSucceeds = true;
  port.configureSucceeds = false;
  EXPECT_EQ(link.Open("/dev/b"), LinkEngine::OpenResult::kConfigureFailed);
  EXPECT_EQ(port.handle, PortHandle::kNone);
  EXPECT_FALSE(link.IsOpen());
  port.configureSucceeds = true;
  EXPECT_EQ(link.Open("/dev/c"), LinkEngine::OpenResult::kOpened);
  EXPECT_TRUE(link.IsOpen());
  EXPECT_EQ(port.calls, (std::vector<std::string>{"open /dev/a", "open /dev/b", "configure",
                                                  "close", "open /dev/c", "configure"}));
}

TEST_F(LinkEngineTest, OnlyTheLowByteOfEachSlotGoesOnTheWire) {
  Open();
  link.Queue(0x141);  // a code past a byte
  link.Tick();
  EXPECT_EQ(port.written, (std::vector<uint8_t>{0, 0, 0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(link.requestFrame()[2], 0x141);
}

}  // namespace
