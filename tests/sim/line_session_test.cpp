#include "tools/brumo-sim/line_session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using sim::Bytes;
using sim::LineSession;
using sim::ReplyFaults;

Bytes RequestBytes(uint8_t code) {
  Bytes bytes(12, 0);
  bytes[2] = code;
  return bytes;
}

// The firmware reply of the default machine.
const Bytes kFirmwareReply = {0, 0, 19, '2', 'v', '1', '5', 0, 0, 0, 0, 0};

struct SessionTest : ::testing::Test {
  void Start(const ReplyFaults& faults) {
    session = std::make_unique<LineSession>(
        machine, faults, [this](const std::string& line) { log.push_back(line); });
  }
  void Send(uint8_t code, int64_t atMs) {
    const Bytes request = RequestBytes(code);
    session->Receive(request.data(), request.size(), atMs);
  }

  int64_t nowMs = 0;
  sim::BrumoMachine machine{sim::MachineSetup{}, [this] { return nowMs; }};
  std::unique_ptr<LineSession> session;
  std::vector<std::string> log;
};

struct FaultCase {
  const char* what;
  ReplyFaults faults;
  int64_t dueAfterMs;
  Bytes bytes;  // empty: no reply at all
};

ReplyFaults With(auto change) {
  ReplyFaults faults;
  change(faults);
  return faults;
}

TEST_F(SessionTest, RepliesComeDueAfterTheDelayShapedByTheFaults) {
  Bytes withGarbage = kFirmwareReply;
  for (uint8_t b : {0xA5, 0xE0, 0x1B}) withGarbage.push_back(b);
  Bytes wrongCode = kFirmwareReply;
  wrongCode[2] = 99;
  const std::vector<FaultCase> cases = {
      {"healthy", {}, 70, kFirmwareReply},
      {"silent", With([](ReplyFaults& f) { f.silent = true; }), 0, {}},
      {"short", With([](ReplyFaults& f) { f.shortLength = 5; }), 70,
       Bytes(kFirmwareReply.begin(), kFirmwareReply.begin() + 5)},
      {"short zero", With([](ReplyFaults& f) { f.shortLength = 0; }), 0, {}},
      {"late", With([](ReplyFaults& f) { f.delayMs = sim::kLateReplyDelayMs; }), 400,
       kFirmwareReply},
      {"garbage", With([](ReplyFaults& f) { f.garbage = 3; }), 70, withGarbage},
      {"wrong code", With([](ReplyFaults& f) { f.wrongCode = 99; }), 70, wrongCode},
  };
  for (const FaultCase& c : cases) {
    Start(c.faults);
    Send(19, 1'000);
    if (c.bytes.empty()) {
      EXPECT_FALSE(session->NextDueMs()) << c.what;
      EXPECT_TRUE(session->TakeDue(100'000).empty()) << c.what;
      continue;
    }
    EXPECT_EQ(session->NextDueMs(), 1'000 + c.dueAfterMs) << c.what;
    EXPECT_TRUE(session->TakeDue(1'000 + c.dueAfterMs - 1).empty()) << c.what;
    EXPECT_EQ(session->TakeDue(1'000 + c.dueAfterMs), c.bytes) << c.what;
    EXPECT_TRUE(session->TakeDue(100'000).empty()) << c.what;  // once only
    EXPECT_FALSE(session->NextDueMs()) << c.what;
  }
}

TEST_F(SessionTest, ANewRequestSupersedesAReplyNotYetSent) {
  Start(With([](ReplyFaults& f) { f.delayMs = sim::kLateReplyDelayMs; }));
  Send(19, 0);
  Send(1, 240);  // the panel's next request, after its read tick found nothing
  EXPECT_EQ(session->NextDueMs(), 640);
  EXPECT_TRUE(session->TakeDue(400).empty());
  const Bytes reply = session->TakeDue(640);
  ASSERT_EQ(reply.size(), 12u);
  EXPECT_EQ(reply[2], 1);
}

TEST_F(SessionTest, ARequestSplitOverSeveralReadsIsOneRequest) {
  Start({});
  const Bytes request = RequestBytes(17);
  session->Receive(request.data(), 5, 100);
  session->Receive(request.data() + 5, 7, 104);
  EXPECT_EQ(session->TakeDue(174).at(2), 17);
}

TEST_F(SessionTest, WritesChangeTheMachineEvenWhenItStaysSilent) {
  Start(With([](ReplyFaults& f) { f.silent = true; }));
  Bytes setClock = RequestBytes(16);
  setClock[3] = 0x00, setClock[4] = 0xF1, setClock[5] = 0x53, setClock[6] = 0x65;
  session->Receive(setClock.data(), setClock.size(), 0);
  EXPECT_EQ(machine.ClockNow(), 1'700'000'000);
}

TEST_F(SessionTest, LogsRequestsRepliesAndDroppedBytes) {
  Start({});
  const Bytes partial(4, 0xEE);
  session->Receive(partial.data(), partial.size(), 0);
  Send(19, 100);
  session->TakeDue(170);
  EXPECT_EQ(log, (std::vector<std::string>{
                     "dropped 4 bytes of an unfinished request",
                     "request 19: 00 00 13 00 00 00 00 00 00 00 00 00",
                     "reply: 00 00 13 32 76 31 35 00 00 00 00 00",
                 }));
}

}  // namespace
