// The connection manager over the in-memory port: the connect set, the countdown and
// its texts, closing, the configuration failure, the port number and the profile.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

std::vector<int> ConnectSetOrder(bool refCal) {
  std::vector<int> codes = {1, 1, 1, 1};
  if (refCal) codes.insert(codes.end(), 5, 24);
  for (int code : {13, 3, 9, 11, 7, 19}) codes.push_back(code);
  codes.insert(codes.end(), 8, 17);
  return codes;
}

std::string Attempting(int seconds) {
  return "STATUS: Attempting Connection ," + std::to_string(seconds) + "s remaining";
}

class Connection : public testing::Test, protected PanelFixture {
 protected:
  std::string Status() const { return Text(ids::kStatusLine); }
  std::string Caption() const { return Text(ids::kConnectButton); }
  int Opens() const {
    return static_cast<int>(std::count_if(port.calls.begin(), port.calls.end(),
                                          [](const auto& c) { return c.rfind("open ", 0) == 0; }));
  }
  std::vector<int> SentCodes() const {
    std::vector<int> codes;
    for (const auto& frame : port.SentFrames()) codes.push_back(frame.size() > 2 ? frame[2] : -1);
    return codes;
  }
  bool Open() const { return dlg.link().IsOpen(); }
  bool Pending() const { return dlg.connection().connectPending(); }
  int Queued() const { return dlg.link().queue().GetCount(); }
  void PressConnect() { dlg.connection().OnConnectClicked(); }
  void TypePort(const std::string& text) {
    dlg.controls().SetText(ids::kPortEdit, text);
    dlg.connection().OnPortNumberChanged();
  }
};

// --- Arming an attempt and the connect set ---

class ConnectSet : public Connection, public testing::WithParamInterface<bool> {};

TEST_P(ConnectSet, GoesOutInOrderOnceThePortOpens) {
  const bool refCal = GetParam();
  // An earlier connection moved the log pointers and was closed with a reply awaited,
  // whose read tick would empty the new connect set; a Get All was left waiting.
  ConnectToMachine();
  LinkTicks(2);
  ASSERT_GT(dlg.link().replyCountdown(), 0);
  PressConnect();  // Close, confirmed
  dlg.commands().OnGetAllClicked();
  ASSERT_GT(dlg.log().pointers().logPointer, 0);
  ASSERT_FALSE(dlg.log().pointers().firstLogReply);
  port.calls.clear();
  port.written.clear();
  dlg.controls().SetCheck(ids::kRefCalCheck, refCal ? 1 : 0);
  dlg.controls().SetProgress(ids::kCalProgress, 60);

  PressConnect();
  const std::vector<int> expected = ConnectSetOrder(refCal);
  EXPECT_EQ(QueuedCodes(), expected);
  EXPECT_TRUE(Pending());
  EXPECT_EQ(dlg.connection().connectSecondsLeft(), 18);
  const LogPointers& log = dlg.log().pointers();
  EXPECT_TRUE(log.firstLogReply);
  EXPECT_EQ(log.logPointer + log.nextLogPointer + log.readPointer, 0);
  EXPECT_EQ(dlg.controls().GetProgress(ids::kCalProgress), 0);
  // Nothing visible until the first connect tick.
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_TRUE(port.calls.empty());
  port.responder = nullptr;

  // Checking Ref Cal after arming does not change the armed set.
  dlg.controls().SetCheck(ids::kRefCalCheck, refCal ? 0 : 1);
  ConnectTicks(1);
  EXPECT_EQ(port.calls, (std::vector<std::string>{"open /dev/ttyUSB0", "configure"}));
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Caption(), "Close");
  EXPECT_FALSE(Pending());

  // One code per transaction: sent on a tick, its (missing) reply read two ticks later
  // and the next code sent on that same tick.
  LinkTicks(1);
  EXPECT_EQ(SentCodes(), std::vector<int>{1});
  LinkTicks(2 * static_cast<int>(expected.size()) - 2);
  EXPECT_EQ(SentCodes(), expected);
  EXPECT_EQ(Queued(), 0);
}

