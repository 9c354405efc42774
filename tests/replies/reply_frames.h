#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "link/command_queue.h"
#include "link/frames.h"
#include "replies/dispatcher.h"
#include "replies/log_follower.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

// Replies as the link hands them on, and the state they are decoded into.

// A reply of the given code: bytes 0 and 1 are 0, the payload starts at byte 3 and the
// bytes it does not name are 0.
inline Frame ReplyFrame(int code, std::initializer_list<int> payload = {}) {
  Frame frame{};
  frame[2] = code;
  std::size_t index = 3;
  for (int byte : payload) frame[index++] = byte;
  return frame;
}

// An event record reply (5 or 21) with a 32-bit time sent least significant first.
inline Frame RecordFrame(int code, uint32_t time, int type, int bits = 0) {
  return ReplyFrame(
      code, {static_cast<int>(time & 0xFF), static_cast<int>((time >> 8) & 0xFF),
             static_cast<int>((time >> 16) & 0xFF), static_cast<int>(time >> 24), type, bits});
}

// Reply 17: the machine's log pointer, low byte first.
inline Frame LogPointerFrame(int pointer) {
  return ReplyFrame(17, {pointer & 0xFF, (pointer >> 8) & 0xFF});
}

// Keeps what is queued, in the order it was queued.
struct RecordingQueue : CommandQueue {
  void Queue(int32_t code) override { codes.push_back(code); }
  std::vector<int32_t> codes;
};

// A panel state after window creation (combo lists filled) and the log follower beside
// it, queueing on a recording queue: what DispatchReply decodes a reply into.
struct DecodeTarget {
  DecodeTarget() { panel.controls.FillComboLists(); }

  void Deliver(const Frame& reply) { DispatchReply(reply, panel, log); }

  std::vector<std::string> EventLines() const {
    return panel.controls.Find(ids::kEventList)->lines;
  }

  PanelState panel;
  RecordingQueue queue;
  LogFollower log{panel.controls, queue};
};
