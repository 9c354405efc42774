#include "replies/event_log_file.h"

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
#include "reply_panel.h"

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

class SaveLog : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelo-log-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
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

  void FillList() {
    p_.DeliverRecord(5, 1'700'000'000, 8, 0xFF);
    p_.DeliverRecord(5, 1'700'000'006, 7);
  }

  fs::path dir_;
  ReplyPanel p_;
};

TEST_F(SaveLog, WritesListAsFileWithoutDialogOrMessage) {
  FillList();
  const fs::path path = dir_ / "events";  // no extension is added
  p_.host.savePaths.push_back(path.string());
  p_.panel.OnSaveLogClicked();
  EXPECT_EQ(ReadWhole(path), kEvent1 + kTen + kInputs + "\r\n" + kEvent2 + "\r\n");
  EXPECT_TRUE(p_.host.messages.empty());
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"events"});
  EXPECT_EQ(p_.EventLines(), (std::vector<std::string>{kEvent1, kInputs, kEvent2}));
}

TEST_F(SaveLog, EmptyListGivesEmptyFileReplacingOldContent) {
  const fs::path path = dir_ / "events.txt";
  std::ofstream(path) << "older and longer content\n";
  p_.host.savePaths.push_back(path.string());
  p_.panel.OnSaveLogClicked();
  EXPECT_TRUE(fs::exists(path));
  EXPECT_EQ(ReadWhole(path), "");
}

TEST_F(SaveLog, CancelOrEmptyPathDoesNothing) {
  FillList();
  p_.panel.OnSaveLogClicked();  // no path queued: the operator cancels
  p_.host.savePaths.push_back(std::string());
  p_.panel.OnSaveLogClicked();
  EXPECT_TRUE(DirEntries().empty());
  EXPECT_TRUE(p_.host.messages.empty());
  EXPECT_EQ(p_.EventLines().size(), 3u);
}

TEST_F(SaveLog, FailureTellsTheOperatorLeavesNoFileAndKeepsTheList) {
  FillList();
  const std::vector<std::string> before = p_.EventLines();
  struct Row {
    fs::path path;
    int error;
  };
  fs::create_directory(dir_ / "folder");
  for (const Row& row :
       {Row{dir_ / "missing" / "events.txt", ENOENT}, Row{dir_ / "folder", EISDIR}}) {
    p_.host.messages.clear();
    p_.host.savePaths.push_back(row.path.string());
    p_.panel.OnSaveLogClicked();
    ASSERT_EQ(p_.host.messages.size(), 1u) << row.path;
    EXPECT_EQ(p_.host.messages[0].text,
              SaveFailedMessage(row.path.string(), std::strerror(row.error)));
    EXPECT_EQ(p_.host.messages[0].buttons, MessageButtons::kOk);
    EXPECT_EQ(p_.EventLines(), before);
  }
  EXPECT_EQ(DirEntries(), std::vector<std::string>{"folder"}) << "no temporary file left";
  EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
}

}  // namespace
