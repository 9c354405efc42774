// Replies are untrusted input: every byte value in every position of every reply code
// must decode into a sound panel state.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "reply_frames.h"

namespace {

const std::set<int> kHandledCodes = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27};

// Everything a reply could change: the state, the follower's pointers, what it queued.
auto Snapshot(const DecodeTarget& t) {
  std::vector<std::tuple<std::string, int, int, std::vector<std::string>, int, int>> controls;
  for (const ControlState& c : t.panel.controls.All()) {
    controls.emplace_back(c.text, c.check, c.selection, c.lines, c.topIndex, c.position);
  }
  const MachineReadings& m = t.panel.machine;
  const BoundValues& v = t.panel.values;
  const LogPointers& p = t.log.pointers();
  return std::make_tuple(controls, t.queue.codes, m.machineName, m.firmwareRevision, m.nameBuffer,
                         m.serviceBaseDate, m.deviceClock, m.fogStatusByte, m.mainsValue,
                         m.outputFrequency, m.machineSettings, m.machineCalibration, v.calValue,
                         v.sHt, v.tMin, v.tMax, v.commPort, p.logPointer, p.nextLogPointer,
                         p.readPointer, p.firstLogReply, t.panel.gate.txInProgress,
                         t.panel.gate.rxInProgress);
}

// What any reply must leave sound, whatever its bytes.
std::string Unsound(const DecodeTarget& t) {
  for (const ControlState& c : t.panel.controls.All()) {
    if (c.kind == ControlKind::kCombo &&
        (c.selection < -1 || c.selection >= static_cast<int>(c.entries.size()))) {
      return "combo " + std::to_string(c.id) + " selection " + std::to_string(c.selection);
    }
    if (c.position < 0 || c.position > 100) return "progress " + std::to_string(c.id);
    if (c.topIndex < 0 || (c.topIndex > 0 && c.topIndex >= static_cast<int>(c.lines.size()))) {
      return "top index of " + std::to_string(c.id);
    }
  }
  const MachineReadings& m = t.panel.machine;
  const LogPointers& p = t.log.pointers();
  if (m.machineName.size() > 16) return "name longer than 16";
  if (m.firmwareRevision.size() > 8) return "revision longer than 8";
  if (m.outputFrequency < 0 || m.outputFrequency > 85) return "output frequency";
  if (p.logPointer < 0 || p.logPointer > 65535) return "log pointer";
  if (p.nextLogPointer < 0 || p.nextLogPointer > 65535 + 6) return "next log pointer";
  if (p.readPointer < 0) return "read pointer";
  return {};
}

TEST(ReplyBytes, EveryValueInEveryPositionOfEveryCodeDecodesSoundly) {
  for (int code = 0; code <= 255; ++code) {
    DecodeTarget t;
    const auto before = Snapshot(t);
    for (std::size_t position = 0; position < kFrameSize; ++position) {
      if (position == 2) continue;
      for (int value = 0; value <= 255; ++value) {
        Frame reply = ReplyFrame(code);
        reply[position] = value;
        t.Deliver(reply);
        const std::string problem = Unsound(t);
        if (!problem.empty()) {
          FAIL() << "code " << code << ", byte " << position << " = " << value << ": " << problem;
        }
      }
    }
    if (!kHandledCodes.contains(code)) {
      EXPECT_TRUE(Snapshot(t) == before) << "code " << code << " changed the panel";
    }
  }
}

TEST(ReplyBytes, BytesZeroAndOneAreNeverExamined) {
  for (int code : kHandledCodes) {
    DecodeTarget a;
    DecodeTarget b;
    const Frame reply = ReplyFrame(code, {0x41, 0x42, 0x43, 0x44, 0x08, 0xFF, 0x45, 0x46, 0x47});
    Frame marked = reply;
    marked[0] = 0xFF;
    marked[1] = 0xA5;
    a.Deliver(reply);
    b.Deliver(marked);
    EXPECT_TRUE(Snapshot(a) == Snapshot(b)) << "code " << code;
  }
}

TEST(ReplyBytes, BytesNineToElevenOfLogRepliesAreNotRead) {
  for (int code : {5, 17, 21}) {
    DecodeTarget a;
    DecodeTarget b;
    a.Deliver(ReplyFrame(code, {0x10, 0x20, 0x30, 0x40, 8, 0x5A}));
    b.Deliver(ReplyFrame(code, {0x10, 0x20, 0x30, 0x40, 8, 0x5A, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(Snapshot(a) == Snapshot(b)) << "code " << code;
  }
}

}  // namespace
