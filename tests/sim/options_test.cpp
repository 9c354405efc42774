#include "tools/brumo-sim/options.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tools/brumo-sim/line_session.h"

namespace {

using sim::ParsedOptions;
using sim::ParseOptions;
using sim::SimOptions;

constexpr int64_t kHostTime = 1'750'000'000;

TEST(SimOptions, DefaultsAreAHealthyMachineRunningOnHostTime) {
  const ParsedOptions parsed = ParseOptions({}, kHostTime);
  ASSERT_EQ(parsed.error, "");
  const SimOptions& o = parsed.options;
  EXPECT_FALSE(parsed.help);
  EXPECT_EQ(o.machine.clockStart, kHostTime);
  EXPECT_EQ(o.machine.logLength, 150);
  EXPECT_EQ(o.faults.delayMs, 70);
  EXPECT_FALSE(o.faults.silent);
  EXPECT_FALSE(o.faults.shortLength);
  EXPECT_EQ(o.faults.garbage, 0u);
  EXPECT_FALSE(o.faults.wrongCode);
  EXPECT_FALSE(o.hangupAfterMs);
  EXPECT_EQ(o.linkPath, "");
}

struct OptionCase {
  std::vector<std::string> args;
  std::function<bool(const SimOptions&)> holds;
};

TEST(SimOptions, EachOptionSetsItsValue) {
  const std::vector<OptionCase> cases = {
      {{"--silent"}, [](const SimOptions& o) { return o.faults.silent; }},
      {{"--short", "11"}, [](const SimOptions& o) { return o.faults.shortLength == 11u; }},
      {{"--late"}, [](const SimOptions& o) { return o.faults.delayMs == 400; }},
      {{"--reply-delay=120"}, [](const SimOptions& o) { return o.faults.delayMs == 120; }},
      {{"--garbage", "7"}, [](const SimOptions& o) { return o.faults.garbage == 7u; }},
      {{"--wrong-code", "0xC8"}, [](const SimOptions& o) { return o.faults.wrongCode == 200; }},
      {{"--hangup-after", "2.5"}, [](const SimOptions& o) { return o.hangupAfterMs == 2'500; }},
      {{"--link", "/tmp/brumo"}, [](const SimOptions& o) { return o.linkPath == "/tmp/brumo"; }},
      {{"--verbose"}, [](const SimOptions& o) { return o.verbose; }},
      {{"--wander"}, [](const SimOptions& o) { return o.machine.wander; }},
      {{"--name", "Sixteen chars..."},
       [](const SimOptions& o) { return o.machine.name == "Sixteen chars..."; }},
      {{"--name="}, [](const SimOptions& o) { return o.machine.name.empty(); }},
      {{"--firmware", "1v02beta"},
       [](const SimOptions& o) { return o.machine.firmware == "1v02beta"; }},
      {{"--clock", "-1"}, [](const SimOptions& o) { return o.machine.clockStart == -1; }},
      {{"--service-date", "1690000000"},
       [](const SimOptions& o) { return o.machine.serviceDate == 1'690'000'000; }},
      {{"--log-length", "10922"}, [](const SimOptions& o) { return o.machine.logLength == 10922; }},
      {{"--log-pointer", "30"}, [](const SimOptions& o) { return o.machine.logPointer == 30; }},
      {{"--fog-status", "0xFF"}, [](const SimOptions& o) { return o.machine.fogStatus == 0xFF; }},
      {{"--frequency-byte", "3"}, [](const SimOptions& o) { return o.machine.frequencyByte == 3; }},
      {{"--mains", "0"}, [](const SimOptions& o) { return o.machine.mains == 0; }},
      {{"--settings", "10,25,0x1F,8,0xFB,0xFF"},
       [](const SimOptions& o) {
         return o.machine.settings == std::array<uint8_t, 9>{10, 25, 0x1F, 8, 0xFB, 0xFF, 0, 0, 0};
       }},
      {{"--calibration", "157,2,15,10"},
       [](const SimOptions& o) {
         return o.machine.calibration == std::array<uint8_t, 9>{157, 2, 15, 10, 0, 0, 0, 0, 0};
       }},
      {{"--settings", "21,70,3,2,0x84,0x63,0xDE,0xAD,0xBF", "--calibration", "1,2,3,4,5,6,7,8,255"},
       [](const SimOptions& o) {
         return o.machine.settings ==
                    std::array<uint8_t, 9>{21, 70, 3, 2, 0x84, 0x63, 0xDE, 0xAD, 0xBF} &&
                o.machine.calibration == std::array<uint8_t, 9>{1, 2, 3, 4, 5, 6, 7, 8, 255};
       }},
      {{"--ei", "-32768", "--eo", "32767", "--ci", "0x64", "--co", "-1"},
       [](const SimOptions& o) {
         return o.machine.ei == -32768 && o.machine.eo == 32767 && o.machine.ci == 100 &&
                o.machine.co == -1;
       }},
      {{"--pwm", "255", "--p-high", "737", "--p-low", "0"},
       [](const SimOptions& o) {
         return o.machine.pwm == 255 && o.machine.pHigh == 737 && o.machine.pLow == 0;
       }},
      {{"--cal-seconds", "0.5"},
       [](const SimOptions& o) { return o.machine.calibrationMs == 500; }},
      {{"--refuse-setting", "3", "--refuse-setting=11"},
       [](const SimOptions& o) { return o.machine.refusedBytes == 0x0808; }},
      {{"--late", "--reply-delay", "90"},
       [](const SimOptions& o) { return o.faults.delayMs == 90; }},
  };
  for (const OptionCase& c : cases) {
    const ParsedOptions parsed = ParseOptions(c.args, kHostTime);
    EXPECT_EQ(parsed.error, "") << c.args[0];
    EXPECT_TRUE(c.holds(parsed.options)) << c.args[0];
  }
}

TEST(SimOptions, HelpIsAskedForEitherWay) {
  EXPECT_TRUE(ParseOptions({"--help"}, kHostTime).help);
  EXPECT_TRUE(ParseOptions({"-h"}, kHostTime).help);
  EXPECT_NE(sim::UsageText().find("--hangup-after S"), std::string::npos);
}

struct BadCase {
  std::vector<std::string> args;
  std::string error;
};

TEST(SimOptions, WrongCommandLinesAreRefusedWithAReason) {
  const std::vector<BadCase> cases = {
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"/dev/ttyUSB0"}, "unexpected argument /dev/ttyUSB0"},
      {{"--short"}, "--short needs a value"},
      {{"--silent=yes"}, "--silent takes no value"},
      {{"--short", "12"}, "bad value for --short: \"12\""},
      {{"--short", "-1"}, "bad value for --short: \"-1\""},
      {{"--name", "Seventeen chars.."}, "bad value for --name: \"Seventeen chars..\""},
      {{"--firmware", "123456789"}, "bad value for --firmware: \"123456789\""},
      {{"--fog-status", "256"}, "bad value for --fog-status: \"256\""},
      {{"--wrong-code", "0x"}, "bad value for --wrong-code: \"0x\""},
      {{"--clock", "4294967296"}, "bad value for --clock: \"4294967296\""},
      {{"--log-length", "10923"}, "bad value for --log-length: \"10923\""},
      {{"--log-pointer", "65536"}, "bad value for --log-pointer: \"65536\""},
      {{"--ei", "32768"}, "bad value for --ei: \"32768\""},
      {{"--settings", "1,2,3,4,5"}, "bad value for --settings: \"1,2,3,4,5\""},
      {{"--settings", "1,2,3,4,5,6,7,8,9,10"},
       "bad value for --settings: \"1,2,3,4,5,6,7,8,9,10\""},
      {{"--calibration", "1,2,3"}, "bad value for --calibration: \"1,2,3\""},
      {{"--calibration", "1,2,,4"}, "bad value for --calibration: \"1,2,,4\""},
      {{"--hangup-after", "-1"}, "bad value for --hangup-after: \"-1\""},
      {{"--hangup-after", "soon"}, "bad value for --hangup-after: \"soon\""},
      {{"--garbage", "12abc"}, "bad value for --garbage: \"12abc\""},
      {{"--refuse-setting", "2"}, "bad value for --refuse-setting: \"2\""},
      {{"--refuse-setting", "12"}, "bad value for --refuse-setting: \"12\""},
  };
  for (const BadCase& c : cases) EXPECT_EQ(ParseOptions(c.args, kHostTime).error, c.error);
}

// The options reach the line: a machine and a session built from them answer with them.
TEST(SimOptions, OptionsShapeTheRepliesOnTheLine) {
  const ParsedOptions parsed = ParseOptions(
      {"--firmware", "9v99", "--wrong-code", "0", "--garbage", "2", "--clock", "0x65000000"},
      kHostTime);
  ASSERT_EQ(parsed.error, "");
  int64_t nowMs = 0;
  sim::BrumoMachine machine(parsed.options.machine, [&nowMs] { return nowMs; });
  sim::LineSession session(machine, parsed.options.faults);
  sim::Bytes request(12, 0);
  request[2] = 19;
  session.Receive(request.data(), request.size(), 0);
  EXPECT_EQ(session.TakeDue(70),
            (sim::Bytes{0, 0, 0, '9', 'v', '9', '9', 0, 0, 0, 0, 0, 0xA5, 0xE0}));
  EXPECT_EQ(machine.ClockNow(), 0x65000000);
}

}  // namespace
