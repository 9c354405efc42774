#include <gtest/gtest.h>

#include "panel/operator_events.h"
#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

struct ControlExpectation {
  int id;
  int selection;  // for combos; -2 when the row is a check box
  int check;
};

// Start-up and default sets, control by control.
void ExpectControls(const ControlModel& model, std::initializer_list<ControlExpectation> rows) {
  for (const ControlExpectation& row : rows) {
    SCOPED_TRACE(row.id);
    if (row.selection != -2) {
      EXPECT_EQ(model.GetSelection(row.id), row.selection);
    } else {
      EXPECT_EQ(model.IsChecked(row.id), row.check != 0);
    }
  }
}

class ShellTest : public ::testing::Test, protected PanelFixture {
 protected:
  void TypePort(const char* text) { OperatorEdited(dlg, ids::kPortEdit, text); }
};

TEST_F(ShellTest, InitDialogAppliesTheStartUpSet) {
  const ControlModel& m = dlg.controls();
  EXPECT_EQ(Text(ids::kNameEdit), "Insert name here");
  EXPECT_EQ(Text(ids::kStatusLine), "STATUS: Link is stopped");
  EXPECT_EQ(Text(ids::kServiceDueLine), "Next due ");
  EXPECT_EQ(Text(ids::kRunTimeCombo), "+50");
  ExpectControls(m, {{ids::kRunTimeCombo, 5, 0},
                     {ids::kLocalTempCombo, 3, 0},
                     {ids::kEvapFanCombo, 0, 0},
                     {ids::kPumpMinCombo, 0, 0},
                     {ids::kPumpMaxCombo, 1, 0},
                     {ids::kPumpRunCheck, -2, 0},
                     {ids::kCompressorRunCheck, -2, 0},
                     {ids::kMainFaultNcCheck, -2, 1},
                     {ids::kMainFaultLatchingCheck, -2, 0},
                     {ids::kTrigRelayNcCheck, -2, 1},
                     {ids::kIdleEnableCheck, -2, 1},
                     {ids::kAuxOutNcCheck, -2, 1},
                     {ids::kAuxOutLatchingCheck, -2, 0},
                     {ids::kFaultSuppressCheck, -2, 0},
                     {ids::kRefCalCheck, -2, 0},
                     {ids::kUsbSaiOffCheck, -2, 0}});
  EXPECT_EQ(Text(ids::kCalValueEdit), "157");
  EXPECT_EQ(Text(ids::kSHtEdit), "2");
  EXPECT_EQ(Text(ids::kTMaxEdit), "10");
  EXPECT_EQ(Text(ids::kTMinEdit), "15");
  EXPECT_EQ(Text(ids::kPortEdit), "1");  // profile default
  EXPECT_EQ(state().machine.machineName, "Insert Name Here");
  EXPECT_EQ(state().machine.serviceBaseDate, host.now);
  EXPECT_TRUE(dlg.log().pointers().firstLogReply);
  EXPECT_EQ(dlg.link().queue().GetCount(), 0);
  EXPECT_EQ((host.runningTimers), (std::map<int, unsigned>{{1, 120}, {2, 1000}}));
  EXPECT_EQ(m.FocusedControl(), ids::kExitButton);
  EXPECT_TRUE(host.messages.empty());
}

TEST(ShellStartUp, PortNumberComesFromTheProfileUncheckedAndRefusedTimersAreReported) {
  FakeHost host;
  FakeSerialPort port;
  host.profileStore.values["Kelo Config/Comm Port"] = "44";
  host.refusedTimers = {1, 2};
  CKeloConfigurationDlg dlg(host, port);
  EXPECT_TRUE(dlg.OnInitDialog());
  EXPECT_EQ(dlg.state().values.commPort, 44);
  EXPECT_EQ(dlg.controls().GetText(ids::kPortEdit), "44");
  EXPECT_EQ(host.MessageTexts(),
            (std::vector<std::string>{"No Timers Available", "No Timers Available"}));
}

