#include "batch_runner.h"

#include <gtest/gtest.h>

#include <sstream>

#include "batch_host.h"
#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_port.h"
#include "trace.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Each expected line appears, in this order, among the trace's lines.
void ExpectInOrder(const std::vector<std::string>& trace,
                   const std::vector<std::string>& expected) {
  auto at = trace.begin();
  for (const std::string& line : expected) {
    at = std::find(at, trace.end(), line);
    if (at == trace.end()) {
      std::string all;
      for (const std::string& l : trace) all += l + "\n";
      FAIL() << "missing or out of order: " << line << "\nin trace:\n" << all;
    }
    ++at;
  }
}

class BatchRunnerTest : public ::testing::Test {
 protected:
  std::vector<std::string> Run(const std::string& script) {
    std::istringstream in(script);
    auto actions = std::get<std::vector<Action>>(ParseScript(in));
    std::ostringstream out;
    Trace trace(out);
    BatchHost host(trace, profile);
    TracingPort tracing(port, trace);
    CKeloConfigurationDlg panel(host, tracing);
    trace.Attach(panel);
    BatchRunner runner(panel, host, trace, [](long long) {});
    runner.Run(actions);
    return Lines(out.str());
  }

  MemoryProfile profile;
  FakeSerialPort port;
};

TEST_F(BatchRunnerTest, TracesTheConnectTheFramesAndTheEnd) {
  profile.values["Ports/COM1"] = "/dev/fake";
  port.responder = [](const FakeSerialPort::Frame& r) {
    return std::vector<uint8_t>{0, 0, r[2], 0x10, 0x11, 0, 0, 0, 0, 0, 0, 0};
  };
  const auto trace = Run("at 0 click 1026\nat 11 quit\n");
  ExpectInOrder(trace, {
                           "0 text 1071 \"STATUS: Link is stopped\"",
                           "0 text 1024 \"1\"",
                           "8 text 1071 \"STATUS: Port Open\"",
                           "8 text 1026 \"Close\"",
                           "9 tx 00 00 01 00 00 00 00 00 00 00 00 00",
                           "11 rx 00 00 01 10 11 00 00 00 00 00 00 00",
                           "11 text 1071 \"STATUS: Link is live  (Firmware Rev = 1vXX)\"",
                           "11 tx 00 00 01 00 00 00 00 00 00 00 00 00",
                       });
  EXPECT_EQ(port.calls.front(), "open /dev/fake");
  EXPECT_EQ(port.calls.back(), "close");
  EXPECT_EQ(profile.values["Kelo Config/Comm Port"], "1");
}

TEST_F(BatchRunnerTest, AFailedSaveOfThePortNumberIsTracedAsANote) {
  profile.writesSucceed = false;
  const auto trace = Run("at 0 quit\n");
  EXPECT_EQ(trace.back(), "0 note \"The port number 1 could not be saved: disk full\"");
}

TEST_F(BatchRunnerTest, OperatorActionsRunTheirHandlersAndAnswersAreTraced) {
  const auto trace =
      Run("at 1 set 1002 \n"
          "at 1 type 1002 251\n"
          "at 2 set 1024 31\n"
          "at 2 select 1052 0\n"
          "at 2 click 1067\n"
          "at 3 answer cancel\n"
          "at 3 click 1\n"
          "at 4 click 1008\n"
          "at 4 click 1\n"
          "at 9 dump\n");
  ExpectInOrder(trace, {
                           "1 box \"Please enter an integer.\" ok",  // the emptied field
                           "1 text 1002 \"2\"",
                           "1 value calValue 2",
                           "1 value calValue 25",
                           "1 text 1002 \"251\"",
                           "1 value calValue 0",  // 251 was stored and reset in one handler
                           "1 text 1002 \"0\"",
                           "2 box \"Please enter an integer between 1 and 30.\" ok",
                           "2 value commPort 2",
                           "2 text 1024 \"2\"",
                           "2 text 1052 \"+0\"",
                           "2 select 1052 0",
                           "2 check 1067 1",
                           "2 box \"Warning, \\nAux Input = Panic  \\nWill Be Disabled\" ok",
                           "2 select 1052 1",
                           "3 box \"Confirm Exit\" cancel",
                           "4 box \"Confirm Exit\" ok",
                       });
  // The run ended with Exit: no dump, no indicator mark.
  for (const std::string& line : trace) {
    EXPECT_FALSE(line.starts_with("9 ")) << line;
    EXPECT_NE(line, "4 check 1008 1");
  }
}

TEST_F(BatchRunnerTest, DumpPrintsEveryControlAndValue) {
  const auto trace = Run("at 1 entertext 1045 hot\nat 1 dump\n");
  ExpectInOrder(trace, {
                           "1 text 1045 \"hot\"",
                           "1 select 1045 -1",
                           "1 dump control 1045 combo \"hot\" select=-1",
                           "1 dump control 1029 check \"Ref Cal\" check=0",
                           "1 dump control 1 default-button \"Exit\"",
                           "1 dump control 1007 button \"Monitor\" hidden disabled",
                           "1 dump value calValue 157",
                           "1 dump value tMin 15",
                       });
}

}  // namespace
