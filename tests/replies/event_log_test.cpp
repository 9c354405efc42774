#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reply_panel.h"

namespace {

struct PointerCase {
  const char* what;
  bool firstReply;
  int nextBefore;
  int logBefore;
  int machinePointer;
  bool expectRecordRequest;
  int expectedLog;
  int expectedNext;
};

class LogPointerReply : public ::testing::TestWithParam<PointerCase> {};

TEST_P(LogPointerReply, FollowsTheMachinesPointer) {
  const PointerCase& c = GetParam();
  ReplyPanel p;
  p.panel.firstLogReply = c.firstReply;
  p.panel.nextLogPointer = c.nextBefore;
  p.panel.logPointer = c.logBefore;
  p.DeliverLogPointer(c.machinePointer);
  EXPECT_EQ(p.StackedCodes(),
            c.expectRecordRequest ? std::vector<int32_t>{5} : std::vector<int32_t>{});
  EXPECT_EQ(p.panel.logPointer, c.expectedLog);
  EXPECT_EQ(p.panel.nextLogPointer, c.expectedNext);
  EXPECT_FALSE(p.panel.firstLogReply);
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, LogPointerReply,
    ::testing::Values(PointerCase{"first, 30: nothing older", true, 0, 0, 30, false, 30, 30},
                      PointerCase{"first, 36: from 6", true, 0, 0, 36, true, 6, 12},
                      PointerCase{"first, 31", true, 0, 0, 31, true, 1, 7},
                      PointerCase{"first, 0", true, 99, 99, 0, false, 0, 0},
                      PointerCase{"first, 65535", true, 0, 0, 65535, true, 65505, 65511},
                      PointerCase{"later, behind", false, 12, 6, 36, true, 12, 18},
                      PointerCase{"later, one behind", false, 35, 29, 36, true, 35, 41},
                      PointerCase{"later, equal", false, 36, 30, 36, false, 30, 36},
                      PointerCase{"later, ahead: back to 0", false, 42, 36, 36, false, 36, 0},
                      PointerCase{"later, machine at 0", false, 6, 0, 0, false, 0, 0},
                      PointerCase{"after fall-back", false, 0, 36, 6, true, 0, 6},
                      PointerCase{"later, 65535", false, 65529, 65523, 65535, true, 65529, 65535}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LogFollowing, AfterFallBackReadsFromZeroOnePerReply) {
  ReplyPanel p;
  p.DeliverLogPointer(600);  // first: 570 queued, next 576
  p.panel.msgStack.Clear();
  p.DeliverLogPointer(12);  // the machine's log restarted
  EXPECT_EQ(p.panel.nextLogPointer, 0);
  EXPECT_EQ(p.panel.msgStack.GetCount(), 0);
  std::vector<int> requested;
  for (int reply = 0; reply < 4; ++reply) {
    p.DeliverLogPointer(12);
    if (p.panel.msgStack.GetCount() > 0) requested.push_back(p.panel.logPointer);
    p.panel.msgStack.Clear();
  }
  EXPECT_EQ(requested, (std::vector<int>{0, 6}));
}

TEST(EventRecordReply, AddsEventLineAndDetailLine) {
  struct Row {
    int code;
    uint32_t time;
    int type;
    int bits;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {5, 1'700'000'000, 7, 0xFF, {"Event = Zonesensor Activation at 11/14/23 22:13:20"}},
      {21,
       1'700'000'000,
       8,
       0xFF,
       {"Event = Input Change at           11/14/23 22:13:20",
        "***Inputs = smoke on,set on,fire on,aux-in on,test on,Case closed,CS on,PIR on,"}},
      {5,
       0,
       9,
       0x08,
       {"Event = Status Change at           01/01/70 00:00:00",
        "***Status = Bat off,Mains off,Ready off,Temp-err off,Low flu off,No flu off,Sys fault"}},
      {5, 0xFFFFFFFF, 0xFF, 0xFF, {"Event =  ???  "}},
      {21,
       0x80000000,
       8,
       0x00,
       {"Event = Input Change at            ",
        "***Inputs = smoke off,set off,fire off,aux-in off,test off,Case open,CS off,PIR off"}},
      {5, 0x7FFFFFFF, 25, 0, {"Event =  ??? 01/19/38 03:14:07"}},
  };
  for (const Row& row : rows) {
    ReplyPanel p;
    p.DeliverRecord(row.code, row.time, row.type, row.bits);
    EXPECT_EQ(p.EventLines(), row.lines) << row.code << "/" << row.type;
  }
}

TEST(EventRecordReply, KeepsNewestLinesInViewBeyondFiveLines) {
  // Lines after each record: 1, 3, 4, 6, 7, 9.
  const int types[] = {1, 8, 2, 9, 3, 8};
  const int expectedTop[] = {0, 0, 0, 3, 4, 6};
  ReplyPanel p;
  for (std::size_t i = 0; i < std::size(types); ++i) {
    p.DeliverRecord(5, 1'700'000'000, types[i]);
    EXPECT_EQ(p.controls().TopIndex(ids::kEventList), expectedTop[i]) << "record " << i;
  }
}

TEST(EventRecordReply, ReadAllChainQueuesNextUntil888) {
  struct Row {
    int pointerBefore;
    int expectedPointer;
    bool expectNext;
  };
  for (const Row& row : {Row{0, 6, true}, Row{876, 882, true}, Row{882, 888, false},
                         Row{888, 894, false}, Row{-6, 0, true}}) {
    ReplyPanel p;
    p.panel.readPointer = row.pointerBefore;
    p.DeliverRecord(21, 0, 1);
    EXPECT_EQ(p.panel.readPointer, row.expectedPointer);
    EXPECT_EQ(p.StackedCodes(), row.expectNext ? std::vector<int32_t>{21} : std::vector<int32_t>{});
  }
}

TEST(EventRecordReply, LogFollowingRecordLeavesPointersAndStackAlone) {
  ReplyPanel p;
  p.panel.readPointer = 24;
  p.panel.logPointer = 570;
  p.panel.nextLogPointer = 576;
  p.DeliverRecord(5, 0, 1);
  EXPECT_EQ(p.panel.readPointer, 24);
  EXPECT_EQ(p.panel.logPointer, 570);
  EXPECT_EQ(p.panel.nextLogPointer, 576);
  EXPECT_EQ(p.panel.msgStack.GetCount(), 0);
}

TEST(GetAll, EmptiesListRestartsAtZeroAndQueuesOneRequest) {
  ReplyPanel p;
  p.DeliverRecord(5, 0, 8);
  p.panel.readPointer = 300;
  p.panel.logPointer = 42;
  p.panel.OnGetAllClicked();
  EXPECT_TRUE(p.EventLines().empty());
  EXPECT_EQ(p.controls().TopIndex(ids::kEventList), 0);
  EXPECT_EQ(p.panel.readPointer, 0);
  EXPECT_EQ(p.panel.logPointer, 42);
  EXPECT_EQ(p.StackedCodes(), std::vector<int32_t>{21});
}

TEST(GetAll, WithoutPortLeavesRequestThatTheNextConnectDrops) {
  ReplyPanel p;
  p.panel.OnGetAllClicked();
  EXPECT_EQ(p.StackedCodes(), std::vector<int32_t>{21});
  p.panel.OnConnectClicked();
  for (int32_t code : p.StackedCodes()) EXPECT_NE(code, 21);
}

TEST(ClearLog, EmptiesListOnlySendsNothingMovesNoPointer) {
  ReplyPanel p;
  p.DeliverRecord(21, 0, 9);
  p.panel.msgStack.Clear();
  p.panel.readPointer = 60;
  p.panel.logPointer = 12;
  p.panel.nextLogPointer = 18;
  p.panel.OnClearLogClicked();
  EXPECT_TRUE(p.EventLines().empty());
  EXPECT_EQ(p.panel.msgStack.GetCount(), 0);
  EXPECT_EQ(p.panel.readPointer, 60);
  EXPECT_EQ(p.panel.logPointer, 12);
  EXPECT_EQ(p.panel.nextLogPointer, 18);
}

// Counts what the list tells a view, so that every added line costs a bounded number
// of notifications however long the list is.
struct ListWatcher : ControlObserver {
  int added = 0;
  int cleared = 0;
  int topChanges = 0;
  int lastTop = -1;
  void LineAdded(int id, const std::string&) override { added += id == ids::kEventList; }
  void ListCleared(int id) override { cleared += id == ids::kEventList; }
  void TopIndexChanged(int id, int index) override {
    if (id != ids::kEventList) return;
    ++topChanges;
    lastTop = index;
  }
};

TEST(EventRecordReply, HundredThousandLinesCostOneNotificationEachAndScrollToEnd) {
  ReplyPanel p;
  ListWatcher watcher;
  p.controls().Subscribe(&watcher);
  constexpr int kRecords = 50'000;  // two lines each
  for (int i = 0; i < kRecords; ++i)
    p.DeliverRecord(5, 1'700'000'000u + static_cast<uint32_t>(i), 8);
  p.controls().Unsubscribe(&watcher);
  EXPECT_EQ(p.controls().LineCount(ids::kEventList), 2 * kRecords);
  EXPECT_EQ(watcher.added, 2 * kRecords);
  EXPECT_EQ(watcher.cleared, 0);
  EXPECT_EQ(watcher.topChanges, kRecords - 2);  // from the third record (6 lines) on
  EXPECT_EQ(watcher.lastTop, 2 * kRecords - 3);
  EXPECT_EQ(p.controls().Line(ids::kEventList, 2 * kRecords - 2),
            "Event = Input Change at           11/15/23 12:06:39");
}

}  // namespace
