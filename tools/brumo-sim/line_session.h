#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tools/brumo-sim/frame.h"
#include "tools/brumo-sim/frame_assembler.h"
#include "tools/brumo-sim/machine.h"
#include "tools/brumo-sim/reply_faults.h"

namespace sim {

// The machine's side of the line, without the I/O: bytes in, timed reply bytes out.
// One transaction at a time: a request that arrives while an earlier reply is still
// being prepared supersedes it, as the panel has given up on that reply by then.
class LineSession {
 public:
  using Logger = std::function<void(const std::string&)>;

  LineSession(BrumoMachine& machine, const ReplyFaults& faults, Logger log = {});

  void Receive(const uint8_t* data, std::size_t size, int64_t nowMs);
  // The bytes to put on the line at nowMs, if a reply has come due.
  Bytes TakeDue(int64_t nowMs);
  // When the pending reply is due, if one is pending.
  std::optional<int64_t> NextDueMs() const;

 private:
  struct PendingReply {
    int64_t dueMs;
    Bytes bytes;
  };

  void OnRequest(const Frame& request, int64_t nowMs);
  void Log(const std::string& line) const;

  BrumoMachine& machine_;
  ReplyFaults faults_;
  Logger log_;
  FrameAssembler framer_;
  std::optional<PendingReply> pending_;
};

}  // namespace sim