TEST_F(ShellTest, SetDefaultsAppliesTheDefaultSetAfterConfirmation) {
  sim::MachineSetup machine;
  machine.name = "From machine";
  ConnectToMachine(machine);
  auto& m = dlg.controls();
  m.SetText(ids::kNameEdit, "Machine 7");
  m.SetSelection(ids::kLocalTempCombo, 0);
  m.SetCheck(ids::kPumpRunCheck, 1);
  m.SetCheck(ids::kMainFaultNcCheck, 0);
  OperatorEdited(dlg, ids::kCalValueEdit, "3");
  TypePort("9");
  const std::string status = Text(ids::kStatusLine);
  const int queued = dlg.link().queue().GetCount();

  host.answers = {MessageAnswer::kCancel};
  dlg.commands().OnSetDefaultsClicked();
  EXPECT_EQ(host.messages.back().text, "      Warning!\n Calibration values\n will be overwritten");
  EXPECT_EQ(host.messages.back().buttons, MessageButtons::kOkCancel);
  EXPECT_EQ(Text(ids::kNameEdit), "Machine 7");
  EXPECT_EQ(state().values.calValue, 3);

  dlg.commands().OnSetDefaultsClicked();
  EXPECT_EQ(Text(ids::kNameEdit), "Insert name here");
  ExpectControls(m, {{ids::kRunTimeCombo, 5, 0},
                     {ids::kLocalTempCombo, 5, 0},
                     {ids::kEvapFanCombo, 5, 0},
                     {ids::kPumpMinCombo, 5, 0},
                     {ids::kPumpMaxCombo, 4, 0},
                     {ids::kPumpRunCheck, -2, 0},
                     {ids::kMainFaultNcCheck, -2, 1}});
  const BoundValues& v = state().values;
  EXPECT_EQ((std::array{v.tMin, v.tMax, v.sHt, v.calValue}), (std::array{15, 10, 2, 157}));
  EXPECT_EQ(Text(ids::kCalValueEdit), "157");
  // Neither the port number, the machine's name, the status line nor the link change,
  // and the machine is not told.
  EXPECT_EQ(v.commPort, 9);
  EXPECT_EQ(state().machine.machineName, "From machine");
  EXPECT_EQ(Text(ids::kStatusLine), status);
  EXPECT_EQ(dlg.link().queue().GetCount(), queued);
}

TEST_F(ShellTest, ExitAsksForConfirmationAndCancelLeavesEverythingRunning) {
  host.answers = {MessageAnswer::kCancel, MessageAnswer::kCancel};
  dlg.OnOK();
  dlg.OnCancel();
  // Cancel is the box's default, so Enter pressed twice does not quit.
  const FakeHost::Message confirm{"Confirm Exit", MessageButtons::kOkCancelDefaultCancel};
  EXPECT_EQ(host.messages, (std::vector<FakeHost::Message>{confirm, confirm}));
  EXPECT_FALSE(host.endResult.has_value());
  EXPECT_EQ(host.runningTimers.size(), 2u);

  dlg.OnOK();
  EXPECT_EQ(host.endResult, 10);
}

TEST_F(ShellTest, CancelWithOkEndsTheRunAndStopsAnAttempt) {
  dlg.connection().OnConnectClicked();
  ASSERT_TRUE(dlg.connection().connectPending());
  dlg.OnCancel();
  EXPECT_EQ(host.endResult, 2);
  EXPECT_FALSE(dlg.connection().connectPending());
  EXPECT_EQ(dlg.connection().connectSecondsLeft(), 0);
}

TEST_F(ShellTest, DestroyClosesAnOpenPortThenSavesThePortNumberAndStopsTimers) {
  Connect();
  ASSERT_TRUE(dlg.link().IsOpen());
  TypePort("12");
  dlg.OnDestroy();
  EXPECT_EQ(port.handle, PortHandle::kNone);
  EXPECT_EQ(port.calls.back(), "close");
  EXPECT_EQ(host.profileStore.values["Kelo Config/Comm Port"], "12");
  EXPECT_TRUE(host.runningTimers.empty());
}

TEST_F(ShellTest, DestroyWithoutAPortStillSavesThePortNumber) {
  TypePort("27");
  dlg.OnDestroy();
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(host.profileStore.values["Kelo Config/Comm Port"], "27");
}

TEST_F(ShellTest, HelpOpensTheManualOrTellsAndOpensTheFolder) {
  const std::string directory(300, 'd');  // any length of current directory works
  host.currentDirectory = "/" + directory;
  host.openableDocuments = {"/" + directory + "/kelo manual.pdf"};
  dlg.OnHelpClicked();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(host.openedDocuments, std::vector<std::string>{"/" + directory + "/kelo manual.pdf"});

  host.openableDocuments.clear();
  host.openedDocuments.clear();
  dlg.OnHelpClicked();
  EXPECT_EQ(host.MessageTexts(),
            std::vector<std::string>{"Help files not found !\n Navigate to find"});
  EXPECT_EQ(host.openedDocuments,
            (std::vector<std::string>{"/" + directory + "/kelo manual.pdf", "/" + directory}));
}

}  // namespace
