// The event log driven through the link cycle against a machine on the fake port.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

// A machine that answers every request with a reply of the request's code. Its event
// log holds at each address a record whose time is kBaseTime + address and whose type
// is (address / 6) % 24 + 1; its log pointer is whatever the test sets.
struct LogMachine {
  static constexpr uint32_t kBaseTime = 1'700'000'000;  // 11/14/23 22:13:20 UTC
  int logPointer = 0;

  std::vector<uint8_t> Answer(const FakeSerialPort::Frame& request) const {
    std::vector<uint8_t> reply(12, 0);
    reply[2] = request[2];
    const int address = request[3] | (request[4] << 8);
    switch (request[2]) {
      case 17:
        reply[3] = static_cast<uint8_t>(logPointer & 0xFF);
        reply[4] = static_cast<uint8_t>(logPointer >> 8);
        break;
      case 5:
      case 21: {
        const uint32_t time = kBaseTime + static_cast<uint32_t>(address);
        for (std::size_t i = 0; i < 4; ++i) reply[3 + i] = (time >> (8 * i)) & 0xFF;
        reply[7] = static_cast<uint8_t>((address / 6) % 24 + 1);
        reply[8] = 0x0F;
        break;
      }
      default:
        break;
    }
    return reply;
  }
};

// The log address a request frame asks for (requests 5 and 21).
int RequestedAddress(const FakeSerialPort::Frame& frame) {
  return frame[3] | (frame[4] << 8);
}

class LogOnTheLine : public ::testing::Test, protected PanelFixture {
 protected:
  void Answering(int machineLogPointer) {
    machine.logPointer = machineLogPointer;
    port.responder = [this](const FakeSerialPort::Frame& request) {
      return machine.Answer(request);
    };
  }

  // Connected, with the connect set answered and nothing left on the link; sentBefore
  // counts the frames sent so far.
  void ConnectAndSettle() {
    Connect();
    ASSERT_TRUE(dlg.link().IsOpen());
    Settle();
    sentBefore = port.SentFrames().size();
  }

  std::vector<FakeSerialPort::Frame> FramesSince(std::size_t first) const {
    const auto frames = port.SentFrames();
    return {frames.begin() + static_cast<std::ptrdiff_t>(first), frames.end()};
  }

  std::vector<int> SentCodes(std::size_t first = 0) const {
    std::vector<int> codes;
    for (const auto& frame : FramesSince(first)) codes.push_back(frame[2]);
    return codes;
  }

  std::vector<int> RecordAddresses(std::size_t first = 0) const {
    std::vector<int> addresses;
    for (const auto& frame : FramesSince(first)) {
      if (frame[2] == 5) addresses.push_back(RequestedAddress(frame));
    }
    return addresses;
  }

  std::vector<std::string> EventLines() const {
    return dlg.controls().Find(ids::kEventList)->lines;
  }

  LogMachine machine;
  std::size_t sentBefore = 0;
};

TEST_F(LogOnTheLine, ConnectFetchesTheFiveNewestRecordsOldestFirst) {
  Answering(600);
  Connect();
  ASSERT_TRUE(dlg.link().IsOpen());
  // Connect set of 18 codes plus 5 record requests, two ticks each.
  LinkTicks(2 * 23 + 1);
  EXPECT_EQ(RecordAddresses(), (std::vector<int>{570, 576, 582, 588, 594}));
  EXPECT_EQ(EventLines(), (std::vector<std::string>{
                              "Event = System Restart at             11/14/23 22:22:50",
                              "Event = System Set at             11/14/23 22:22:56",
                              "Event = System Unset at           11/14/23 22:23:02",
                              "Event = System Activation at      11/14/23 22:23:08",
                              "Event = System Retriger at        11/14/23 22:23:14",
                          }));
  // Each record request went out right after the reply 17 that queued it.
  const std::vector<int> codes = SentCodes();
  const std::vector<int> tail(codes.end() - 13, codes.end());
  EXPECT_EQ(tail, (std::vector<int>{17, 5, 17, 5, 17, 5, 17, 5, 17, 5, 17, 17, 17}));
}

TEST_F(LogOnTheLine, NewRecordsFollowOnePerPollCycle) {
  Answering(600);
  Connect();
  LinkTicks(2 * 23 + 1);
  machine.logPointer = 612;  // two more records written
  const std::size_t before = port.SentFrames().size();
  // Each poll cycle: refill tick, then six transactions (plus one record) of two ticks.
  LinkTicks(3 * 15);
  EXPECT_EQ(RecordAddresses(before), (std::vector<int>{600, 606}));
  ASSERT_EQ(EventLines().size(), 7u);
  EXPECT_EQ(EventLines()[6], "Event = System Power-Down at      11/14/23 22:23:26");
}

TEST_F(LogOnTheLine, GetAllReadsAddresses0To882InOneUnbrokenChain) {
  Answering(0);  // an empty log: reply 17 queues no record
  ConnectAndSettle();
  LinkTicks(1);  // nothing queued: the poll set waits on the link
  ASSERT_EQ(QueuedCodes().size(), 6u);
  dlg.commands().OnGetAllClicked();
  // The first request goes out on the next tick, every next one on the tick of the
  // reply before it, and the waiting poll set on the tick of the last reply.
  LinkTicks(1 + 2 * 148);
  const auto frames = FramesSince(sentBefore);
  ASSERT_EQ(frames.size(), 149u);
  for (std::size_t i = 0; i < 148; ++i) {
    ASSERT_EQ(frames[i][2], 21) << "request " << i;
    ASSERT_EQ(RequestedAddress(frames[i]), static_cast<int>(6 * i)) << "request " << i;
  }
  EXPECT_EQ(dlg.log().pointers().readPointer, 888);
  // Records of type 8 and 9 (addresses 42, 48, 186, 192, ...) have a detail line each.
  EXPECT_EQ(EventLines().size(), 148u + 12);
  EXPECT_EQ(EventLines().front(), "Event = System Set at             11/14/23 22:13:20");
  EXPECT_EQ(EventLines().back(), "Event = System Retriger at        11/14/23 22:28:02");
  LinkTicks(2 * 5);
  EXPECT_EQ(SentCodes(sentBefore + 148), (std::vector<int>{17, 27, 25, 1, 15, 1}));
}

TEST_F(LogOnTheLine, LostReplyEndsTheGetAllChainWithTheListAsFarAsItGot) {
  Answering(0);
  port.responder = [this](const FakeSerialPort::Frame& request) {
    if (request[2] == 21 && RequestedAddress(request) == 60) return std::vector<uint8_t>{};
    return machine.Answer(request);
  };
  ConnectAndSettle();
  dlg.commands().OnGetAllClicked();
  LinkTicks(1 + 2 * 11);
  EXPECT_EQ(FramesSince(sentBefore).size(), 11u);
  EXPECT_EQ(dlg.log().pointers().readPointer, 60);
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Error- No Status from Brumo");
  EXPECT_EQ(EventLines().size(), 10u + 2);  // addresses 0..54, with details at 42 and 48
  LinkTicks(2);
  EXPECT_EQ(SentCodes(sentBefore + 11), (std::vector<int>{17})) << "the poll set follows";
}

}  // namespace
