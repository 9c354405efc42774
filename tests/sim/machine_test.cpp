#include "tools/brumo-sim/machine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using sim::BrumoMachine;
using sim::Frame;
using sim::MachineSetup;
using Payload = std::array<uint8_t, 9>;

Frame Request(int code, std::initializer_list<int> payload = {}) {
  Frame frame{};
  frame[2] = static_cast<uint8_t>(code);
  std::size_t at = 3;
  for (int byte : payload) frame.at(at++) = static_cast<uint8_t>(byte);
  return frame;
}

Payload PayloadOf(const Frame& reply) {
  Payload payload{};
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = reply[3 + i];
  return payload;
}

int64_t Time32(const Frame& reply) {
  return static_cast<int32_t>(static_cast<uint32_t>(reply[3]) | (reply[4] << 8) | (reply[5] << 16) |
                              (static_cast<uint32_t>(reply[6]) << 24));
}

// A machine whose every value differs from the defaults, on a clock the test moves.
struct MachineTest : ::testing::Test {
  static MachineSetup DistinctSetup() {
    MachineSetup setup;
    setup.name = "Cold Room 7";
    setup.firmware = "3v01";
    setup.clockStart = 1'700'000'000;
    setup.serviceDate = 1'690'000'000;
    setup.fogStatus = 0x11;
    setup.frequencyByte = 255;
    setup.mains = 199;
    setup.settings = {17, 50, 8, 1, 0xFB, 0x8F, 0, 0, 0};
    setup.calibration = {250, 10, 0, 255, 0, 0, 0, 0, 0};
    setup.ei = -100;
    setup.eo = 400;
    setup.ci = 3000;
    setup.co = -1;
    setup.pwm = 255;
    setup.pHigh = 737;
    setup.pLow = 0;
    return setup;
  }

  int64_t nowMs = 5'000;
  BrumoMachine machine{DistinctSetup(), [this] { return nowMs; }};
};

struct ReadCase {
  int code;
  Frame request;
  Payload payload;
};

TEST_F(MachineTest, EveryCodeGetsATwelveByteReplyWithItsCodeAndItsPayload) {
  const std::vector<ReadCase> cases = {
      {1, Request(1), {0, 0, 0, 0xFF, 0x11, 199, 0, 0, 0}},
      {3, Request(3), {17, 50, 8, 1, 0xFB, 0x8F, 0, 0, 0}},
      {7, Request(7), {250, 10, 0, 255, 0, 0, 0, 0, 0}},
      {9, Request(9), {'C', 'o', 'l', 'd', ' ', 'R', 'o', 'o', 0}},
      {11, Request(11), {'m', ' ', '7', 0, 0, 0, 0, 0, 0}},
      {13, Request(13), {0x80, 0x5A, 0xBB, 0x64, 0, 0, 0, 0, 0}},
      {15, Request(15), {0x00, 0xF1, 0x53, 0x65, 0, 0, 0, 0, 0}},
      {17, Request(17), {0x84, 0x03, 0, 0, 0, 0, 0, 0, 0}},  // 900: 150 records
      {19, Request(19), {'3', 'v', '0', '1', 0, 0, 0, 0, 0}},
      {23, Request(23, {0xAA, 0xAA}), {100, 0, 0, 0, 0, 0, 0, 0, 0}},
      // Ei -100, Eo 400, Ci 3000, Co -1 quarter degrees, PWM 255.
      {25, Request(25), {0x9C, 0xFF, 0x90, 0x01, 0xB8, 0x0B, 0xFF, 0xFF, 0xFF}},
      {27, Request(27), {0xE1, 0x02, 0x00, 0x00, 0, 0, 0, 0, 0}},
      // The pointer's address holds no record yet: erased memory.
      {5, Request(5, {0x84, 0x03}), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0}},
      {21, Request(21, {0x84, 0x03}), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0}},
  };
  std::set<int> answered;
  for (const ReadCase& c : cases) {
    const Frame reply = machine.Answer(c.request);
    EXPECT_EQ(reply[0], 0) << "code " << c.code;
    EXPECT_EQ(reply[1], 0) << "code " << c.code;
    EXPECT_EQ(reply[2], c.code);
    EXPECT_EQ(PayloadOf(reply), c.payload) << "code " << c.code;
    answered.insert(c.code);
  }
  // Everything else, writes and codes without a meaning included: its code, no payload.
  for (int code = 0; code <= 255; ++code) {
    if (answered.contains(code)) continue;
    const Frame reply = machine.Answer(Request(code, {0xAA, 0xAB, 0xAC, 0xAD}));
    EXPECT_EQ(reply[2], code);
    EXPECT_EQ(PayloadOf(reply), Payload{}) << "code " << code;
    EXPECT_EQ(reply[0] | reply[1], 0);
  }
}

