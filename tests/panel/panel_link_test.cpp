// What the panel makes of the link: the poll set it queues when the link is idle, the
// clock line, the status line and the button's caption, and the Write/Read progress
// bar that the link tick animates.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/operator_events.h"
#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

// Answers every request with a full reply carrying the request's code and an unused
// payload, as a healthy machine would.
std::vector<uint8_t> EchoReply(const FakeSerialPort::Frame& request) {
  return {0, 0, request[2], 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

class PanelLinkTest : public ::testing::Test, protected PanelFixture {
 protected:
  // Connected, with the connect set answered and nothing left to send.
  void ConnectAndSettle() {
    port.responder = EchoReply;
    Connect();
    Settle();
  }
  // Runs link ticks and records, per tick, the code of the request sent (0 for none).
  std::vector<int> SentCodesPerTick(int ticks) {
    std::vector<int> codes;
    for (int i = 0; i < ticks; ++i) {
      const std::size_t before = port.written.size();
      LinkTicks(1);
      codes.push_back(port.written.size() > before ? port.written[before + 2] : 0);
    }
    return codes;
  }
};

TEST_F(PanelLinkTest, IdleLinkQueuesThePollSetAndAPassTakes14TicksOr16WithRefCal) {
  ConnectAndSettle();
  const std::vector<int> plain = SentCodesPerTick(1 + 14 + 14);
  // The refill tick sends nothing; then 17, 27, 25, 1, 15, 1, two ticks apart.
  EXPECT_EQ(std::vector<int>(plain.begin(), plain.begin() + 15),
            (std::vector<int>{0, 17, 0, 27, 0, 25, 0, 1, 0, 15, 0, 1, 0, 0, 0}));
  EXPECT_EQ(plain[15], 17);

  OperatorClicked(dlg, ids::kRefCalCheck);
  // The pass already queued finishes, then the next refill includes 23.
  const std::vector<int> withRefCal = SentCodesPerTick(14 + 16 + 1);
  EXPECT_EQ(std::vector<int>(withRefCal.begin() + 14, withRefCal.begin() + 31),
            (std::vector<int>{17, 0, 27, 0, 25, 0, 1, 0, 15, 0, 1, 0, 23, 0, 0, 0, 17}));
}

TEST_F(PanelLinkTest, ClockLineShowsTheClockOfThePreviousPass) {
  sim::MachineSetup machine;
  machine.clockStart = 1'700'000'000;
  ConnectToMachine(machine);
  LinkTicks(1);  // the first refill: no clock reply yet
  EXPECT_EQ(Text(ids::kClockLine), "Time:01/01/70 00:00:00");
  LinkTicks(14);  // the pass brought the machine's clock; the next refill shows it
  EXPECT_EQ(Text(ids::kClockLine), "Time:11/14/23 22:13:20");

  PanelFixture before1970;  // a clock before 1970 has no text
  machine.clockStart = -1;
  before1970.ConnectToMachine(machine);
  before1970.LinkTicks(15);
  EXPECT_EQ(before1970.Text(ids::kClockLine), "Time: ");
}

struct StatusCase {
  const char* name;
  std::vector<uint8_t> reply;  // what comes back to a status request
  const char* status;
};

class StatusLineTest : public PanelLinkTest, public ::testing::WithParamInterface<StatusCase> {};

// Written on every read tick before the reply is decoded: a complete reply of any code
// shows the link live with the revision known then.
TEST_P(StatusLineTest, SaysWhatTheReadTickFound) {
  ConnectAndSettle();
  const std::vector<uint8_t> reply = GetParam().reply;
  port.responder = [reply](const FakeSerialPort::Frame&) { return reply; };
  LinkTicks(4);  // refill, send 17, wait, read
  EXPECT_EQ(Text(ids::kStatusLine), GetParam().status);
  EXPECT_TRUE(dlg.link().IsOpen());
}

INSTANTIATE_TEST_SUITE_P(
    Replies, StatusLineTest,
    ::testing::Values(StatusCase{"Complete",
                                 {0, 0, 0xEE, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                                 // the echoed reply 19 of the connect set carried an empty revision
                                 "STATUS: Link is live  (Firmware Rev = )"},
                      StatusCase{"Short", {0, 0, 17, 0, 0}, "STATUS: Error- No Status from Brumo"},
                      StatusCase{"Missing", {}, "STATUS: Error- No Status from Brumo"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PanelLinkTest, ANewRevisionShowsFromTheNextCompleteReply) {
  sim::MachineSetup machine;
  machine.firmware = "3v01";
  port.responder = MachineResponder(machine);
  Connect();
  std::vector<std::string> statuses;
  for (int tick = 0; tick < 40; ++tick) {
    LinkTicks(1);
    if (statuses.empty() || statuses.back() != Text(ids::kStatusLine)) {
      statuses.push_back(Text(ids::kStatusLine));
    }
  }
  EXPECT_EQ(statuses, (std::vector<std::string>{"STATUS: Port Open",
                                                "STATUS: Link is live  (Firmware Rev = 1vXX)",
                                                "STATUS: Link is live  (Firmware Rev = 3v01)"}));
}

TEST_F(PanelLinkTest, LostPortShowsNotConnectedAndTheConnectCaption) {
  ConnectAndSettle();
  port.responder = nullptr;  // the adapter is pulled out: no reply, and the probe fails
  port.purgeTxSucceeds = false;
  LinkTicks(4);  // refill, a poll request, wait, the read tick
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Not connected");
  EXPECT_EQ(Text(ids::kConnectButton), "Connect");
  EXPECT_FALSE(dlg.link().IsOpen());
}

TEST_F(PanelLinkTest, ProgressRunsTwentyTicksAndClearsOnTheTwentyFirstPortOrNot) {
  ConnectAndSettle();
  dlg.commands().OnReadClicked();
  dlg.connection().OnConnectClicked();  // Close: the run goes on without a port
  std::vector<int> positions;
  for (int tick = 1; tick <= 21; ++tick) {
    LinkTicks(1);
    positions.push_back(dlg.controls().GetProgress(ids::kLinkProgress));
    EXPECT_EQ(state().gate.rxInProgress, tick < 21) << tick;
  }
  EXPECT_EQ(positions.front(), 5);
  EXPECT_EQ(positions[19], 100);
  EXPECT_EQ(positions[20], 0);
}

}  // namespace
