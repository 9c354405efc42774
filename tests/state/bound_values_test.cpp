#include <gtest/gtest.h>

#include <string>

#include "support/panel_fixture.h"

namespace {

using BoundValuesTest = PanelFixture;

struct Edits {
  const char* calValue;
  const char* sHt;
  const char* tMax;
  const char* commPort;
  const char* tMin;
};

struct Values {
  int32_t calValue, sHt, tMax, commPort, tMin;
  bool operator==(const Values&) const = default;
};

void PrintTo(const Values& v, std::ostream* os) {
  *os << v.calValue << "," << v.sHt << "," << v.tMax << "," << v.commPort << "," << v.tMin;
}

struct ExchangeCase {
  const char* name;
  Edits edits;
  bool succeeds;
  Values stored;         // bound values afterwards, starting from 157, 2, 10, 1, 15
  const char* message;   // what the operator is told, if anything
  int focus;             // the edit that gets the focus on failure
};

class ReadPanelTest : public PanelFixture, public ::testing::WithParamInterface<ExchangeCase> {};

TEST_P(ReadPanelTest, StoresEachValueAsItParsesAndStopsAtTheFirstBadOne) {
  const ExchangeCase& c = GetParam();
  host.messages.clear();
  auto& model = dlg.controls();
  model.SetText(ids::kCalValueEdit, c.edits.calValue);
  model.SetText(ids::kSHtEdit, c.edits.sHt);
  model.SetText(ids::kTMaxEdit, c.edits.tMax);
  model.SetText(ids::kPortEdit, c.edits.commPort);
  model.SetText(ids::kTMinEdit, c.edits.tMin);
  model.SetFocus(ids::kExitButton);

  EXPECT_EQ(dlg.ReadPanel(), c.succeeds);
  EXPECT_EQ((Values{dlg.calValue, dlg.sHt, dlg.tMax, dlg.commPort, dlg.tMin}), c.stored);
  if (c.succeeds) {
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(model.FocusedControl(), ids::kExitButton);
  } else {
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.message);
    EXPECT_EQ(host.messages[0].buttons, MessageButtons::kOk);
    EXPECT_EQ(model.FocusedControl(), c.focus);
  }
}

constexpr const char* kInteger = "Please enter an integer.";

INSTANTIATE_TEST_SUITE_P(
    Exchange, ReadPanelTest,
    ::testing::Values(
        ExchangeCase{"AllGood", {"200", "5", "30", "7", "40"}, true, {200, 5, 30, 7, 40}, "", 0},
        ExchangeCase{"BlanksAndPlusSign", {" 12 ", "+3", "\t0", "30", "6500"}, true,
                     {12, 3, 0, 30, 6500}, "", 0},
        ExchangeCase{"LettersInSHtKeepTheRest", {"99", "abc", "30", "7", "40"}, false,
                     {99, 2, 10, 1, 15}, kInteger, ids::kSHtEdit},
        ExchangeCase{"OutOfRangeCalValueIsStoredAndStops", {"300", "5", "30", "7", "40"}, false,
                     {300, 2, 10, 1, 15}, "Please enter an integer between 0 and 255.",
                     ids::kCalValueEdit},
        ExchangeCase{"PortRangeChecked", {"1", "5", "30", "31", "40"}, false, {1, 5, 30, 31, 15},
                     "Please enter an integer between 1 and 30.", ids::kPortEdit},
        ExchangeCase{"NegativeTMin", {"1", "5", "30", "3", "-1"}, false, {1, 5, 30, 3, -1},
                     "Please enter an integer between 0 and 6500.", ids::kTMinEdit},
        ExchangeCase{"EmptyText", {"", "5", "30", "3", "1"}, false, {157, 2, 10, 1, 15}, kInteger,
                     ids::kCalValueEdit},
        ExchangeCase{"OverflowIsNotAnInteger", {"1", "99999999999", "30", "3", "1"}, false,
                     {1, 2, 10, 1, 15}, kInteger, ids::kSHtEdit},
        ExchangeCase{"TrailingGarbage", {"1", "2", "3x", "3", "1"}, false, {1, 2, 10, 1, 15},
                     kInteger, ids::kTMaxEdit},
        ExchangeCase{"DoubleSign", {"1", "2", "3", "+-3", "1"}, false, {1, 2, 3, 1, 15},
                     kInteger, ids::kPortEdit},
        ExchangeCase{"SHtRangeIsWide", {"1", "65000", "3", "3", "1"}, true, {1, 65000, 3, 3, 1},
                     "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BoundValuesTest, ShowPanelWritesTheStoredValuesIntoTheirEdits) {
  dlg.calValue = -4;
  dlg.sHt = 65000;
  dlg.tMax = 0;
  dlg.commPort = 12;
  dlg.tMin = 2147483647;
  dlg.ShowPanel();
  EXPECT_EQ(Text(ids::kCalValueEdit), "-4");
  EXPECT_EQ(Text(ids::kSHtEdit), "65000");
  EXPECT_EQ(Text(ids::kTMaxEdit), "0");
  EXPECT_EQ(Text(ids::kPortEdit), "12");
  EXPECT_EQ(Text(ids::kTMinEdit), "2147483647");
}

}  // namespace
