#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "reply_frames.h"
#include "support/panel_fixture.h"

namespace {

struct ComboCase {
  int byte;  // payload byte 3..8
  int value;
  int comboId;
  int expectedSelection;  // -1: none
  const char* expectedField;
};

class SettingsReplyCombo : public ::testing::TestWithParam<ComboCase> {};

TEST_P(SettingsReplyCombo, SelectsIndexWithoutUpperClamp) {
  const ComboCase& c = GetParam();
  DecodeTarget t;
  // Every combo on its second entry beforehand, so that "no selection" must clear it.
  t.Deliver(ReplyFrame(3, {18, 10, 1, 1, 0, 0x10}));
  ASSERT_EQ(t.panel.controls.GetSelection(c.comboId), 1);
  std::array<int, 6> payload{};
  payload[static_cast<std::size_t>(c.byte - 3)] = c.value;
  t.Deliver(
      ReplyFrame(3, {payload[0], payload[1], payload[2], payload[3], payload[4], payload[5]}));
  EXPECT_EQ(t.panel.controls.GetSelection(c.comboId), c.expectedSelection);
  EXPECT_EQ(t.panel.controls.GetText(c.comboId), c.expectedField);
}

INSTANTIATE_TEST_SUITE_P(Bytes, SettingsReplyCombo,
                         ::testing::Values(
                             // Local Temp: byte - 17, below 17 the first entry, above 27 nothing.
                             ComboCase{3, 10, 1045, 0, "17"}, ComboCase{3, 0, 1045, 0, "17"},
                             ComboCase{3, 17, 1045, 0, "17"}, ComboCase{3, 18, 1045, 1, "18"},
                             ComboCase{3, 27, 1045, 10, "27"}, ComboCase{3, 28, 1045, -1, ""},
                             ComboCase{3, 30, 1045, -1, ""}, ComboCase{3, 255, 1045, -1, ""},
                             // Run time: byte / 10.
                             ComboCase{4, 25, 1052, 2, "+20"}, ComboCase{4, 9, 1052, 0, "+0"},
                             ComboCase{4, 59, 1052, 5, "+50"}, ComboCase{4, 60, 1052, -1, ""},
                             ComboCase{4, 255, 1052, -1, ""},
                             // Evaporator fan and pump minimum: low four bits.
                             ComboCase{5, 0xF3, 1061, 3, "+3"}, ComboCase{5, 0x08, 1061, 8, "+8"},
                             ComboCase{5, 0x09, 1061, -1, ""}, ComboCase{6, 0x70, 1062, 0, "0"},
                             ComboCase{6, 0x0F, 1062, -1, ""},
                             // Pump maximum: upper four bits of byte 8.
                             ComboCase{8, 0x8F, 1046, 8, "+8"}, ComboCase{8, 0x0F, 1046, 0, "0"},
                             ComboCase{8, 0x90, 1046, -1, ""}));

// Contact check boxes from byte 7, in the order 1027, 1031, 1033, 1028, 1032, 1034.
constexpr std::array<int, 6> kContactChecks = {1027, 1031, 1033, 1028, 1032, 1034};
// Run check boxes from byte 8, in the order 1058, 1067, 1030, 1035.
constexpr std::array<int, 4> kRunChecks = {1058, 1067, 1030, 1035};

struct FlagsCase {
  int contactByte;
  int runByte;
  std::array<int, 6> expectedContacts;
  std::array<int, 4> expectedRuns;
};

class SettingsReplyFlags : public ::testing::TestWithParam<FlagsCase> {};

TEST_P(SettingsReplyFlags, ChecksBoxesByBit) {
  const FlagsCase& c = GetParam();
  // From every box unchecked, and from every box checked.
  const Frame allClear = ReplyFrame(3, {0, 0, 0, 0, 0xFB, 0x00});
  const Frame allChecked = ReplyFrame(3, {0, 0, 0, 0, 0x04, 0x0F});
  for (const Frame& before : {allClear, allChecked}) {
    DecodeTarget t;
    t.Deliver(before);
    t.Deliver(ReplyFrame(3, {0, 0, 0, 0, c.contactByte, c.runByte}));
    for (std::size_t i = 0; i < kContactChecks.size(); ++i) {
      EXPECT_EQ(t.panel.controls.IsChecked(kContactChecks[i]), c.expectedContacts[i] != 0)
          << kContactChecks[i] << " from " << before[7];
    }
    for (std::size_t i = 0; i < kRunChecks.size(); ++i) {
      EXPECT_EQ(t.panel.controls.IsChecked(kRunChecks[i]), c.expectedRuns[i] != 0)
          << kRunChecks[i] << " from " << before[7];
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Bytes, SettingsReplyFlags,
                         ::testing::Values(FlagsCase{0xFB, 0x00, {0, 0, 0, 0, 0, 0}, {0, 0, 0, 0}},
                                           FlagsCase{0x04, 0x0F, {1, 1, 1, 1, 1, 1}, {1, 1, 1, 1}},
                                           FlagsCase{0x00, 0xF0, {1, 1, 1, 1, 1, 0}, {0, 0, 0, 0}},
                                           FlagsCase{0x22, 0x02, {1, 1, 1, 1, 1, 0}, {1, 0, 0, 0}},
                                           FlagsCase{0x80, 0x01, {0, 1, 1, 1, 1, 0}, {0, 1, 0, 0}},
                                           FlagsCase{0x10, 0x04, {1, 0, 1, 1, 1, 0}, {0, 0, 1, 0}},
                                           FlagsCase{0x40, 0x08, {1, 1, 0, 1, 1, 0}, {0, 0, 0, 1}},
                                           FlagsCase{0x08, 0x00, {1, 1, 1, 0, 1, 0}, {0, 0, 0, 0}},
                                           FlagsCase{
                                               0x01, 0x00, {1, 1, 1, 1, 0, 0}, {0, 0, 0, 0}}));

TEST(SettingsReplyReceipt, KeepsBytes3To11AsReceived) {
  DecodeTarget t;
  t.Deliver(ReplyFrame(3, {21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}));
  EXPECT_EQ(t.panel.machine.machineSettings,
            (PayloadBytes{21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}));
  EXPECT_FALSE(t.panel.machine.machineCalibration);
}

TEST(CalibrationReply, StoresFourValuesAndShowsAllBoundEdits) {
  DecodeTarget t;
  // The panel read with port 7 in its edit, then the operator typed without storing.
  ShowBoundValues(t.panel.values, t.panel.controls);
  t.panel.controls.SetText(ids::kPortEdit, "7");
  ASSERT_FALSE(ReadBoundValues(t.panel.values, t.panel.controls));
  t.panel.controls.SetText(ids::kCalValueEdit, "typed");
  t.panel.controls.SetText(ids::kPortEdit, "typed");
  t.Deliver(ReplyFrame(7, {255, 0, 128, 1, 99, 99}));
  EXPECT_EQ(t.panel.values.calValue, 255);
  EXPECT_EQ(t.panel.values.sHt, 0);
  EXPECT_EQ(t.panel.values.tMin, 128);
  EXPECT_EQ(t.panel.values.tMax, 1);
  EXPECT_EQ(t.panel.controls.GetText(ids::kCalValueEdit), "255");
  EXPECT_EQ(t.panel.controls.GetText(ids::kSHtEdit), "0");
  EXPECT_EQ(t.panel.controls.GetText(ids::kTMinEdit), "128");
  EXPECT_EQ(t.panel.controls.GetText(ids::kTMaxEdit), "1");
  EXPECT_EQ(t.panel.controls.GetText(ids::kPortEdit), "7");
  EXPECT_EQ(t.panel.machine.machineCalibration, (PayloadBytes{255, 0, 128, 1, 99, 99, 0, 0, 0}));
  EXPECT_FALSE(t.panel.machine.machineSettings);
}

// Write waits for both read-backs; the refusal text is the panel's.
class ReadBacksOnTheLine : public ::testing::Test, protected PanelFixture {};

TEST_F(ReadBacksOnTheLine, WriteGoesAheadOnlyOnceBothHaveArrived) {
  // The machine leaves its settings unanswered until told otherwise.
  bool settingsAnswered = false;
  auto machine = MachineResponder();
  port.responder = [&](const FakeSerialPort::Frame& request) {
    if (request[2] == 3 && !settingsAnswered) return std::vector<uint8_t>{};
    return machine(request);
  };
  Connect();
  Settle();
  ASSERT_TRUE(state().machine.machineCalibration);
  ASSERT_FALSE(state().machine.machineSettings);
  dlg.commands().OnWriteClicked();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Wait for Rx to complete"});
  EXPECT_TRUE(QueuedCodes().empty());

  settingsAnswered = true;
  dlg.commands().OnReadClicked();
  LinkTicks(21);  // the Read run's progress bar
  ASSERT_FALSE(state().gate.rxInProgress);
  Settle();
  ASSERT_TRUE(state().machine.machineSettings);
  dlg.commands().OnWriteClicked();
  EXPECT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{4, 8, 13, 3, 9, 11, 7, 1}));
}

}  // namespace
