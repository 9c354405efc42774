#include <gtest/gtest.h>

#include <array>

#include "reply_panel.h"

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
  ReplyPanel p;
  // A selection beforehand, so that "no selection" must clear it.
  p.controls().SetSelection(c.comboId, 1);
  std::array<int, 6> payload{};
  payload[static_cast<std::size_t>(c.byte - 3)] = c.value;
  p.Deliver(3, {payload[0], payload[1], payload[2], payload[3], payload[4], payload[5]});
  EXPECT_EQ(p.controls().GetSelection(c.comboId), c.expectedSelection);
  EXPECT_EQ(p.controls().GetText(c.comboId), c.expectedField);
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
  for (int before : {0, 1}) {
    ReplyPanel p;
    for (int id : kContactChecks) p.controls().SetCheck(id, before);
    for (int id : kRunChecks) p.controls().SetCheck(id, before);
    p.Deliver(3, {0, 0, 0, 0, c.contactByte, c.runByte});
    for (std::size_t i = 0; i < kContactChecks.size(); ++i) {
      EXPECT_EQ(p.controls().IsChecked(kContactChecks[i]), c.expectedContacts[i] != 0)
          << kContactChecks[i] << " from " << before;
    }
    for (std::size_t i = 0; i < kRunChecks.size(); ++i) {
      EXPECT_EQ(p.controls().IsChecked(kRunChecks[i]), c.expectedRuns[i] != 0)
          << kRunChecks[i] << " from " << before;
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
  ReplyPanel p;
  p.Deliver(3, {21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF});
  EXPECT_EQ(p.panel.machineSettings,
            (std::array<uint8_t, 9>{21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}));
  EXPECT_FALSE(p.panel.machineCalibration);
}

TEST(CalibrationReply, StoresFourValuesAndShowsAllBoundEdits) {
  ReplyPanel p;
  p.panel.commPort = 7;
  p.controls().SetText(ids::kCalValueEdit, "typed");
  p.controls().SetText(ids::kPortEdit, "typed");
  p.Deliver(7, {255, 0, 128, 1, 99, 99});
  EXPECT_EQ(p.panel.calValue, 255);
  EXPECT_EQ(p.panel.sHt, 0);
  EXPECT_EQ(p.panel.tMin, 128);
  EXPECT_EQ(p.panel.tMax, 1);
  EXPECT_EQ(p.controls().GetText(ids::kCalValueEdit), "255");
  EXPECT_EQ(p.controls().GetText(ids::kSHtEdit), "0");
  EXPECT_EQ(p.controls().GetText(ids::kTMinEdit), "128");
  EXPECT_EQ(p.controls().GetText(ids::kTMaxEdit), "1");
  EXPECT_EQ(p.controls().GetText(ids::kPortEdit), "7");
  EXPECT_EQ(p.panel.machineCalibration, (std::array<uint8_t, 9>{255, 0, 128, 1, 99, 99, 0, 0, 0}));
  EXPECT_FALSE(p.panel.machineSettings);
}

// Write waits for both read-backs; the refusal text is the panel's.
TEST(CalibrationReply, WriteGoesAheadOnlyOnceBothReadBacksArrived) {
  ReplyPanel p;
  p.port.OpenPort("/dev/null");
  p.panel.portOpen = true;
  p.Deliver(7, {100, 2, 15, 10});
  p.panel.OnWriteClicked();
  EXPECT_EQ(p.host.MessageTexts(), std::vector<std::string>{"Wait for Rx to complete"});
  EXPECT_EQ(p.panel.msgStack.GetCount(), 0);
  p.Deliver(3, {20});
  p.panel.OnWriteClicked();
  EXPECT_EQ(p.host.messages.size(), 1u);
  EXPECT_GT(p.panel.msgStack.GetCount(), 0);
}

}  // namespace
