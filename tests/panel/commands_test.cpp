#include "panel/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "panel/operator_events.h"
#include "resources/control_ids.h"
#include "support/operator_controls.h"
#include "support/panel_fixture.h"

namespace {

// A machine whose settings and calibration values carry bits no control shows.
sim::MachineSetup UnusualMachine() {
  sim::MachineSetup setup;
  setup.settings = {21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF};
  setup.calibration = {12, 4, 20, 45, 1, 2, 3, 4, 5};
  return setup;
}

class CommandsTest : public ::testing::Test, protected PanelFixture {
 protected:
  // Connected, with the machine's settings and calibration values on the panel.
  void ReadyToWrite() { ConnectToMachine(UnusualMachine()); }
  // Connected to a machine that never answers `code`.
  void ConnectWithout(int code) {
    const auto machine = MachineResponder();
    port.responder = [machine, code](const FakeSerialPort::Frame& request) {
      return request[2] == code ? std::vector<uint8_t>{} : machine(request);
    };
    Connect();
    Settle();
  }
  void TypeInto(int id, const std::string& text) { dlg.controls().SetText(id, text); }
  void Write() { dlg.commands().OnWriteClicked(); }
  void Read() { dlg.commands().OnReadClicked(); }
  const BoundValues& values() const { return state().values; }
  const WriteGate& gate() const { return state().gate; }
};

TEST_F(CommandsTest, WriteSendsSettingsAndCalibrationThenReadsBack) {
  ReadyToWrite();
  Write();
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(gate().txInProgress);
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{4, 8, 13, 3, 9, 11, 7, 1}));
}

TEST_F(CommandsTest, WriteGoesAheadOfCodesAlreadyWaiting) {
  ReadyToWrite();
  dlg.commands().OnSetDateClicked();
  Write();
  Write();  // pressed again while its run animates: queued twice
  EXPECT_EQ(QueuedCodes(),
            (std::vector<int>{4, 8, 13, 3, 9, 11, 7, 1, 4, 8, 13, 3, 9, 11, 7, 1, 16}));
}

