#include "panel/event_log_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "panel/saved_file.h"
#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

namespace fs = std::filesystem;

const std::string kEvent1 = "Event = Input Change at           11/14/23 22:13:20";
const std::string kInputs =
    "***Inputs = smoke on,set on,fire on,aux-in on,test on,Case closed,CS on,PIR on,";
const std::string kEvent2 = "Event = Zonesensor Activation at 11/14/23 22:13:26";
const std::string kStatus =
    "***Status = Bat off,Mains off,Ready off,Temp-err off,Low flu off,No flu off,Sys fault";
const std::string kTen(10, ' ');

struct ContentCase {
  std::vector<std::string> lines;
  std::string expected;
};

TEST(EventLogFileContent, JoinsDetailLinesAndEndsLinesWithCrLf) {
  const ContentCase cases[] = {
      {{}, ""},
      {{kEvent2}, kEvent2 + "\r\n"},
      {{kEvent1, kInputs, kEvent2}, kEvent1 + kTen + kInputs + "\r\n" + kEvent2 + "\r\n"},
      {{kEvent2, kEvent1, kInputs}, kEvent2 + "\r\n" + kEvent1 + kTen + kInputs + "\r\n"},
      {{kEvent1, kInputs, kEvent1, kStatus},
       kEvent1 + kTen + kInputs + "\r\n" + kEvent1 + kTen + kStatus + "\r\n"},
      // Whatever the list holds: a second character '*' marks a detail line.
      {{"a", "x*", "", "*"}, "a" + kTen + "x*\r\n\r\n*\r\n"},
  };
  for (const ContentCase& c : cases) EXPECT_EQ(EventLogFileContent(c.lines), c.expected);
}

class SaveLog : public ::testing::Test, protected PanelFixture {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelo-log-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    ConnectToMachine();  // log following brings the five newest records
    ASSERT_GE(Lines().size(), 5u);
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  std::vector<std::string> DirEntries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  std::vector<std::string> Lines() const { return dlg.controls().Find(ids::kEventList)->lines; }

  fs::path dir_;
};

TEST_F(SaveLog, WritesTheListAsTheFileWithoutAMessage) {
  const fs::path path = dir_ / "events";  // no extension is added
  host.savePaths.push_back(path.string());
  dlg.commands().OnSaveLogClicked();
  EXPECT_EQ(ReadWhole(path), EventLogFileContent(Lines()));
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"events"});

  dlg.commands().OnClearLogClicked();  // an empty list gives an empty file
  host.savePaths.push_back(path.string());
  dlg.commands().OnSaveLogClicked();
  EXPECT_EQ(ReadWhole(path), "");
}

TEST_F(SaveLog, FailureTellsTheOperatorLeavesNoFileAndKeepsTheList) {
  const std::vector<std::string> before = Lines();
  const fs::path path = dir_ / "missing" / "events.txt";
  host.savePaths.push_back(path.string());
  dlg.commands().OnSaveLogClicked();
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, SaveFailedMessage(path.string(), SystemFailure(ENOENT)));
  EXPECT_EQ(host.messages[0].buttons, MessageButtons::kOk);
  EXPECT_EQ(Lines(), before);
  EXPECT_TRUE(DirEntries().empty()) << "no temporary file left";
}

}  // namespace
