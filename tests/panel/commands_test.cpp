#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "support/panel_fixture.h"

namespace {

class CommandsTest : public PanelFixture {
 protected:
  // Connected, with the machine's settings and calibration values on the panel.
  void ReadyToWrite() {
    OpenPort();
    Deliver({0, 0, 3, 21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF});
    Deliver({0, 0, 7, 12, 4, 20, 45, 1, 2, 3, 4, 5});
  }
  void Deliver(const std::array<int32_t, kFrameSize>& reply) {
    dlg.replyFrame = reply;
    dlg.DispatchReply();
  }
  void TypeInto(int id, const std::string& text) { dlg.controls().SetText(id, text); }
};

TEST_F(CommandsTest, WriteSendsSettingsAndCalibrationThenReadsBack) {
  ReadyToWrite();
  dlg.OnWriteClicked();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(dlg.txInProgress);
  EXPECT_EQ(DrainStack(), (std::vector<int>{4, 8, 13, 3, 9, 11, 7, 1}));
}

TEST_F(CommandsTest, WriteGoesAheadOfCodesAlreadyWaiting) {
  ReadyToWrite();
  dlg.msgStack.Push(17);
  dlg.OnWriteClicked();
  dlg.OnWriteClicked();  // pressed again while its run animates: queued twice
  EXPECT_EQ(DrainStack(),
            (std::vector<int>{4, 8, 13, 3, 9, 11, 7, 1, 4, 8, 13, 3, 9, 11, 7, 1, 17}));
}

struct RefusalCase {
  const char* name;
  bool portOpen;
  bool rxInProgress;
  bool settingsArrived;
  bool calibrationArrived;
  const char* message;
};

class WriteRefusalTest : public CommandsTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(WriteRefusalTest, ChangesNothing) {
  const RefusalCase& c = GetParam();
  if (c.portOpen) OpenPort();
  dlg.rxInProgress = c.rxInProgress;
  if (c.settingsArrived) Deliver({0, 0, 3, 20});
  if (c.calibrationArrived) Deliver({0, 0, 7, 157, 2, 15, 10});
  TypeInto(ids::kSHtEdit, "7");
  dlg.OnWriteClicked();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{c.message});
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);
  EXPECT_FALSE(dlg.txInProgress);
  EXPECT_EQ(dlg.sHt, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Write, WriteRefusalTest,
    ::testing::Values(
        RefusalCase{"ReadRunning", true, true, true, true, "Wait for Rx to complete"},
        RefusalCase{"NoPort", false, false, true, true, "Error \nNo port open"},
        RefusalCase{"ReadRunningWithoutPort", false, true, true, true, "Wait for Rx to complete"},
        RefusalCase{"NoSettingsYet", true, false, false, true, "Wait for Rx to complete"},
        RefusalCase{"NoCalibrationYet", true, false, true, false, "Wait for Rx to complete"}),
    [](const auto& info) { return std::string(info.param.name); });

struct SHtCase {
  const char* sHt;
  bool accepted;
  std::vector<std::string> messages;
};

class WriteSHtTest : public CommandsTest, public ::testing::WithParamInterface<SHtCase> {};

TEST_P(WriteSHtTest, ChecksTheRangeAndRestoresOnRefusal) {
  const SHtCase& c = GetParam();
  ReadyToWrite();
  TypeInto(ids::kSHtEdit, c.sHt);
  TypeInto(ids::kTMinEdit, "33");
  TypeInto(ids::kTMaxEdit, "44");
  TypeInto(ids::kCalValueEdit, "99");
  dlg.OnWriteClicked();
  EXPECT_EQ(dlg.calValue, 99);  // never restored
  if (c.accepted) {
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(dlg.msgStack.GetCount(), 8);
    EXPECT_EQ(dlg.tMin, 33);
    EXPECT_EQ(Text(ids::kSHtEdit), c.sHt);
  } else {
    EXPECT_EQ(host.MessageTexts(), c.messages);
    EXPECT_EQ(dlg.msgStack.GetCount(), 0);
    EXPECT_FALSE(dlg.txInProgress);
    EXPECT_EQ((std::array{dlg.sHt, dlg.tMin, dlg.tMax}), (std::array{4, 20, 45}));
    EXPECT_EQ(Text(ids::kSHtEdit), "4");
    EXPECT_EQ(Text(ids::kTMinEdit), "20");
    EXPECT_EQ(Text(ids::kCalValueEdit), "99");
  }
  EXPECT_EQ(dlg.sHtMinimumRaw, 1);
}