struct RoundTrip {
  const char* what;
  Frame write;
  std::vector<int> readCodes;
  std::vector<Payload> expected;
};

TEST_F(MachineTest, WritesShowInTheLaterRead) {
  const std::vector<RoundTrip> cases = {
      {"settings",
       Request(4, {21, 20, 3, 2, 0x84, 0x63, 7, 8, 9}),
       {3},
       {{21, 20, 3, 2, 0x84, 0x63, 7, 8, 9}}},
      {"calibration",
       Request(8, {157, 2, 15, 10, 1, 2, 3, 4, 5}),
       {7},
       {{157, 2, 15, 10, 1, 2, 3, 4, 5}}},
      {"first name half",
       Request(10, {'A', 'b', ' ', ' ', ' ', ' ', ' ', ' ', 0x77}),
       {9, 11},
       {{'A', 'b', ' ', ' ', ' ', ' ', ' ', ' ', 0}, {'m', ' ', '7', 0, 0, 0, 0, 0, 0}}},
      {"second half",
       Request(12, {'0', '1', '2', '3', '4', '5', '6', '7', 0x77}),
       {11, 9},
       {{'0', '1', '2', '3', '4', '5', '6', '7', 0}, {'A', 'b', ' ', ' ', ' ', ' ', ' ', ' ', 0}}},
      {"service date",
       Request(14, {0x4E, 0x52, 0x10, 0x66}),
       {13},
       {{0x4E, 0x52, 0x10, 0x66, 0, 0, 0, 0, 0}}},
      {"clock",
       Request(16, {0x4E, 0x52, 0x10, 0x66}),
       {15},
       {{0x4E, 0x52, 0x10, 0x66, 0, 0, 0, 0, 0}}},
  };
  for (const RoundTrip& c : cases) {
    const Frame ack = machine.Answer(c.write);
    EXPECT_EQ(ack[2], c.write[2]) << c.what;
    for (std::size_t i = 0; i < c.readCodes.size(); ++i)
      EXPECT_EQ(PayloadOf(machine.Answer(Request(c.readCodes[i]))), c.expected[i]) << c.what;
  }
}

