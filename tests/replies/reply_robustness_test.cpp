// Replies are untrusted input: every byte value in every position of every reply code
// must decode into a sound panel state.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "reply_panel.h"

namespace {

const std::set<int> kHandledCodes = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19, 21, 23, 25, 27};

// Everything of the panel a reply could change.
auto Snapshot(const CKeloConfigurationDlg& panel) {
  std::vector<std::tuple<std::string, int, int, std::vector<std::string>, int, int>> controls;
  for (const ControlState& c : panel.controls().All()) {
    controls.emplace_back(c.text, c.check, c.selection, c.lines, c.topIndex, c.position);
  }
  std::vector<int32_t> stack;
  for (int i = 1; i <= panel.msgStack.GetCount(); ++i) stack.push_back(panel.msgStack.SlotAt(i));
  return std::make_tuple(controls, stack, panel.machineName, panel.firmwareRevision,
                         panel.nameBuffer, panel.serviceBaseDate, panel.deviceClock,
                         panel.fogStatusByte, panel.mainsValue, panel.outputFrequency,
                         panel.logPointer, panel.nextLogPointer, panel.readPointer,
                         panel.firstLogReply, panel.calValue, panel.sHt, panel.tMin, panel.tMax,
                         panel.machineSettings, panel.machineCalibration);
}

// What any reply must leave sound, whatever its bytes.
std::string Unsound(const CKeloConfigurationDlg& panel) {
  for (const ControlState& c : panel.controls().All()) {
    if (c.kind == ControlKind::kCombo &&
        (c.selection < -1 || c.selection >= static_cast<int>(c.entries.size()))) {
      return "combo " + std::to_string(c.id) + " selection " + std::to_string(c.selection);
    }
    if (c.position < 0 || c.position > 100) return "progress " + std::to_string(c.id);
    if (c.topIndex < 0 || (c.topIndex > 0 && c.topIndex >= static_cast<int>(c.lines.size()))) {
      return "top index of " + std::to_string(c.id);
    }
  }
  if (panel.machineName.size() > 16) return "name longer than 16";
  if (panel.firmwareRevision.size() > 8) return "revision longer than 8";
  if (panel.msgStack.GetCount() > MsgStack::kStackCapacity) return "stack overfull";
  if (panel.outputFrequency < 0 || panel.outputFrequency > 85) return "output frequency";
  if (panel.logPointer < 0 || panel.logPointer > 65535) return "log pointer";
  if (panel.nextLogPointer < 0 || panel.nextLogPointer > 65535 + 6) return "next log pointer";
  return {};
}

TEST(ReplyBytes, EveryValueInEveryPositionOfEveryCodeDecodesSoundly) {
  for (int code = 0; code <= 255; ++code) {
    ReplyPanel p;
    p.panel.readPointer = 888;  // a chain would stop at once; only the decoding matters
    const auto before = Snapshot(p.panel);
    for (int position = 0; position < kFrameSize; ++position) {
      if (position == 2) continue;
      for (int value = 0; value <= 255; ++value) {
        p.panel.replyFrame.fill(0);
        p.panel.replyFrame[2] = code;
        p.panel.replyFrame[static_cast<std::size_t>(position)] = value;
        p.panel.DispatchReply();
        const std::string problem = Unsound(p.panel);
        if (!problem.empty()) {
          FAIL() << "code " << code << ", byte " << position << " = " << value << ": " << problem;
        }
      }
    }
    if (!kHandledCodes.contains(code)) {
      EXPECT_TRUE(Snapshot(p.panel) == before) << "code " << code << " changed the panel";
    }
  }
}

TEST(ReplyBytes, BytesZeroAndOneAreNeverExamined) {
  for (int code : kHandledCodes) {
    ReplyPanel a;
    ReplyPanel b;
    a.Deliver(code, {0x41, 0x42, 0x43, 0x44, 0x08, 0xFF, 0x45, 0x46, 0x47});
    b.panel.replyFrame = a.panel.replyFrame;
    b.panel.replyFrame[0] = 0xFF;
    b.panel.replyFrame[1] = 0xA5;
    b.panel.DispatchReply();
    EXPECT_TRUE(Snapshot(a.panel) == Snapshot(b.panel)) << "code " << code;
  }
}

TEST(ReplyBytes, BytesNineToElevenOfLogRepliesAreNotRead) {
  for (int code : {5, 17, 21}) {
    ReplyPanel a;
    ReplyPanel b;
    a.Deliver(code, {0x10, 0x20, 0x30, 0x40, 8, 0x5A});
    b.Deliver(code, {0x10, 0x20, 0x30, 0x40, 8, 0x5A, 0xFF, 0xFF, 0xFF});
    EXPECT_TRUE(Snapshot(a.panel) == Snapshot(b.panel)) << "code " << code;
  }
}

}  // namespace