INSTANTIATE_TEST_SUITE_P(SHt, WriteSHtTest,
                         ::testing::Values(SHtCase{"0", true, {}}, SHtCase{"10", true, {}},
                                           SHtCase{"11", false, {"s-heat max is \n 10C"}}));

TEST_F(CommandsTest, WriteTurnsAnOutOfRangeCalValueIntoZeroAndGoesOn) {
  ReadyToWrite();
  TypeInto(ids::kCalValueEdit, "251");
  dlg.OnWriteClicked();
  EXPECT_EQ(dlg.calValue, 0);
  EXPECT_EQ(Text(ids::kCalValueEdit), "0");
  EXPECT_EQ(dlg.msgStack.GetCount(), 8);
}

struct StopCase {
  const char* name;
  int editId;
  const char* text;
  const char* message;
  std::array<int32_t, 4> stored;  // calValue, sHt, tMin, tMax afterwards
};

class WriteStopTest : public CommandsTest, public ::testing::WithParamInterface<StopCase> {};

// A value the exchange refuses, or one that cannot travel in its byte, stops Write before
// anything is queued, with the focus on that edit; what the exchange stored stays stored.
TEST_P(WriteStopTest, QueuesNothing) {
  const StopCase& c = GetParam();
  ReadyToWrite();
  TypeInto(c.editId, c.text);
  dlg.OnWriteClicked();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{c.message});
  EXPECT_EQ(dlg.controls().FocusedControl(), c.editId);
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);
  EXPECT_FALSE(dlg.txInProgress);
  EXPECT_EQ((std::array{dlg.calValue, dlg.sHt, dlg.tMin, dlg.tMax}), c.stored);
}

