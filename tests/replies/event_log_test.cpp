// The log follower on its own: replies handed to it as the dispatcher does, requests
// kept on a recording queue.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel/panel_dialog.h"
#include "reply_frames.h"
#include "support/panel_fixture.h"

namespace {

// The machine's log pointer in a run of replies 17, the first since start-up first.
struct PointerCase {
  const char* what;
  std::vector<int> machinePointers;
  // After the last reply:
  bool expectRecordRequest;
  int expectedLog;
  int expectedNext;
};

class LogPointerReply : public ::testing::TestWithParam<PointerCase> {};

TEST_P(LogPointerReply, FollowsTheMachinesPointer) {
  const PointerCase& c = GetParam();
  DecodeTarget t;
  for (int pointer : c.machinePointers) {
    t.queue.codes.clear();
    t.Deliver(LogPointerFrame(pointer));
  }
  EXPECT_EQ(t.queue.codes,
            c.expectRecordRequest ? std::vector<int32_t>{5} : std::vector<int32_t>{});
  EXPECT_EQ(t.log.pointers().logPointer, c.expectedLog);
  EXPECT_EQ(t.log.pointers().nextLogPointer, c.expectedNext);
  EXPECT_FALSE(t.log.pointers().firstLogReply);
}

INSTANTIATE_TEST_SUITE_P(
    Pointers, LogPointerReply,
    ::testing::Values(PointerCase{"first, 30: nothing older", {30}, false, 30, 30},
                      PointerCase{"first, 36: from 6", {36}, true, 6, 12},
                      PointerCase{"first, 31", {31}, true, 1, 7},
                      PointerCase{"first, 0", {0}, false, 0, 0},
                      PointerCase{"first, 65535", {65535}, true, 65505, 65511},
                      PointerCase{"later, behind", {36, 36}, true, 12, 18},
                      PointerCase{"later, one behind", {59, 36}, true, 35, 41},
                      PointerCase{"later, equal", {60, 36}, false, 30, 36},
                      PointerCase{"later, ahead: back to 0", {66, 36}, false, 36, 0},
                      PointerCase{"after fall-back", {66, 36, 6}, true, 0, 6},
                      PointerCase{"later, machine at 0", {66, 36, 6, 0}, false, 0, 0},
                      PointerCase{
                          "later, 65535", {65535, 65535, 65535, 65535, 65535}, true, 65529, 65535},
                      PointerCase{"later, caught up at 65535",
                                  {65535, 65535, 65535, 65535, 65535, 65535},
                                  false,
                                  65529,
                                  65535}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(LogFollowing, AfterFallBackReadsFromZeroOnePerReply) {
  DecodeTarget t;
  t.Deliver(LogPointerFrame(600));  // first: 570 queued, next 576
  t.queue.codes.clear();
  t.Deliver(LogPointerFrame(12));  // the machine's log restarted
  EXPECT_EQ(t.log.pointers().nextLogPointer, 0);
  EXPECT_TRUE(t.queue.codes.empty());
  std::vector<int> requested;
  for (int reply = 0; reply < 4; ++reply) {
    t.Deliver(LogPointerFrame(12));
    if (!t.queue.codes.empty()) requested.push_back(t.log.pointers().logPointer);
    t.queue.codes.clear();
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
    DecodeTarget t;
    t.Deliver(RecordFrame(row.code, row.time, row.type, row.bits));
    EXPECT_EQ(t.EventLines(), row.lines) << row.code << "/" << row.type;
  }
}

TEST(EventRecordReply, KeepsNewestLinesInViewBeyondFiveLines) {
  // Lines after each record: 1, 3, 4, 6, 7, 9.
  const int types[] = {1, 8, 2, 9, 3, 8};
  const int expectedTop[] = {0, 0, 0, 3, 4, 6};
  DecodeTarget t;
  for (std::size_t i = 0; i < std::size(types); ++i) {
    t.Deliver(RecordFrame(5, 1'700'000'000, types[i]));
    EXPECT_EQ(t.panel.controls.TopIndex(ids::kEventList), expectedTop[i]) << "record " << i;
  }
}

TEST(EventRecordReply, ReadAllChainQueuesTheNextAddressUntil888) {
  DecodeTarget t;
  t.log.GetAll();
  for (int reply = 1; reply <= 149; ++reply) {
    t.queue.codes.clear();
    t.Deliver(RecordFrame(21, 0, 1));
    const int pointer = 6 * reply;
    ASSERT_EQ(t.log.pointers().readPointer, pointer) << "reply " << reply;
    ASSERT_EQ(t.queue.codes, pointer < 888 ? std::vector<int32_t>{21} : std::vector<int32_t>{})
        << "reply " << reply;
  }
}

TEST(EventRecordReply, LogFollowingRecordLeavesPointersAndQueueAlone) {
  DecodeTarget t;
  t.log.GetAll();
  for (int reply = 0; reply < 4; ++reply) t.Deliver(RecordFrame(21, 0, 1));
  t.Deliver(LogPointerFrame(600));
  t.queue.codes.clear();
  const LogPointers before = t.log.pointers();
  ASSERT_EQ(before.readPointer, 24);
  ASSERT_EQ(before.logPointer, 570);
  ASSERT_EQ(before.nextLogPointer, 576);
  t.Deliver(RecordFrame(5, 0, 1));
  EXPECT_EQ(t.log.pointers().readPointer, 24);
  EXPECT_EQ(t.log.pointers().logPointer, 570);
  EXPECT_EQ(t.log.pointers().nextLogPointer, 576);
  EXPECT_TRUE(t.queue.codes.empty());
}

TEST(GetAll, EmptiesListRestartsAtZeroAndQueuesOneRequest) {
  DecodeTarget t;
  t.Deliver(LogPointerFrame(72));  // log pointer 42
  t.log.GetAll();
  for (int reply = 0; reply < 3; ++reply) t.Deliver(RecordFrame(21, 0, 8));
  t.queue.codes.clear();
  ASSERT_EQ(t.panel.controls.TopIndex(ids::kEventList), 3);
  ASSERT_EQ(t.log.pointers().readPointer, 18);
  t.log.GetAll();
  EXPECT_TRUE(t.EventLines().empty());
  EXPECT_EQ(t.panel.controls.TopIndex(ids::kEventList), 0);
  EXPECT_EQ(t.log.pointers().readPointer, 0);
  EXPECT_EQ(t.log.pointers().logPointer, 42);
  EXPECT_EQ(t.queue.codes, std::vector<int32_t>{21});
}

TEST(ClearLog, EmptiesListOnlyQueuesNothingMovesNoPointer) {
  DecodeTarget t;
  t.Deliver(LogPointerFrame(48));  // log pointer 18, next 24
  t.log.GetAll();
  for (int reply = 0; reply < 10; ++reply) t.Deliver(RecordFrame(21, 0, 9));
  t.queue.codes.clear();
  const LogPointers before = t.log.pointers();
  ASSERT_EQ(before.readPointer, 60);
  t.log.ClearList();
  EXPECT_TRUE(t.EventLines().empty());
  EXPECT_TRUE(t.queue.codes.empty());
  EXPECT_EQ(t.log.pointers().readPointer, 60);
  EXPECT_EQ(t.log.pointers().logPointer, 18);
  EXPECT_EQ(t.log.pointers().nextLogPointer, 24);
}

class GetAllOnThePanel : public ::testing::Test, protected PanelFixture {};

TEST_F(GetAllOnThePanel, WithoutPortLeavesRequestThatTheNextConnectDrops) {
  dlg.commands().OnGetAllClicked();
  EXPECT_EQ(QueuedCodes(), std::vector<int>{21});
  dlg.connection().OnConnectClicked();
  ASSERT_FALSE(QueuedCodes().empty());
  for (int code : QueuedCodes()) EXPECT_NE(code, 21);
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
  DecodeTarget t;
  ListWatcher watcher;
  t.panel.controls.Subscribe(&watcher);
  constexpr int kRecords = 50'000;  // two lines each
  for (int i = 0; i < kRecords; ++i) {
    t.Deliver(RecordFrame(5, 1'700'000'000u + static_cast<uint32_t>(i), 8));
  }
  t.panel.controls.Unsubscribe(&watcher);
  EXPECT_EQ(t.panel.controls.LineCount(ids::kEventList), 2 * kRecords);
  EXPECT_EQ(watcher.added, 2 * kRecords);
  EXPECT_EQ(watcher.cleared, 0);
  EXPECT_EQ(watcher.topChanges, kRecords - 2);  // from the third record (6 lines) on
  EXPECT_EQ(watcher.lastTop, 2 * kRecords - 3);
  EXPECT_EQ(t.panel.controls.Line(ids::kEventList, 2 * kRecords - 2),
            "Event = Input Change at           11/15/23 12:06:39");
}

}  // namespace
