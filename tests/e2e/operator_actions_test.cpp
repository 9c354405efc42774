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
  for (std::size_t i = 0; i < addresses.size(); ++i) EXPECT_EQ(addresses[i], 6 * static_cast<int>(i));
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