INSTANTIATE_TEST_SUITE_P(Write, WriteStopTest,
                         ::testing::Values(StopCase{"CalValueOutOfItsRange",
                                                    ids::kCalValueEdit,
                                                    "300",
                                                    "Please enter an integer between 0 and 255.",
                                                    {300, 4, 20, 45}},
                                           StopCase{"NegativeSHt",
                                                    ids::kSHtEdit,
                                                    "-1",
                                                    "Please enter an integer between 0 and 65000.",
                                                    {12, -1, 20, 45}},
                                           StopCase{"LettersInTMin",
                                                    ids::kTMinEdit,
                                                    "abc",
                                                    "Please enter an integer.",
                                                    {12, 4, 20, 45}},
                                           StopCase{"TMaxBeyondItsByte",
                                                    ids::kTMaxEdit,
                                                    "300",
                                                    "Please enter an integer between 0 and 255.",
                                                    {12, 4, 20, 300}},
                                           StopCase{"TMinBeyondItsByte",
                                                    ids::kTMinEdit,
                                                    "256",
                                                    "Please enter an integer between 0 and 255.",
                                                    {12, 4, 256, 45}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, WriteWithNothingTouchedSendsTheMachinesOwnBytes) {
  ReadyToWrite();
  port.responder = [](const FakeSerialPort::Frame& r) {
    return std::vector<uint8_t>{0, 0, r[2], 0, 0, 0, 0, 0, 0, 0, 0, 0};
  };
  dlg.OnWriteClicked();
  LinkTicks(3);
  const auto frames = port.SentFrames();
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_EQ(frames[0],
            (FakeSerialPort::Frame{0, 0, 4, 21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}));
  EXPECT_EQ(frames[1], (FakeSerialPort::Frame{0, 0, 8, 12, 4, 20, 45, 1, 2, 3, 4, 5}));
}

TEST_F(CommandsTest, ReadQueuesTheReadBackAndRefusesWhileWriteRuns) {
  OpenPort();
  dlg.OnReadClicked();
  dlg.OnReadClicked();  // Read does not look at its own run
  EXPECT_TRUE(dlg.rxInProgress);
  EXPECT_EQ(DrainStack(), (std::vector<int>{13, 3, 9, 11, 7, 13, 3, 9, 11, 7}));

  dlg.rxInProgress = false;
  dlg.txInProgress = true;
  dlg.OnReadClicked();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Wait for Tx to complete"});
  EXPECT_EQ(dlg.msgStack.GetCount(), 0);

  dlg.txInProgress = false;
  dlg.portOpen = false;
  dlg.OnReadClicked();
  EXPECT_EQ(host.messages.back().text, "Error \nNo port open");
  EXPECT_FALSE(dlg.rxInProgress);
}

TEST_F(CommandsTest, SetDateAndSetServiceQueueWithoutChecks) {
  dlg.txInProgress = dlg.rxInProgress = true;  // no port, runs going: still queued
  dlg.OnSetDateClicked();
  dlg.OnSetServiceClicked();
  EXPECT_EQ(DrainStack(), (std::vector<int>{13, 13, 14, 16}));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(CommandsTest, CalValueGuardRunsOnEveryKeystroke) {
  struct SelectAllRecorder : ControlObserver {
    void TextSelectedAll(int id) override { selected.push_back(id); }
    std::vector<int> selected;
  } recorder;
  dlg.controls().Subscribe(&recorder);
  const struct {
    const char* text;
    const char* shown;
    int32_t stored;
  } keystrokes[] = {{"2", "2", 2}, {"25", "25", 25}, {"251", "0", 0}};
  TypeInto(ids::kCalValueEdit, "");
  for (const auto& k : keystrokes) {
    TypeInto(ids::kCalValueEdit, k.text);
    dlg.OnCalValueChanged();
    EXPECT_EQ(Text(ids::kCalValueEdit), k.shown);
    EXPECT_EQ(dlg.calValue, k.stored);
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(recorder.selected, std::vector<int>{ids::kCalValueEdit});  // after the third digit
  dlg.controls().Unsubscribe(&recorder);
}

TEST_F(CommandsTest, CalValueGuardReportsAnotherEditsFaultAfterEachKeystroke) {
  TypeInto(ids::kTMaxEdit, "x");
  for (const char* text : {"1", "12", "120"}) {
    TypeInto(ids::kCalValueEdit, text);
    dlg.OnCalValueChanged();
  }
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>(3, "Please enter an integer."));
  EXPECT_EQ(dlg.calValue, 120);
}

TEST_F(CommandsTest, LocalTemp18AlsoSetsTheEvapFanToPlusOne) {
  auto& m = dlg.controls();
  m.SetSelection(ids::kLocalTempCombo, 2);
  dlg.OnLocalTempChanged();
  EXPECT_EQ(m.GetSelection(ids::kEvapFanCombo), 0);
  m.SetSelection(ids::kLocalTempCombo, 1);
  dlg.OnLocalTempChanged();
  EXPECT_EQ(m.GetSelection(ids::kEvapFanCombo), 1);
  EXPECT_EQ(Text(ids::kEvapFanCombo), "+1");
}

struct InterlockCase {
  const char* name;
  bool compressorChecked;
  int runTime;  // -1: typed text
  bool viaRunTime;
  std::vector<std::string> messages;
  bool compressorAfter;
  int runTimeAfter;
};

class InterlockTest : public CommandsTest, public ::testing::WithParamInterface<InterlockCase> {};

TEST_P(InterlockTest, KeepsCompressorRunAndRunTimeZeroApart) {
  const InterlockCase& c = GetParam();
  auto& m = dlg.controls();
  m.SetCheck(ids::kCompressorRunCheck, c.compressorChecked);
  if (c.runTime >= 0) {
    m.SetSelection(ids::kRunTimeCombo, c.runTime);
  } else {
    m.TypeComboText(ids::kRunTimeCombo, "+5");
  }
  if (c.viaRunTime) {
    dlg.OnRunTimeChanged();
  } else {
    dlg.OnCompressorRunClicked();
  }
  EXPECT_EQ(host.MessageTexts(), c.messages);
  EXPECT_EQ(m.IsChecked(ids::kCompressorRunCheck), c.compressorAfter);
  EXPECT_EQ(m.GetSelection(ids::kRunTimeCombo), c.runTimeAfter);
}

const std::string kPanic = "Warning, \nAux Input = Panic  \nWill Be Disabled";
const std::string kPowerSave = "Warning, \nPower Save  \nWill Be Disabled";

INSTANTIATE_TEST_SUITE_P(
    Interlocks, InterlockTest,
    ::testing::Values(InterlockCase{"CheckingWithRunTimeZero", true, 0, false, {kPanic}, true, 1},
                      InterlockCase{"CheckingWithRunTimeTen", true, 1, false, {}, true, 1},
                      InterlockCase{"CheckingWithTypedRunTime", true, -1, false, {}, true, -1},
                      InterlockCase{"ClearingNeverWarns", false, 0, false, {}, false, 0},
                      InterlockCase{
                          "RunTimeZeroWhileChecked", true, 0, true, {kPowerSave}, false, 0},
                      InterlockCase{"RunTimeZeroWhileClear", false, 0, true, {}, false, 0},
                      InterlockCase{"RunTimeTwentyWhileChecked", true, 2, true, {}, true, 2}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
