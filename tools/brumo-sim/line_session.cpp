#include "tools/brumo-sim/line_session.h"

#include <utility>

namespace sim {

LineSession::LineSession(BrumoMachine& machine, const ReplyFaults& faults, Logger log)
    : machine_(machine), faults_(faults), log_(std::move(log)) {}

void LineSession::Receive(const uint8_t* data, std::size_t size, int64_t nowMs) {
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t droppedBefore = framer_.Dropped();
    const std::optional<Frame> request = framer_.Feed(data[i], nowMs);
    if (framer_.Dropped() != droppedBefore)
      Log("dropped " + std::to_string(framer_.Dropped() - droppedBefore) +
          " bytes of an unfinished request");
    if (request) OnRequest(*request, nowMs);
  }
}

void LineSession::OnRequest(const Frame& request, int64_t nowMs) {
  Log("request " + std::to_string(request[kCodeByte]) + ": " + HexText(request));
  if (pending_) Log("reply superseded before it was sent");
  pending_.reset();
  Bytes bytes = ShapeReply(machine_.Answer(request), faults_);
  if (bytes.empty()) return;
  pending_ = PendingReply{nowMs + faults_.delayMs, std::move(bytes)};
}

Bytes LineSession::TakeDue(int64_t nowMs) {
  if (!pending_ || nowMs < pending_->dueMs) return {};
  Bytes bytes = std::move(pending_->bytes);
  pending_.reset();
  Log("reply: " + HexText(bytes));
  return bytes;
}

std::optional<int64_t> LineSession::NextDueMs() const {
  if (!pending_) return std::nullopt;
  return pending_->dueMs;
}

void LineSession::Log(const std::string& line) const {
  if (log_) log_(line);
}

}  // namespace sim
