#include "batch_script.h"

#include <gtest/gtest.h>

#include <sstream>

#include "escapes.h"

namespace {

std::vector<Action> Parse(const std::string& script) {
  std::istringstream in(script);
  ParsedScript parsed = ParseScript(in);
  if (auto* error = std::get_if<ScriptError>(&parsed)) {
    ADD_FAILURE() << "line " << error->line << ": " << error->message;
    return {};
  }
  return std::get<std::vector<Action>>(parsed);
}

TEST(BatchScript, ParsesEveryActionWithItsArguments) {
  const auto actions = Parse(
      "# a comment\n"
      "\n"
      "at 0 click 1026\n"
      "at 3 set 1003 12\n"
      "at 3 type 1002 2\\x35\n"
      "at 4 select 1052 0\n"
      "at 4 entertext 1045  two spaces\n"
      "at 5 answer ok\n"
      "at 5 answer cancel\n"
      "at 6 savepath /tmp/log file.txt\n"
      "at 6 savecancel\n"
      "at 7 dump\r\n"
      "at 7 set 1003 \n"
      "at 8 loadsettings /tmp/a\\x20b.brumo Run Time,PUMP ADJUST Max\n"
      "at 8 loadsettings /tmp/a.brumo all\n"
      "at 9 quit\n");
  ASSERT_EQ(actions.size(), 14u);
  EXPECT_EQ(actions[0].kind, ActionKind::kClick);
  EXPECT_EQ(actions[0].id, 1026);
  EXPECT_EQ(actions[0].line, 3);
  EXPECT_EQ(actions[1].text, "12");
  EXPECT_EQ(actions[1].tick, 3);
  EXPECT_EQ(actions[2].text, "25");
  EXPECT_EQ(actions[3].index, 0);
  EXPECT_EQ(actions[4].text, " two spaces");  // the rest of the line after one space
  EXPECT_EQ(actions[5].kind, ActionKind::kAnswerOk);
  EXPECT_EQ(actions[6].kind, ActionKind::kAnswerCancel);
  EXPECT_EQ(actions[7].text, "/tmp/log file.txt");
  EXPECT_EQ(actions[8].kind, ActionKind::kSaveCancel);
  EXPECT_EQ(actions[9].kind, ActionKind::kDump);
  EXPECT_EQ(actions[10].text, "");
  EXPECT_EQ(actions[11].text, "/tmp/a b.brumo");
  EXPECT_EQ(actions[11].names, (std::vector<std::string>{"Run Time", "PUMP ADJUST Max"}));
  EXPECT_EQ(actions[12].names, std::vector<std::string>{});
  EXPECT_EQ(actions[13].kind, ActionKind::kQuit);
}

struct BadLine {
  const char* script;
  int line;
  const char* message;
};

TEST(BatchScript, ReportsTheFirstBadLine) {
  const BadLine cases[] = {
      {"at 1 dump\nclick 1\n", 2, "expected 'at T ACTION'"},
      {"at x dump\n", 1, "expected a link tick number"},
      {"at -1 dump\n", 1, "expected a link tick number"},
      {"at 5 dump\nat 4 dump\n", 2, "link tick numbers must not decrease"},
      {"at 1 jump\n", 1, "unknown action 'jump'"},
      {"at 1 click\n", 1, "expected a control ID"},
      {"at 1 select 1052\n", 1, "expected an entry number"},
      {"at 1 answer maybe\n", 1, "expected 'ok' or 'cancel'"},
      {"at 1 set 1003 \\q\n", 1, "malformed escape in text"},
      {"at 1 set 1003 \\x4\n", 1, "malformed escape in text"},
      {"at 1 savepath\n", 1, "expected a path"},
      {"at 1 loadsettings\n", 1, "expected a path"},
      {"at 1 quit now\n", 1, "unexpected words at the end of the line"},
  };
  for (const BadLine& c : cases) {
    SCOPED_TRACE(c.script);
    std::istringstream in(c.script);
    ParsedScript parsed = ParseScript(in);
    ASSERT_TRUE(std::holds_alternative<ScriptError>(parsed));
    EXPECT_EQ(std::get<ScriptError>(parsed).line, c.line);
    EXPECT_EQ(std::get<ScriptError>(parsed).message, c.message);
  }
}

TEST(Escapes, QuoteAndUnescapeRoundTripEveryByte) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  const std::string quoted = Quote(all);
  ASSERT_EQ(quoted.front(), '"');
  ASSERT_EQ(quoted.back(), '"');
  EXPECT_EQ(Unescape(quoted.substr(1, quoted.size() - 2)), all);
  EXPECT_EQ(Quote("Event = \"x\"\\\n"), "\"Event = \\\"x\\\"\\\\\\n\"");
  EXPECT_EQ(Quote("\x01\xe9"), "\"\\x01\\xe9\"");
}

}  // namespace