INSTANTIATE_TEST_SUITE_P(RefCal, ConnectSet, testing::Bool(),
                         [](const auto& info) { return info.param ? "Checked" : "Unchecked"; });

// --- The countdown ---

TEST_F(Connection, CountdownShowsEighteenDownToTwoThenTimesOut) {
  port.openSucceeds = false;
  PressConnect();
  for (int seconds = 18; seconds >= 2; --seconds) {
    ConnectTicks(1);
    EXPECT_EQ(Status(), Attempting(seconds));
    EXPECT_TRUE(Pending());
    EXPECT_FALSE(Open());
    EXPECT_EQ(port.Handle(), PortHandle::kBad);
  }
  ConnectTicks(1);
  EXPECT_EQ(Status(), "STATUS: Port Open timed out");
  EXPECT_FALSE(Pending());
  EXPECT_EQ(dlg.connection().connectSecondsLeft(), 0);
  EXPECT_EQ(Opens(), 18);
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_TRUE(host.messages.empty());

  // Nothing restarts an attempt but the button.
  ConnectTicks(1);
  EXPECT_EQ(Opens(), 18);
  EXPECT_EQ(Status(), "STATUS: Port Open timed out");
}

TEST_F(Connection, WhyTheOpenFailsIsShownAtOnceAndGoesOnSuccess) {
  port.openSucceeds = false;
  port.openFailure = Failure{ENOENT, "No such device: /dev/ttyUSB0"};
  PressConnect();
  ConnectTicks(2);  // said once, not once a tick
  EXPECT_EQ(host.portLines, std::vector<std::string>{"No such device: /dev/ttyUSB0"});
  EXPECT_EQ(Status(), Attempting(17));  // the countdown and its texts go on
  port.openFailure = Failure{EBUSY, "Busy: another program holds /dev/ttyUSB0"};
  ConnectTicks(1);
  port.openSucceeds = true;
  ConnectTicks(1);
  EXPECT_EQ(host.portLines,
            (std::vector<std::string>{"No such device: /dev/ttyUSB0",
                                      "Busy: another program holds /dev/ttyUSB0", ""}));
  EXPECT_EQ(Status(), "STATUS: Port Open");
}

TEST_F(Connection, PortThatOpensOnTheLastTryStaysOpen) {
  port.openSucceeds = false;
  PressConnect();
  ConnectTicks(17);
  EXPECT_EQ(Status(), Attempting(2));
  port.openSucceeds = true;
  ConnectTicks(1);
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Caption(), "Close");
  EXPECT_TRUE(Open());
  EXPECT_EQ(dlg.connection().connectSecondsLeft(), 0);
}

TEST_F(Connection, SecondPressBeforeTheFirstTickCancelsWithoutOpening) {
  PressConnect();
  PressConnect();
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
  EXPECT_FALSE(Pending());
  ConnectTicks(1);
  EXPECT_EQ(dlg.connection().connectSecondsLeft(), 0);
  EXPECT_EQ(port.cancels, 1);  // what was held ready for the open is let go
  ConnectTicks(20);
  EXPECT_EQ(Opens(), 0);
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
}

// The port's slow part of the open (the search for other holders) is done a step per tick;
// the open, and the countdown, wait for it.
TEST_F(Connection, TheOpenWaitsForItsPreparationStepByStep) {
  port.stepsToPrepare = 3;
  LinkTicks(5);  // no attempt armed: nothing is prepared
  const std::string before = Status();
  PressConnect();
  ConnectTicks(1);
  EXPECT_EQ(Opens(), 0);
  EXPECT_EQ(dlg.connection().connectSecondsLeft(), 18);
  EXPECT_EQ(Status(), before);
  LinkTicks(2);
  EXPECT_EQ(port.stepsToPrepare, 0);
  ConnectTicks(1);
  EXPECT_EQ(Opens(), 1);
  EXPECT_EQ(Status(), "STATUS: Port Open");
}

