// Each fault of the simulated machine ends in the status the operator must see.

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

struct FaultCase {
  const char* name;
  std::vector<std::string> simOptions;
  const char* finalStatus;
  bool errorSeen;  // "STATUS: Error- No Status from Brumo" appears at some point
};

class FaultModes : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultModes, EndInTheirStatus) {
  const FaultCase& c = GetParam();
  const BatchRun run = RunAgainstSimulator(c.simOptions, "at 0 click 1026\nat 40 quit\n");
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.LastText(1071), c.finalStatus);
  EXPECT_EQ(run.HasLine("text", "1071 \"STATUS: Error- No Status from Brumo\""), c.errorSeen);
}

constexpr const char* kNoStatus = "STATUS: Error- No Status from Brumo";

INSTANTIATE_TEST_SUITE_P(
    Simulator, FaultModes,
    ::testing::Values(FaultCase{"Silent", {"--silent"}, kNoStatus, true},
                      FaultCase{"ShortReplies", {"--short", "11"}, kNoStatus, true},
                      FaultCase{"LateReplies", {"--late"}, kNoStatus, true},
                      // Extra bytes after a reply are discarded by the next request's purges.
                      FaultCase{"GarbageAfterReplies",
                                {"--garbage", "5"},
                                "STATUS: Link is live  (Firmware Rev = 2v15)",
                                false},
                      // Complete replies with a code nobody asked for: live, but nothing decoded.
                      FaultCase{"UnknownCode",
                                {"--wrong-code", "200"},
                                "STATUS: Link is live  (Firmware Rev = 1vXX)",
                                false},
                      FaultCase{"HangUp", {"--hangup-after", "2"}, "STATUS: Not connected", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EndToEnd, HangUpReturnsTheButtonToConnectAndStopsSending) {
  const BatchRun run =
      RunAgainstSimulator({"--hangup-after", "2"}, "at 0 click 1026\nat 40 quit\n");
  EXPECT_EQ(run.LastText(1026), "Connect");
  long lostAt = -1;
  for (const TraceLine& line : run.lines) {
    if (line.kind == "text" && line.rest == "1071 \"STATUS: Not connected\"") lostAt = line.tick;
  }
  ASSERT_GT(lostAt, 0);
  for (const TraceLine& line : run.lines) {
    if (line.kind == "tx") {
      EXPECT_LT(line.tick, lostAt);
    }
  }
}

}  // namespace
