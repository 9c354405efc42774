// Each fault of the simulated machine ends in the status the operator must see.

#include <gtest/gtest.h>

#include <ctime>
#include <map>
#include <sstream>
#include <string>

#include "e2e_support.h"

namespace {

// What the link's health line says of the run.
struct Health {
  std::map<std::string, std::string> fields;
  long Count(const std::string& name) const { return std::stol(fields.at(name)); }
};

Health HealthOf(const BatchRun& run) {
  Health health;
  const std::vector<std::string> lines = run.All("health");
  if (lines.empty()) return health;
  std::istringstream words(lines.back());
  for (std::string word; words >> word;) {
    const std::size_t equals = word.find('=');
    health.fields[word.substr(0, equals)] = word.substr(equals + 1);
  }
  return health;
}

struct FaultCase {
  const char* name;
  std::vector<std::string> simOptions;
  const char* finalStatus;
  bool errorSeen;  // "STATUS: Error- No Status from Brumo" appears at some point
  // The counter that takes the requests: every request but the one still awaited at the
  // end (and, for the hang-up, those before it) ends there.
  const char* counter;
};

class FaultModes : public ::testing::TestWithParam<FaultCase> {};

TEST_P(FaultModes, EndInTheirStatus) {
  const FaultCase& c = GetParam();
  const BatchRun run = RunAgainstSimulator(c.simOptions, "at 0 click 1026\nat 40 quit\n");
  ASSERT_EQ(run.exitStatus, 0);
  EXPECT_EQ(run.LastText(1071), c.finalStatus);
  EXPECT_EQ(run.HasLine("text", "1071 \"STATUS: Error- No Status from Brumo\""), c.errorSeen);

  const Health health = HealthOf(run);
  ASSERT_FALSE(health.fields.empty());
  const long sent = health.Count("sent");
  EXPECT_GT(sent, 2);
  const long ended = health.Count("complete") + health.Count("short") + health.Count("missing") +
                     health.Count("lost");
  EXPECT_GE(ended, sent - 1);  // one request may still be awaited at the end
  EXPECT_LE(ended, sent);
  if (std::string(c.counter) == "lost") {
    EXPECT_EQ(health.Count("lost"), 1);
  } else {
    EXPECT_GE(health.Count(c.counter), sent - 1);
  }
}

constexpr const char* kNoStatus = "STATUS: Error- No Status from Brumo";

INSTANTIATE_TEST_SUITE_P(
    Simulator, FaultModes,
    ::testing::Values(
        FaultCase{"Silent", {"--silent"}, kNoStatus, true, "missing"},
        FaultCase{"ShortReplies", {"--short", "11"}, kNoStatus, true, "short"},
        FaultCase{"LateReplies", {"--late"}, kNoStatus, true, "missing"},
        // Extra bytes after a reply are discarded by the next request's purges.
        FaultCase{"GarbageAfterReplies",
                  {"--garbage", "5"},
                  "STATUS: Link is live  (Firmware Rev = 2v15)",
                  false,
                  "complete"},
        // Complete replies with a code nobody asked for: live, but nothing decoded.
        FaultCase{"UnknownCode",
                  {"--wrong-code", "200"},
                  "STATUS: Link is live  (Firmware Rev = 1vXX)",
                  false,
                  "unhandled"},
        FaultCase{"HangUp", {"--hangup-after", "2"}, "STATUS: Not connected", false, "lost"}),
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

namespace {

// The machine's clock against this PC's, measured at each clock reply.
TEST(EndToEnd, HealthGivesTheMachineClocksOffset) {
  const BatchRun run = RunAgainstSimulator({"--clock", std::to_string(std::time(nullptr) - 3600)},
                                           "at 0 click 1026\nat 90 quit\n");
  const Health health = HealthOf(run);
  ASSERT_FALSE(health.fields.empty());
  const long offset = std::stol(health.fields.at("clock-offset"));
  EXPECT_GE(offset, -3602);
  EXPECT_LE(offset, -3599);
  EXPECT_EQ(health.fields.at("recent"), "100.0%");
}

}  // namespace