// Every value a machine can hold in each byte of its settings and calibration blocks,
// one byte at a time, the others as an unusual machine has them: Write with nothing
// touched sends both blocks back byte for byte, even where the panel shows a value
// rounded, past a list's end, or clamped (a Cal Value above 250 kept as 0).
TEST(WriteRuleOverEveryValue, NothingTouchedSendsEveryByteOfBothBlocksBack) {
  std::vector<std::string> faults;
  for (const bool calibration : {false, true}) {
    for (std::size_t byte = 0; byte < PayloadBytes().size(); ++byte) {
      for (int value = 0; value <= 0xFF; ++value) {
        sim::MachineSetup setup = UnusualMachine();
        (calibration ? setup.calibration : setup.settings)[byte] = static_cast<uint8_t>(value);
        PanelFixture panel;
        panel.ConnectToMachine(setup);
        panel.port.written.clear();
        panel.dlg.commands().OnWriteClicked();
        panel.LinkTicks(3);
        const std::vector expected{Request(4, setup.settings), Request(8, setup.calibration)};
        if (panel.port.SentFrames() != expected || !panel.host.messages.empty()) {
          faults.push_back((calibration ? "calibration byte " : "settings byte ") +
                           std::to_string(byte + 3) + " = " + std::to_string(value));
        }
      }
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
}

class WriteRefusalTest;

struct RefusalCase {
  const char* name;
  void (WriteRefusalTest::*reach)();  // how the panel got into the state Write refuses
  const char* message;
};

class WriteRefusalTest : public CommandsTest, public ::testing::WithParamInterface<RefusalCase> {
 public:
  void ReachNoPort() {}
  void ReachReadRunning() {
    ReadyToWrite();
    Read();
  }
  void ReachReadRunningWithoutPort() {
    ReachReadRunning();
    dlg.connection().OnConnectClicked();  // Close, confirmed
  }
  void ReachNoSettingsYet() { ConnectWithout(3); }
  void ReachNoCalibrationYet() { ConnectWithout(7); }
};

TEST_P(WriteRefusalTest, ChangesNothing) {
  const RefusalCase& c = GetParam();
  (this->*c.reach)();
  host.messages.clear();
  const std::vector<int> queued = QueuedCodes();
  const int32_t sHt = values().sHt;
  TypeInto(ids::kSHtEdit, "7");
  Write();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{c.message});
  EXPECT_EQ(QueuedCodes(), queued);
  EXPECT_FALSE(gate().txInProgress);
  EXPECT_EQ(values().sHt, sHt);
}

INSTANTIATE_TEST_SUITE_P(
    Write, WriteRefusalTest,
    ::testing::Values(
        RefusalCase{"ReadRunning", &WriteRefusalTest::ReachReadRunning, "Wait for Rx to complete"},
        RefusalCase{"NoPort", &WriteRefusalTest::ReachNoPort, "Error \nNo port open"},
        RefusalCase{"ReadRunningWithoutPort", &WriteRefusalTest::ReachReadRunningWithoutPort,
                    "Wait for Rx to complete"},
        RefusalCase{"NoSettingsYet", &WriteRefusalTest::ReachNoSettingsYet,
                    "Wait for Rx to complete"},
        RefusalCase{"NoCalibrationYet", &WriteRefusalTest::ReachNoCalibrationYet,
                    "Wait for Rx to complete"}),
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
  Write();
  EXPECT_EQ(values().calValue, 99);  // never restored
  if (c.accepted) {
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(QueuedCodes().size(), 8u);
    EXPECT_EQ(values().tMin, 33);
    EXPECT_EQ(Text(ids::kSHtEdit), c.sHt);
  } else {
    EXPECT_EQ(host.MessageTexts(), c.messages);
    EXPECT_TRUE(QueuedCodes().empty());
    EXPECT_FALSE(gate().txInProgress);
    EXPECT_EQ((std::array{values().sHt, values().tMin, values().tMax}), (std::array{4, 20, 45}));
    EXPECT_EQ(Text(ids::kSHtEdit), "4");
    EXPECT_EQ(Text(ids::kTMinEdit), "20");
    EXPECT_EQ(Text(ids::kCalValueEdit), "99");
  }
}

INSTANTIATE_TEST_SUITE_P(SHt, WriteSHtTest,
                         ::testing::Values(SHtCase{"0", true, {}}, SHtCase{"10", true, {}},
                                           SHtCase{"11", false, {"s-heat max is \n 10C"}}));

TEST_F(CommandsTest, WriteTurnsAnOutOfRangeCalValueIntoZeroAndGoesOn) {
  ReadyToWrite();
  TypeInto(ids::kCalValueEdit, "251");
  Write();
  EXPECT_EQ(values().calValue, 0);
  EXPECT_EQ(Text(ids::kCalValueEdit), "0");
  EXPECT_EQ(QueuedCodes().size(), 8u);
}

struct StopCase {
  const char* name;
  int editId;
  const char* text;
  const char* message;
};

class WriteStopTest : public CommandsTest, public ::testing::WithParamInterface<StopCase> {};

// A value the exchange refuses, or one that cannot travel in its byte, stops Write before
// anything is queued, with the focus on that edit; the bound values and the edits stay
// as they were.
TEST_P(WriteStopTest, QueuesNothingAndChangesNothing) {
  const StopCase& c = GetParam();
  ConnectToMachine([] {
    sim::MachineSetup setup = UnusualMachine();
    setup.calibration[0] = 252;  // a Cal Value Write would keep as 0
    return setup;
  }());
  const BoundValues before = values();
  TypeInto(c.editId, c.text);
  Write();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{c.message});
  EXPECT_EQ(dlg.controls().FocusedControl(), c.editId);
  EXPECT_TRUE(QueuedCodes().empty());
  EXPECT_FALSE(gate().txInProgress);
  EXPECT_EQ((std::array{values().calValue, values().sHt, values().tMin, values().tMax}),
            (std::array{before.calValue, before.sHt, before.tMin, before.tMax}));
  EXPECT_EQ(Text(ids::kCalValueEdit), c.editId == ids::kCalValueEdit ? c.text : "252");
}