TEST_F(Connection, PressDuringTheCountdownStopsTheTries) {
  port.openSucceeds = false;
  PressConnect();
  ConnectTicks(3);
  PressConnect();
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
  ConnectTicks(20);
  EXPECT_EQ(Opens(), 3);
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
}

// --- Configuration failure ---

TEST_F(Connection, ConfigurationFailureClosesTheHandleAndRetries) {
  port.configureSucceeds = false;
  PressConnect();
  ConnectTicks(1);
  EXPECT_EQ(Status(), "STATUS: Port Config Failed");
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_FALSE(Open());
  EXPECT_TRUE(Pending());
  // Closed, so the exclusive hold is given up before the next try.
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  EXPECT_EQ(port.calls, (std::vector<std::string>{"open /dev/ttyUSB0", "configure", "close"}));

  port.configureSucceeds = true;
  ConnectTicks(1);
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Caption(), "Close");
  EXPECT_EQ(port.opens, 2);
  EXPECT_EQ(port.closes, 1);
}

TEST_F(Connection, ConfigurationFailureOnTheLastTryEndsInTheTimeOut) {
  port.openSucceeds = false;
  PressConnect();
  ConnectTicks(17);
  port.openSucceeds = true;
  port.configureSucceeds = false;
  ConnectTicks(1);
  EXPECT_EQ(Status(), "STATUS: Port Open timed out");
  EXPECT_FALSE(Pending());
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
}

// --- Closing ---

TEST_F(Connection, CloseAskedAndConfirmedStopsTheLink) {
  Connect();
  ASSERT_TRUE(Open());
  LinkTicks(1);  // a request is out, its reply awaited
  const int waiting = Queued();
  dlg.controls().SetProgress(ids::kCalProgress, 40);
  host.answers.push_back(MessageAnswer::kOk);
  PressConnect();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0],
            (FakeHost::Message{"Confirm \n Close Port", MessageButtons::kOkCancel}));
  EXPECT_FALSE(Open());
  EXPECT_FALSE(Pending());
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  EXPECT_EQ(Status(), "STATUS: Link is stopped");
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_EQ(dlg.controls().GetProgress(ids::kCalProgress), 0);
  EXPECT_EQ(Queued(), waiting);
  EXPECT_EQ(dlg.link().replyCountdown(), 2);

  // The awaited reply's read finds the port closed and takes the lost-port path, which
  // the link's health does not count as a lost port.
  LinkTicks(2);
  EXPECT_EQ(Status(), "STATUS: Not connected");
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(port.SentFrames().size(), 1u);
  const LinkHealth::Counters& health = dlg.health().counters();
  EXPECT_EQ(std::pair(health.lost, health.dropped), std::pair(int64_t{0}, int64_t{1}));
}

TEST_F(Connection, CloseCancelledChangesNothing) {
  Connect();
  ASSERT_TRUE(Open());
  LinkTicks(1);
  host.answers.push_back(MessageAnswer::kCancel);
  PressConnect();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Confirm \n Close Port"});
  EXPECT_TRUE(Open());
  EXPECT_EQ(port.Handle(), PortHandle::kOpen);
  EXPECT_EQ(port.closes, 0);
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Caption(), "Close");
}

TEST_F(Connection, LostPortClosesTheHandleAndConnectWorksAgain) {
  Connect();
  ASSERT_TRUE(Open());
  LinkTicks(1);
  port.purgeTxSucceeds = false;  // the adapter is gone
  LinkTicks(2);
  EXPECT_EQ(Status(), "STATUS: Not connected");
  EXPECT_EQ(Caption(), "Connect");
  EXPECT_FALSE(Open());
  EXPECT_EQ(Queued(), 0);
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  EXPECT_EQ(port.closes, 1);

  port.purgeTxSucceeds = true;
  Connect();
  EXPECT_EQ(Status(), "STATUS: Port Open");
  EXPECT_EQ(Queued(), 18);
}

// --- The port number ---

struct TypedPort {
  std::string typed;
  int32_t commPort;
  std::string field;
  std::vector<std::string> messages;
};

