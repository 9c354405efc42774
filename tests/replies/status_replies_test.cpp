#include <gtest/gtest.h>

#include <array>
#include <string>

#include "reply_panel.h"

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
  ReplyPanel p;
  // Lit beforehand, so that a bit of 0 must turn an indicator off.
  for (int id : kIndicatorsByBit) p.controls().SetCheck(id, 1);
  p.Deliver(1, {0, 0, 0, c.outputByte, c.statusByte, c.mainsByte});
  EXPECT_EQ(p.panel.outputFrequency, c.expectedFrequency);
  EXPECT_EQ(p.panel.fogStatusByte, c.statusByte);
  EXPECT_EQ(p.panel.mainsValue, c.mainsByte);
  for (std::size_t bit = 0; bit < 8; ++bit) {
    EXPECT_EQ(p.controls().IsChecked(kIndicatorsByBit[bit]), c.expectedIndicators[bit] != 0)
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
  ReplyPanel p;
  p.panel.tMax = -42;
  p.controls().SetText(ids::kTMaxEdit, "999 typed");
  p.Deliver(1);
  EXPECT_EQ(p.controls().GetText(ids::kTMaxEdit), "-42");
}

TEST(StatusReplyShow, LeavesTelemetryLinesAlone) {
  ReplyPanel p;
  const std::string mains = p.controls().GetText(ids::kMainsLine);
  const std::string output = p.controls().GetText(ids::kOutputLine);
  p.Deliver(1, {0, 0, 0, 208, 0, 200});
  EXPECT_EQ(p.controls().GetText(ids::kMainsLine), mains);
  EXPECT_EQ(p.controls().GetText(ids::kOutputLine), output);
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
  ReplyPanel p;
  p.controls().SetCheck(ids::kRefCalCheck, c.refCalBefore ? 1 : 0);
  p.controls().SetProgress(ids::kCalProgress, c.progressBefore);
  p.Deliver(23, {c.byte});
  EXPECT_EQ(p.controls().GetProgress(ids::kCalProgress), c.expectedProgress);
  EXPECT_EQ(p.controls().IsChecked(ids::kRefCalCheck), c.expectedRefCal);
}

INSTANTIATE_TEST_SUITE_P(Bytes, CalProgressReply,
                         ::testing::Values(ProgressCase{true, 10, 0, 0, true},
                                           ProgressCase{true, 10, 55, 55, true},
                                           ProgressCase{false, 10, 99, 99, false},
                                           ProgressCase{true, 60, 100, 0, false},
                                           ProgressCase{true, 60, 255, 0, false},
                                           ProgressCase{false, 60, 100, 60, false},
                                           ProgressCase{false, 60, 255, 60, false}));

TEST(CalProgressReplyEnd, TakesCode23OutOfTheNextPollSet) {
  ReplyPanel p;
  p.port.OpenPort("/dev/null");
  p.panel.portOpen = true;
  p.controls().SetCheck(ids::kRefCalCheck, 1);
  p.Deliver(23, {100});
  p.panel.LinkStep();  // empty stack: the poll set is queued
  for (int32_t code : p.StackedCodes()) EXPECT_NE(code, 23);
}

}  // namespace