INSTANTIATE_TEST_SUITE_P(
    Write, WriteStopTest,
    ::testing::Values(StopCase{"CalValueOutOfItsRange", ids::kCalValueEdit, "300",
                               "Please enter an integer between 0 and 255."},
                      StopCase{"NegativeSHt", ids::kSHtEdit, "-1",
                               "Please enter an integer between 0 and 65000."},
                      StopCase{"LettersInTMin", ids::kTMinEdit, "abc", "Please enter an integer."},
                      StopCase{"TMaxBeyondItsByte", ids::kTMaxEdit, "300",
                               "Please enter an integer between 0 and 255."},
                      StopCase{"TMinBeyondItsByte", ids::kTMinEdit, "256",
                               "Please enter an integer between 0 and 255."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CommandsTest, ReadQueuesTheReadBackAndRefusesWhileWriteRuns) {
  ReadyToWrite();
  Read();
  Read();  // Read does not look at its own run
  EXPECT_TRUE(gate().rxInProgress);
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{13, 3, 9, 11, 7, 13, 3, 9, 11, 7}));

  LinkTicks(21);  // the Read run ends
  ASSERT_FALSE(gate().rxInProgress);
  Write();
  ASSERT_TRUE(gate().txInProgress);
  Settle();
  Read();  // refused even though all of Write's replies have arrived
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Wait for Tx to complete"});
  EXPECT_TRUE(QueuedCodes().empty());

  LinkTicks(21);
  dlg.connection().OnConnectClicked();  // Close, confirmed
  Read();
  EXPECT_EQ(host.messages.back().text, "Error \nNo port open");
  EXPECT_FALSE(gate().rxInProgress);
}

TEST_F(CommandsTest, SetDateAndSetServiceQueueWithoutChecks) {
  dlg.commands().OnSetDateClicked();  // no port: still queued
  dlg.commands().OnSetServiceClicked();
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{13, 13, 14, 16}));
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
    OperatorEdited(dlg, ids::kCalValueEdit, k.text);
    EXPECT_EQ(Text(ids::kCalValueEdit), k.shown);
    EXPECT_EQ(values().calValue, k.stored);
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(recorder.selected, std::vector<int>{ids::kCalValueEdit});  // after the third digit
  dlg.controls().Unsubscribe(&recorder);
}

TEST_F(CommandsTest, CalValueGuardReportsAnotherEditsFaultAfterEachKeystroke) {
  TypeInto(ids::kTMaxEdit, "x");
  for (const char* text : {"1", "12", "120"}) OperatorEdited(dlg, ids::kCalValueEdit, text);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>(3, "Please enter an integer."));
  EXPECT_EQ(values().calValue, 120);
}

