// Operator commands carried out on the simulated machine.

#include <gtest/gtest.h>

#include <ctime>

#include "e2e_support.h"

namespace {

std::string TodayUtc() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[16];
  std::strftime(text, sizeof text, "%m/%d/%y", &utc);
  return text;
}

TEST(EndToEnd, GetAllReadsTheWholeLog) {
  const BatchRun run = RunAgainstSimulator({}, "at 0 click 1026\nat 50 click 1041\nat 360 quit\n");
  ASSERT_EQ(run.exitStatus, 0);
  // After the list is emptied, one request 21 per address 0, 6, ... 882.
  std::vector<int> addresses;
  for (const TraceLine& line : run.lines) {
    if (line.kind == "tx" && line.tick >= 50 && line.rest.substr(6, 2) == "15") {
      addresses.push_back(std::stoi(line.rest.substr(12, 2) + line.rest.substr(9, 2), nullptr, 16));
    }
  }
  ASSERT_EQ(addresses.size(), 148u);
  for (std::size_t i = 0; i < addresses.size(); ++i)
    EXPECT_EQ(addresses[i], 6 * static_cast<int>(i));
  EXPECT_TRUE(run.HasLine("list", "1055 clear"));

  std::vector<std::string> afterClear;
  bool cleared = false;
  for (const TraceLine& line : run.lines) {
    if (line.kind == "list" && line.rest == "1055 clear") cleared = true;
    if (cleared && line.kind == "list" && line.rest.starts_with("1055 add \"Event = ")) {
      afterClear.push_back(line.rest);
    }
  }
  EXPECT_GE(afterClear.size(), 148u);  // log following may add the newest again
}

TEST(EndToEnd, SetDateSetsTheMachineClockAsALaterPollShows) {
  const BatchRun run = RunAgainstSimulator({"--clock", "1000000000"},
                                           "at 0 click 1026\nat 80 click 1042\nat 120 quit\n");
  ASSERT_EQ(run.exitStatus, 0);
  bool oldClockShown = false;
  for (const std::string& text : run.All("text")) {
    if (text.starts_with("1063 \"Time:09/09/01 01:4")) oldClockShown = true;
  }
  EXPECT_TRUE(oldClockShown);
  bool clockSent = false;
  for (const TraceLine& line : run.lines) {
    if (line.kind == "tx" && line.rest.substr(6, 2) == "10") clockSent = true;
  }
  EXPECT_TRUE(clockSent);
  EXPECT_TRUE(run.LastText(1063).starts_with("Time:" + TodayUtc())) << run.LastText(1063);
}

}  // namespace

namespace {

struct WriteOnTheWireCase {
  const char* name;
  std::vector<std::string> simOptions;
  std::string settings;     // frame 4 of a Write with nothing touched, as traced
  std::string calibration;  // frame 8
  std::string runTimeFive;  // frame 4 once the run time is set to "+50"
};

class WriteOnTheWire : public ::testing::TestWithParam<WriteOnTheWireCase> {};

// Write with nothing touched sends the machine's own bytes 3 to 11 back; changing one
// combo changes only that field's bits.
TEST_P(WriteOnTheWire, SendsBackOnlyWhatTheOperatorChanged) {
  const WriteOnTheWireCase& c = GetParam();
  const BatchRun run = RunAgainstSimulator(
      c.simOptions,
      "at 0 click 1026\nat 60 click 1018\nat 80 select 1052 5\nat 80 click 1018\nat 100 quit\n");
  ASSERT_EQ(run.exitStatus, 0);
  std::vector<std::string> writes;
  for (const std::string& frame : run.All("tx")) {
    if (frame.substr(6, 2) == "04" || frame.substr(6, 2) == "08") writes.push_back(frame);
  }
  EXPECT_EQ(writes,
            (std::vector<std::string>{c.settings, c.calibration, c.runTimeFive, c.calibration}));
}

INSTANTIATE_TEST_SUITE_P(
    Machines, WriteOnTheWire,
    ::testing::Values(WriteOnTheWireCase{"RunTimePastTheList",
                                         {"--settings", "21,70,3,2,0x84,0x63"},
                                         "00 00 04 15 46 03 02 84 63 00 00 00",
                                         "00 00 08 0c 04 14 2d 00 00 00 00 00",
                                         "00 00 04 15 32 03 02 84 63 00 00 00"},
                      WriteOnTheWireCase{"BitsNoControlShows",
                                         {"--settings", "10,25,0xA3,0x52,0x20,0x91,0xDE,0xAD,0xBF",
                                          "--calibration", "250,0,0,255,1,2,3,4,5"},
                                         "00 00 04 0a 19 a3 52 20 91 de ad bf",
                                         "00 00 08 fa 00 00 ff 01 02 03 04 05",
                                         "00 00 04 0a 32 a3 52 20 91 de ad bf"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
