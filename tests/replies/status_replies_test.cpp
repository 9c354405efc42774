#include <gtest/gtest.h>

#include <array>
#include <string>

#include "panel/operator_events.h"
#include "reply_frames.h"
#include "support/panel_fixture.h"

namespace {

// FOG STATUS indicators in bit order 0..7.
constexpr std::array<int, 8> kIndicatorsByBit = {1008, 1009, 1010, 1017, 1016, 1013, 1014, 1015};

struct StatusCase {
  int outputByte;
  int statusByte;
  int mainsByte;
  int expectedFrequency;
  std::array<int, 8> expectedIndicators;  // by bit
};

class StatusReply : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusReply, StoresValuesAndShowsEachBitOnItsIndicator) {
  const StatusCase& c = GetParam();
  DecodeTarget t;
  // All lit beforehand, so that a bit of 0 must turn an indicator off.
  t.Deliver(ReplyFrame(1, {0, 0, 0, 0, 0xFF, 0}));
  t.Deliver(ReplyFrame(1, {0, 0, 0, c.outputByte, c.statusByte, c.mainsByte}));
  EXPECT_EQ(t.panel.machine.outputFrequency, c.expectedFrequency);
  EXPECT_EQ(t.panel.machine.fogStatusByte, c.statusByte);
  EXPECT_EQ(t.panel.machine.mainsValue, c.mainsByte);
  for (std::size_t bit = 0; bit < 8; ++bit) {
    EXPECT_EQ(t.panel.controls.IsChecked(kIndicatorsByBit[bit]), c.expectedIndicators[bit] != 0)
        << "bit " << bit;
  }
}

INSTANTIATE_TEST_SUITE_P(Bytes, StatusReply,
                         ::testing::Values(StatusCase{3, 0x11, 0, 1, {1, 0, 0, 0, 1, 0, 0, 0}},
                                           StatusCase{2, 0x00, 255, 0, {0, 0, 0, 0, 0, 0, 0, 0}},
                                           StatusCase{208, 0xFF, 17, 70, {1, 1, 1, 1, 1, 1, 1, 1}},
                                           StatusCase{255, 0x80, 1, 85, {0, 0, 0, 0, 0, 0, 0, 1}},
                                           StatusCase{207, 0x08, 2, 69, {0, 0, 0, 1, 0, 0, 0, 0}},
                                           StatusCase{0, 0x20, 3, 0, {0, 0, 0, 0, 0, 1, 0, 0}}));

TEST(StatusReplyShow, ReplacesUnstoredTMaxTextWithStoredValue) {
  DecodeTarget t;
  // Reading the panel stores T_Max before it finds it out of range.
  ShowBoundValues(t.panel.values, t.panel.controls);
  t.panel.controls.SetText(ids::kTMaxEdit, "-42");
  ASSERT_TRUE(ReadBoundValues(t.panel.values, t.panel.controls));
  ASSERT_EQ(t.panel.values.tMax, -42);
  t.panel.controls.SetText(ids::kTMaxEdit, "999 typed");
  t.Deliver(ReplyFrame(1));
  EXPECT_EQ(t.panel.controls.GetText(ids::kTMaxEdit), "-42");
}

TEST(StatusReplyShow, LeavesTelemetryLinesAlone) {
  DecodeTarget t;
  const std::string mains = t.panel.controls.GetText(ids::kMainsLine);
  const std::string output = t.panel.controls.GetText(ids::kOutputLine);
  t.Deliver(ReplyFrame(1, {0, 0, 0, 208, 0, 200}));
  EXPECT_EQ(t.panel.controls.GetText(ids::kMainsLine), mains);
  EXPECT_EQ(t.panel.controls.GetText(ids::kOutputLine), output);
}

struct ProgressCase {
  bool refCalBefore;
  int progressBefore;
  int byte;
  int expectedProgress;
  bool expectedRefCal;
};

class CalProgressReply : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(CalProgressReply, MovesBarOrEndsReferenceCalibration) {
  const ProgressCase& c = GetParam();
  DecodeTarget t;
  // Ref Cal as the operator left it, the bar where an earlier reply put it.
  t.panel.controls.SetCheck(ids::kRefCalCheck, c.refCalBefore ? 1 : 0);
  t.Deliver(ReplyFrame(23, {c.progressBefore}));
  t.Deliver(ReplyFrame(23, {c.byte}));
  EXPECT_EQ(t.panel.controls.GetProgress(ids::kCalProgress), c.expectedProgress);
  EXPECT_EQ(t.panel.controls.IsChecked(ids::kRefCalCheck), c.expectedRefCal);
}

INSTANTIATE_TEST_SUITE_P(Bytes, CalProgressReply,
                         ::testing::Values(ProgressCase{true, 10, 0, 0, true},
                                           ProgressCase{true, 10, 55, 55, true},
                                           ProgressCase{false, 10, 99, 99, false},
                                           ProgressCase{true, 60, 100, 0, false},
                                           ProgressCase{true, 60, 255, 0, false},
                                           ProgressCase{false, 60, 100, 60, false},
                                           ProgressCase{false, 60, 255, 60, false}));

class RefCalOnTheLine : public ::testing::Test, protected PanelFixture {};

TEST_F(RefCalOnTheLine, CompletionTakesCode23OutOfTheNextPollSet) {
  sim::MachineSetup setup;
  setup.calibrationMs = 0;  // done as soon as it starts
  OperatorClicked(dlg, ids::kRefCalCheck);
  ConnectToMachine(setup);
  LinkTicks(1);  // nothing queued: the poll set with 23
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{17, 27, 25, 1, 15, 1, 23}));
  Settle();
  EXPECT_FALSE(dlg.controls().IsChecked(ids::kRefCalCheck));
  EXPECT_EQ(dlg.controls().GetProgress(ids::kCalProgress), 0);
  LinkTicks(1);
  EXPECT_EQ(QueuedCodes(), (std::vector<int>{17, 27, 25, 1, 15, 1}));
}

}  // namespace