TEST_F(CommandsTest, LocalTemp18AlsoSetsTheEvapFanToPlusOne) {
  OperatorSelected(dlg, ids::kLocalTempCombo, 2);
  EXPECT_EQ(dlg.controls().GetSelection(ids::kEvapFanCombo), 0);
  OperatorSelected(dlg, ids::kLocalTempCombo, 1);
  EXPECT_EQ(dlg.controls().GetSelection(ids::kEvapFanCombo), 1);
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

// The operator checks Compressor Run (toggling it) or picks a Run Time entry.
TEST_P(InterlockTest, KeepsCompressorRunAndRunTimeZeroApart) {
  const InterlockCase& c = GetParam();
  auto& m = dlg.controls();
  if (c.runTime >= 0) {
    m.SetSelection(ids::kRunTimeCombo, c.runTime);
  } else {
    m.TypeComboText(ids::kRunTimeCombo, "+5");
  }
  if (c.viaRunTime) {
    m.SetCheck(ids::kCompressorRunCheck, c.compressorChecked);
    OperatorSelected(dlg, ids::kRunTimeCombo, c.runTime);
  } else {
    m.SetCheck(ids::kCompressorRunCheck, !c.compressorChecked);
    OperatorClicked(dlg, ids::kCompressorRunCheck);
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

// What every operator control shows, one text per control of kOperatorControls.
std::vector<std::string> Shown(const ControlModel& controls) {
  std::vector<std::string> shown;
  for (const OwnedBits& control : kOperatorControls) {
    const ControlState& state = *controls.Find(control.id);
    shown.push_back(state.text + "|" + std::to_string(state.selection) + "|" +
                    std::to_string(state.check));
  }
  return shown;
}

// Every way the operator can set each control, one control at a time, on a machine whose
// spare bits are set (Compressor Run clear and the fan at "+1", so no interlock moves a
// second control): Write changes only that control's bits of frames 4 and 8, and the
// machine's read-back shows what the operator chose and every other control as it was.
TEST(WriteRuleOverEveryControl, OneControlChangedChangesOnlyItsOwnBits) {
  sim::MachineSetup setup = UnusualMachine();
  setup.settings[2] = 0xA1;
  setup.settings[5] = 0x62;
  std::vector<std::string> faults;
  for (std::size_t c = 0; c < std::size(kOperatorControls); ++c) {
    const OwnedBits& owned = kOperatorControls[c];
    PanelFixture panel;
    panel.ConnectToMachine(setup);
    const ControlState& state = *panel.dlg.controls().Find(owned.id);
    std::vector<std::function<void()>> changes;
    if (state.kind == ControlKind::kCombo) {
      for (int i = 0; i < static_cast<int>(state.entries.size()); ++i) {
        changes.emplace_back([&, i] { OperatorSelected(panel.dlg, owned.id, i); });
      }
    } else if (state.kind == ControlKind::kCheckBox) {
      changes.assign(2, [&] { OperatorClicked(panel.dlg, owned.id); });
    } else {
      const int last = owned.id == ids::kCalValueEdit ? 250 : owned.id == ids::kSHtEdit ? 10 : 255;
      for (int v = 0; v <= last; ++v) {
        changes.emplace_back([&, v] { OperatorEdited(panel.dlg, owned.id, std::to_string(v)); });
      }
    }
    for (std::size_t k = 0; k < changes.size(); ++k) {
      const MachineReadings& machine = panel.state().machine;
      const std::array blocks{*machine.machineSettings, *machine.machineCalibration};
      changes[k]();
      std::vector<std::string> expectedShown = Shown(panel.dlg.controls());
      panel.port.written.clear();
      panel.dlg.commands().OnWriteClicked();
      panel.LinkTicks(3);
      const auto frames = panel.port.SentFrames();
      bool onlyItsBits = frames.size() == 2;
      for (std::size_t f = 0; onlyItsBits && f < frames.size(); ++f) {
        const int code = f == 0 ? 4 : 8;
        for (std::size_t b = 0; b < blocks[f].size(); ++b) {
          const uint8_t owns = code == owned.code && b == owned.byte ? owned.mask : 0;
          onlyItsBits = onlyItsBits && frames[f][2] == code &&
                        ((frames[f][b + 3] ^ blocks[f][b]) & ~owns) == 0;
        }
      }
      panel.Settle();
      if (!onlyItsBits || Shown(panel.dlg.controls()) != expectedShown ||
          !panel.host.messages.empty()) {
        faults.push_back("control " + std::to_string(owned.id) + ", change " + std::to_string(k));
      }
    }
  }
  EXPECT_EQ(faults, std::vector<std::string>{});
}

}  // namespace
