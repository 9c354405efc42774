// The event log driven through the link cycle against a machine on the fake port.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reply_panel.h"

namespace {

struct LinkedPanel : ReplyPanel {
  MachineDouble machine;

  explicit LinkedPanel(int machineLogPointer) {
    machine.logPointer = machineLogPointer;
    port.responder = machine.Responder();
  }

  void Connect() {
    panel.OnConnectClicked();
    panel.ConnectStep();
    EXPECT_TRUE(panel.portOpen);
  }

  void Ticks(int count) {
    for (int i = 0; i < count; ++i) panel.LinkStep();
  }

  std::vector<int> SentCodes(std::size_t fromFrame = 0) const {
    std::vector<int> codes;
    const auto frames = port.SentFrames();
    for (std::size_t i = fromFrame; i < frames.size(); ++i) codes.push_back(frames[i][2]);
    return codes;
  }
};

TEST(LogFollowingLink, ConnectFetchesTheFiveNewestRecordsOldestFirst) {
  LinkedPanel p(600);
  p.Connect();
  // Connect set of 18 codes plus 5 record requests, two ticks each.
  p.Ticks(2 * 23 + 1);
  std::vector<int> addresses;
  for (const auto& frame : p.port.SentFrames()) {
    if (frame[2] == 5) addresses.push_back(RequestedAddress(frame));
  }
  EXPECT_EQ(addresses, (std::vector<int>{570, 576, 582, 588, 594}));
  EXPECT_EQ(p.EventLines(), (std::vector<std::string>{
                                "Event = System Restart at             11/14/23 22:22:50",
                                "Event = System Set at             11/14/23 22:22:56",
                                "Event = System Unset at           11/14/23 22:23:02",
                                "Event = System Activation at      11/14/23 22:23:08",
                                "Event = System Retriger at        11/14/23 22:23:14",
                            }));
  // Each record request went out right after the reply 17 that queued it.
  const std::vector<int> codes = p.SentCodes();
  const std::vector<int> tail(codes.end() - 13, codes.end());
  EXPECT_EQ(tail, (std::vector<int>{17, 5, 17, 5, 17, 5, 17, 5, 17, 5, 17, 17, 17}));
}

TEST(LogFollowingLink, NewRecordsFollowOnePerPollCycle) {
  LinkedPanel p(600);
  p.Connect();
  p.Ticks(2 * 23 + 1);
  p.machine.logPointer = 612;  // two more records written
  const std::size_t before = p.port.SentFrames().size();
  // Each poll cycle: refill tick, then six transactions (plus one record) of two ticks.
  p.Ticks(3 * 15);
  std::vector<int> addresses;
  const auto frames = p.port.SentFrames();
  for (std::size_t i = before; i < frames.size(); ++i) {
    if (frames[i][2] == 5) addresses.push_back(RequestedAddress(frames[i]));
  }
  EXPECT_EQ(addresses, (std::vector<int>{600, 606}));
  ASSERT_EQ(p.EventLines().size(), 7u);
  EXPECT_EQ(p.EventLines()[6], "Event = System Power-Down at      11/14/23 22:23:26");
}

TEST(GetAllLink, ReadsAddresses0To882InOneUnbrokenChain) {
  LinkedPanel p(0);  // an empty log: the poll set's reply 17 queues no record
  p.port.OpenPort("/dev/ttyUSB0");
  p.panel.portOpen = true;
  p.Ticks(1);  // empty stack: the poll set waits in the stack
  ASSERT_EQ(p.panel.msgStack.GetCount(), 6);
  p.panel.OnGetAllClicked();
  // The first request goes out on the next tick, every next one on the tick of the
  // reply before it, and the waiting poll set on the tick of the last reply.
  p.Ticks(1 + 2 * 148);
  const auto frames = p.port.SentFrames();
  ASSERT_EQ(frames.size(), 149u);
  for (std::size_t i = 0; i < 148; ++i) {
    ASSERT_EQ(frames[i][2], 21) << "request " << i;
    ASSERT_EQ(RequestedAddress(frames[i]), static_cast<int>(6 * i)) << "request " << i;
  }
  EXPECT_EQ(p.panel.readPointer, 888);
  // Records of type 8 and 9 (addresses 42, 48, 186, 192, ...) have a detail line each.
  EXPECT_EQ(p.EventLines().size(), 148u + 12);
  EXPECT_EQ(p.EventLines().front(), "Event = System Set at             11/14/23 22:13:20");
  EXPECT_EQ(p.EventLines().back(), "Event = System Retriger at        11/14/23 22:28:02");
  p.Ticks(2 * 5);
  EXPECT_EQ(p.SentCodes(148), (std::vector<int>{17, 27, 25, 1, 15, 1}));
}

TEST(GetAllLink, LostReplyEndsTheChainWithTheListAsFarAsItGot) {
  LinkedPanel p(600);
  p.port.responder = [&](const FakeSerialPort::Frame& request) {
    if (request[2] == 21 && RequestedAddress(request) == 60) return std::vector<uint8_t>{};
    return p.machine.Answer(request);
  };
  p.port.OpenPort("/dev/ttyUSB0");
  p.panel.portOpen = true;
  p.panel.OnGetAllClicked();
  p.Ticks(1 + 2 * 11);
  EXPECT_EQ(p.port.SentFrames().size(), 11u);
  EXPECT_EQ(p.panel.readPointer, 60);
  EXPECT_EQ(p.controls().GetText(ids::kStatusLine), "STATUS: Error- No Status from Brumo");
  EXPECT_EQ(p.EventLines().size(), 10u + 2);  // addresses 0..54, with details at 42 and 48
  p.Ticks(2);
  EXPECT_EQ(p.SentCodes(11), (std::vector<int>{17})) << "the poll set follows";
}

}  // namespace