class PortNumberTyped : public Connection, public testing::WithParamInterface<TypedPort> {};

TEST_P(PortNumberTyped, OutOfRangeFallsBackToTwo) {
  const TypedPort& c = GetParam();
  ASSERT_EQ(state().values.commPort, 1);
  TypePort(c.typed);
  EXPECT_EQ(state().values.commPort, c.commPort);
  EXPECT_EQ(dlg.controls().GetText(ids::kPortEdit), c.field);
  EXPECT_EQ(host.MessageTexts(), c.messages);
}

const char* const kRangeMessage = "Please enter an integer between 1 and 30.";
const char* const kIntegerMessage = "Please enter an integer.";

INSTANTIATE_TEST_SUITE_P(
    Texts, PortNumberTyped,
    testing::Values(TypedPort{"12", 12, "12", {}}, TypedPort{"30", 30, "30", {}},
                    TypedPort{"1", 1, "1", {}}, TypedPort{"31", 2, "2", {kRangeMessage}},
                    TypedPort{"0", 2, "2", {kRangeMessage}},
                    TypedPort{"-5", 2, "2", {kRangeMessage}},
                    // Not an integer: the exchange fails and the number stays as it was.
                    TypedPort{"99999999999", 1, "99999999999", {kIntegerMessage}},
                    TypedPort{"abc", 1, "abc", {kIntegerMessage}},
                    TypedPort{"", 1, "", {kIntegerMessage}}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(Connection, PortNumberSelectsTheDeviceAndThePortsOverride) {
  host.profileStore.values["Ports/COM3"] = "/dev/ttyACM0";
  TypePort("3");
  EXPECT_EQ(dlg.connection().SelectedDevice(), "/dev/ttyACM0");
  Connect();
  EXPECT_EQ(port.calls.front(), "open /dev/ttyACM0");

  TypePort("12");
  EXPECT_EQ(dlg.connection().SelectedDevice(), "/dev/ttyUSB11");
}

// --- The profile ---

TEST(ConnectionProfile, PortNumberLoadedAtStartUpAndSavedAtTheEnd) {
  struct Case {
    const char* stored;  // nullptr: no value
    int32_t loaded;
    const char* device;
  };
  for (const Case c : {Case{nullptr, 1, "/dev/ttyUSB0"}, Case{"7", 7, "/dev/ttyUSB6"},
                       Case{"45", 45, "/dev/ttyUSB44"}, Case{"0", 0, ""}}) {
    FakeHost host;
    FakeSerialPort port;
    port.openSucceeds = false;
    if (c.stored) host.profileStore.values["Kelo Config/Comm Port"] = c.stored;
    CKeloConfigurationDlg dlg(host, port);
    dlg.OnInitDialog();
    // Loaded and used unchanged, even outside 1..30.
    EXPECT_EQ(dlg.state().values.commPort, c.loaded);
    EXPECT_EQ(dlg.controls().GetText(ids::kPortEdit), std::to_string(c.loaded));
    dlg.connection().OnConnectClicked();
    dlg.OnTimer(kConnectTimerId);
    EXPECT_EQ(port.calls.front(), std::string("open ") + c.device);
    EXPECT_EQ(dlg.controls().GetText(ids::kStatusLine), Attempting(18));

    dlg.controls().SetText(ids::kPortEdit, "9");
    dlg.connection().OnPortNumberChanged();
    dlg.OnDestroy();
    EXPECT_EQ(host.profileStore.values["Kelo Config/Comm Port"], "9");
  }
}

TEST_F(Connection, DestructionClosesAnOpenPortBeforeSaving) {
  Connect();
  ASSERT_TRUE(Open());
  host.profileStore.writesSucceed = false;  // a failed save is said, and changes nothing else
  dlg.OnDestroy();
  EXPECT_EQ(port.Handle(), PortHandle::kNone);
  EXPECT_TRUE(host.runningTimers.empty());
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.notes,
            std::vector<std::string>{"The port number 1 could not be saved: disk full"});
}

}  // namespace