TEST_F(MachineTest, TimesInRequestsAreSignedThirtyTwoBits) {
  machine.Answer(Request(16, {0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(machine.ClockNow(), -1);
  machine.Answer(Request(14, {0x00, 0x00, 0x00, 0x80}));
  EXPECT_EQ(Time32(machine.Answer(Request(13))), INT32_MIN);
}

TEST_F(MachineTest, ClockRunsInRealTimeFromTheLastSetting) {
  EXPECT_EQ(Time32(machine.Answer(Request(15))), 1'700'000'000);
  nowMs += 1'999;
  EXPECT_EQ(Time32(machine.Answer(Request(15))), 1'700'000'001);
  nowMs += 1;
  EXPECT_EQ(Time32(machine.Answer(Request(15))), 1'700'000'002);
  machine.Answer(Request(16, {0x4E, 0x52, 0x10, 0x66}));  // 1,712,345,678
  nowMs += 999;
  EXPECT_EQ(Time32(machine.Answer(Request(15))), 1'712'345'678);
  nowMs += 61'000;
  EXPECT_EQ(Time32(machine.Answer(Request(15))), 1'712'345'739);
}

TEST_F(MachineTest, CalibrationRunsFromZeroToHundredAfterRefCal) {
  const auto progress = [this] { return machine.Answer(Request(23, {0xAA, 0xAA}))[3]; };
  EXPECT_EQ(progress(), 100);  // nothing to do: reports done
  machine.Answer(Request(24, {0xAA, 0xAB, 0xAC, 0xAD}));
  EXPECT_EQ(progress(), 0);
  nowMs += 240;
  machine.Answer(Request(24, {0xAA, 0xAB, 0xAC, 0xAD}));  // the panel sends five; no restart
  nowMs += 2'260;
  EXPECT_EQ(progress(), 50);
  nowMs += 2'449;
  EXPECT_EQ(progress(), 98);
  nowMs += 51;
  EXPECT_EQ(progress(), 100);
  nowMs += 60'000;
  EXPECT_EQ(progress(), 100);
  machine.Answer(Request(24, {0xAA, 0xAB, 0xAC, 0xAD}));  // a new run after the last ended
  nowMs += 1'000;
  EXPECT_EQ(progress(), 20);
}

struct LogRecord {
  int64_t time;
  int type;
  int bits;
};

LogRecord ReadRecord(BrumoMachine& machine, int code, int address) {
  const Frame reply = machine.Answer(Request(code, {address & 0xFF, (address >> 8) & 0xFF}));
  EXPECT_EQ(reply[2], code);
  EXPECT_EQ(reply[9] | reply[10] | reply[11], 0);
  return {Time32(reply), reply[7], reply[8]};
}

int LogPointer(BrumoMachine& machine) {
  const Frame reply = machine.Answer(Request(17));
  return reply[3] | (reply[4] << 8);
}

TEST_F(MachineTest, DefaultLogHoldsEveryEventTypeWithTimesRisingToThePointer) {
  const int pointer = LogPointer(machine);
  ASSERT_EQ(pointer, 900);
  std::set<int> types;
  std::set<int> inputBits, statusBits;
  int64_t previous = INT64_MIN;
  for (int address = 0; address < pointer; address += 6) {
    const LogRecord record = ReadRecord(machine, 21, address);
    EXPECT_GT(record.time, previous) << "address " << address;
    EXPECT_LT(record.time, 1'700'000'000);
    previous = record.time;
    EXPECT_GE(record.type, 1);
    EXPECT_LE(record.type, 24);
    types.insert(record.type);
    if (record.type == 8) inputBits.insert(record.bits);
    if (record.type == 9) statusBits.insert(record.bits);
    if (record.type != 8 && record.type != 9) {
      EXPECT_EQ(record.bits, 0);
    }
  }
  EXPECT_EQ(types.size(), 24u);
  EXPECT_GT(inputBits.size(), 1u);
  EXPECT_GT(statusBits.size(), 1u);
  EXPECT_EQ(ReadRecord(machine, 5, pointer).type, 0xFF);  // nothing past the newest
}

// The panel's log following after a connect: the first pointer reply asks for P - 30,
// each later one for the next address until it meets the pointer.
TEST_F(MachineTest, ConnectFetchesTheFiveNewestRecordsWithBothDetailKinds) {
  const int pointer = LogPointer(machine);
  int next = pointer - 30;
  std::vector<LogRecord> fetched;
  for (int reply = 0; reply < 8; ++reply) {
    const int p = LogPointer(machine);
    if (next < p) {
      fetched.push_back(ReadRecord(machine, 5, next));
      next += 6;
    }
  }
  ASSERT_EQ(fetched.size(), 5u);
  std::set<int> types;
  for (std::size_t i = 0; i < fetched.size(); ++i) {
    types.insert(fetched[i].type);
    if (i > 0) {
      EXPECT_GT(fetched[i].time, fetched[i - 1].time);
    }
  }
  EXPECT_TRUE(types.contains(8));
  EXPECT_TRUE(types.contains(9));
  EXPECT_EQ(fetched.back().time, 1'700'000'000 - 300);  // newest, shortly before the clock
}

TEST(MachineLog, LengthAndPointerFollowTheSetup) {
  int64_t nowMs = 0;
  MachineSetup setup;
  setup.logLength = 3;
  BrumoMachine small(setup, [&nowMs] { return nowMs; });
  EXPECT_EQ(LogPointer(small), 18);
  EXPECT_NE(ReadRecord(small, 5, 12).type, 0xFF);
  EXPECT_EQ(ReadRecord(small, 5, 18).type, 0xFF);

  setup.logLength = 0;
  BrumoMachine empty(setup, [&nowMs] { return nowMs; });
  EXPECT_EQ(LogPointer(empty), 0);
  EXPECT_EQ(ReadRecord(empty, 21, 0).type, 0xFF);

  setup.logLength = 150;
  setup.logPointer = 0x1234;
  BrumoMachine moved(setup, [&nowMs] { return nowMs; });
  EXPECT_EQ(LogPointer(moved), 0x1234);
}

TEST(MachineLog, RecordsAreReadByByteAddress) {
  int64_t nowMs = 0;
  MachineSetup setup;
  setup.logLength = 2;
  BrumoMachine machine(setup, [&nowMs] { return nowMs; });
  const Frame aligned = machine.Answer(Request(21, {6, 0}));
  const Frame shifted = machine.Answer(Request(21, {7, 0}));
  for (std::size_t i = 3; i < 8; ++i) EXPECT_EQ(shifted[i], aligned[i + 1]);
  EXPECT_EQ(shifted[8], 0xFF);  // past the end of the log
}

TEST_F(MachineTest, SettingClockOrServiceDateWritesAnEventAtThePointer) {
  machine.Answer(Request(16, {0x4E, 0x52, 0x10, 0x66}));
  EXPECT_EQ(LogPointer(machine), 906);
  const LogRecord timeSet = ReadRecord(machine, 5, 900);
  EXPECT_EQ(timeSet.type, 18);
  EXPECT_EQ(timeSet.time, 1'712'345'678);

  nowMs += 10'000;
  machine.Answer(Request(14, {0x00, 0xF1, 0x53, 0x65}));
  EXPECT_EQ(LogPointer(machine), 912);
  const LogRecord service = ReadRecord(machine, 5, 906);
  EXPECT_EQ(service.type, 17);
  EXPECT_EQ(service.time, 1'712'345'688);
}

TEST(MachineLog, AFullLogTakesNoMoreRecords) {
  sim::EventLog log = sim::EventLog::MakeHistory(sim::EventLog::kMaxRecords + 5, 1'700'000'000);
  EXPECT_EQ(log.Pointer(), sim::EventLog::kMaxRecords * 6);
  EXPECT_LE(log.Pointer(), 0xFFFF);
  EXPECT_FALSE(log.Append(1'700'000'000, 18, 0));
  EXPECT_EQ(log.Pointer(), sim::EventLog::kMaxRecords * 6);
}

}  // namespace

int16_t Le16At(const Frame& reply, std::size_t at) {
  return static_cast<int16_t>(reply[at] | (reply[at + 1] << 8));
}

// Each reading swings by its own amount over its own period: none at the start, its
// whole swing at a quarter period, none at half, the whole swing down at three quarters.
TEST(MachineWander, ReadingsSwingAroundTheirValuesEachOnItsOwnPeriod) {
  struct Reading {
    const char* name;
    int code;
    std::size_t at;  // byte of the reply; 11 is the PWM byte
    int value;
    int swing;
    int64_t periodMs;
  };
  MachineSetup setup;
  setup.wander = true;
  setup.pwm = 250;  // near the end of its byte: the swing up stops at 255
  const Reading readings[] = {
      {"Ei", 25, 3, -21, 4, 240'000},    {"Eo", 25, 5, -8, 3, 300'000},
      {"Ci", 25, 7, 142, 8, 200'000},    {"Co", 25, 9, 115, 6, 260'000},
      {"PWM", 25, 11, 250, 20, 90'000},  {"P_HIGH", 27, 3, 344, 8, 200'000},
      {"P_LOW", 27, 5, 213, 4, 240'000},
  };
  for (const Reading& reading : readings) {
    int64_t nowMs = 0;
    BrumoMachine machine(setup, [&nowMs] { return nowMs; });
    const auto read = [&] {
      const Frame reply = machine.Answer(Request(reading.code));
      return reading.at == 11 ? int{reply[11]} : int{Le16At(reply, reading.at)};
    };
    const int top = std::min(reading.value + reading.swing, reading.at == 11 ? 255 : INT16_MAX);
    const std::pair<int64_t, int> expected[] = {
        {0, reading.value},
        {reading.periodMs / 4, top},
        {reading.periodMs / 2, reading.value},
        {reading.periodMs * 3 / 4, reading.value - reading.swing},
        {reading.periodMs, reading.value}};
    for (const auto& [ms, value] : expected) {
      nowMs = ms;
      EXPECT_EQ(read(), value) << reading.name << " at " << ms << " ms";
    }
  }
}

TEST_F(MachineTest, ReadingsHoldStillUnlessTheyWander) {
  const Frame temperatures = machine.Answer(Request(25));
  const Frame pressures = machine.Answer(Request(27));
  nowMs += 60'000;
  EXPECT_EQ(machine.Answer(Request(25)), temperatures);
  EXPECT_EQ(machine.Answer(Request(27)), pressures);
}
