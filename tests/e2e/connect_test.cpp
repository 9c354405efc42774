// Connecting the headless panel to the simulated machine.

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

// The connect set, the five newest log records after it, then the poll set.
TEST(EndToEnd, ConnectReadsTheMachineAndPollsIt) {
  const BatchRun run =
      RunAgainstSimulator({"--firmware", "3v07", "--name", "Test Unit", "--clock", "1700000000"},
                          "at 0 click 1026\n"
                          "at 80 quit\n");
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_TRUE(run.HasLine("text", "1071 \"STATUS: Port Open\""));
  EXPECT_TRUE(run.HasLine("text", "1026 \"Close\""));

  const std::vector<int> codes = run.SentCodes();
  const std::vector<int> connectSet = {1, 1,  1, 1,  13, 3,  9, 11, 7,  19, 17, 5,  17,
                                       5, 17, 5, 17, 5,  17, 5, 17, 17, 17, 17, 27, 25};
  ASSERT_GE(codes.size(), connectSet.size());
  EXPECT_EQ(std::vector<int>(codes.begin(), codes.begin() + 26), connectSet);

  // The records at P-30 ... P-6, oldest first (P = 900 for 150 records).
  std::vector<std::string> recordRequests;
  for (const std::string& tx : run.All("tx")) {
    if (tx.substr(6, 2) == "05") recordRequests.push_back(tx.substr(9, 5));
  }
  EXPECT_EQ(recordRequests,
            (std::vector<std::string>{"66 03", "6c 03", "72 03", "78 03", "7e 03"}));
  const std::vector<std::string> added = ListAdditions(run);
  EXPECT_EQ(std::count_if(added.begin(), added.end(),
                          [](const std::string& l) { return l.starts_with("Event = "); }),
            5);
  EXPECT_EQ(std::count_if(added.begin(), added.end(),
                          [](const std::string& l) { return l.starts_with("***"); }),
            2);

  EXPECT_EQ(run.LastText(1071), "STATUS: Link is live  (Firmware Rev = 3v07)");
  EXPECT_EQ(run.LastText(1059), "Test Unit");
  EXPECT_EQ(run.LastText(1079), "Ei = -5.25");
  EXPECT_EQ(run.LastText(1080), "Eo = -2.00");
  EXPECT_EQ(run.LastText(1081), "Ci = +35.50");
  EXPECT_EQ(run.LastText(1082), "Co = +28.75");
  EXPECT_EQ(run.LastText(1083), "PWM = +50.20%");
  EXPECT_EQ(run.LastText(1085), "P_HIGH = +200.00 PSI");
  EXPECT_EQ(run.LastText(1084), "P_LOW = +30.00 PSI");
  EXPECT_EQ(run.LastText(1086), "Mains Value = 230");
  EXPECT_EQ(run.LastText(1087), "OutPut = 70Hz");
  EXPECT_TRUE(run.LastText(1063).starts_with("Time:11/14/23 22:1")) << run.LastText(1063);
  EXPECT_TRUE(run.LastText(1072).starts_with("Next due ")) << run.LastText(1072);
  EXPECT_GT(run.LastText(1072).size(), std::string("Next due ").size());
  // Quitting closes the port: no error after the end.
  EXPECT_FALSE(run.HasLine("text", "1071 \"STATUS: Error- No Status from Brumo\""));
}

}  // namespace
