#include "state/bound_values.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/control_ids.h"
#include "state/control_model.h"

namespace {

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
  Values stored;        // bound values afterwards, starting from 157, 2, 10, 1, 15
  const char* message;  // what the operator is to be told, if anything
  int focus;            // the edit to put the focus on
};

class ReadPanelTest : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(ReadPanelTest, StoresEachValueAsItParsesAndStopsAtTheFirstBadOne) {
  const ExchangeCase& c = GetParam();
  ControlModel model;
  BoundValues values;
  values.commPort = 1;
  model.SetText(ids::kCalValueEdit, c.edits.calValue);
  model.SetText(ids::kSHtEdit, c.edits.sHt);
  model.SetText(ids::kTMaxEdit, c.edits.tMax);
  model.SetText(ids::kPortEdit, c.edits.commPort);
  model.SetText(ids::kTMinEdit, c.edits.tMin);

  const auto fault = ReadBoundValues(values, model);
  EXPECT_EQ(!fault.has_value(), c.succeeds);
  EXPECT_EQ((Values{values.calValue, values.sHt, values.tMax, values.commPort, values.tMin}),
            c.stored);
  if (fault) {
    EXPECT_EQ(fault->message, c.message);
    EXPECT_EQ(fault->editId, c.focus);
  }
}

constexpr const char* kInteger = "Please enter an integer.";

INSTANTIATE_TEST_SUITE_P(
    Exchange, ReadPanelTest,
    ::testing::Values(
        ExchangeCase{"AllGood", {"200", "5", "30", "7", "40"}, true, {200, 5, 30, 7, 40}, "", 0},
        ExchangeCase{"BlanksAndPlusSign",
                     {" 12 ", "+3", "\t0", "30", "6500"},
                     true,
                     {12, 3, 0, 30, 6500},
                     "",
                     0},
        ExchangeCase{"LettersInSHtKeepTheRest",
                     {"99", "abc", "30", "7", "40"},
                     false,
                     {99, 2, 10, 1, 15},
                     kInteger,
                     ids::kSHtEdit},
        ExchangeCase{"OutOfRangeCalValueIsStoredAndStops",
                     {"300", "5", "30", "7", "40"},
                     false,
                     {300, 2, 10, 1, 15},
                     "Please enter an integer between 0 and 255.",
                     ids::kCalValueEdit},
        ExchangeCase{"PortRangeChecked",
                     {"1", "5", "30", "31", "40"},
                     false,
                     {1, 5, 30, 31, 15},
                     "Please enter an integer between 1 and 30.",
                     ids::kPortEdit},
        ExchangeCase{"NegativeTMin",
                     {"1", "5", "30", "3", "-1"},
                     false,
                     {1, 5, 30, 3, -1},
                     "Please enter an integer between 0 and 6500.",
                     ids::kTMinEdit},
        ExchangeCase{"EmptyText",
                     {"", "5", "30", "3", "1"},
                     false,
                     {157, 2, 10, 1, 15},
                     kInteger,
                     ids::kCalValueEdit},
        ExchangeCase{"OverflowIsNotAnInteger",
                     {"1", "99999999999", "30", "3", "1"},
                     false,
                     {1, 2, 10, 1, 15},
                     kInteger,
                     ids::kSHtEdit},
        ExchangeCase{"TrailingGarbage",
                     {"1", "2", "3x", "3", "1"},
                     false,
                     {1, 2, 10, 1, 15},
                     kInteger,
                     ids::kTMaxEdit},
        ExchangeCase{"DoubleSign",
                     {"1", "2", "3", "+-3", "1"},
                     false,
                     {1, 2, 3, 1, 15},
                     kInteger,
                     ids::kPortEdit},
        ExchangeCase{
            "SHtRangeIsWide", {"1", "65000", "3", "3", "1"}, true, {1, 65000, 3, 3, 1}, "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ShowBoundValues, WritesTheStoredValuesIntoTheirEdits) {
  ControlModel model;
  ShowBoundValues({-4, 65000, 0, 12, 2147483647}, model);
  EXPECT_EQ(model.GetText(ids::kCalValueEdit), "-4");
  EXPECT_EQ(model.GetText(ids::kSHtEdit), "65000");
  EXPECT_EQ(model.GetText(ids::kTMaxEdit), "0");
  EXPECT_EQ(model.GetText(ids::kPortEdit), "12");
  EXPECT_EQ(model.GetText(ids::kTMinEdit), "2147483647");
}

}  // namespace
