#include "link/link_health.h"

#include <algorithm>

void LinkHealth::Restart() {
  *this = LinkHealth();
}

void LinkHealth::ReplyComplete(int64_t nowMs) {
  ++counters_.complete;
  lastReplyMs_ = nowMs;
  Remember(true);
}

void LinkHealth::ReplyIncomplete(int received) {
  ++(received == 0 ? counters_.missing : counters_.shortReplies);
  Remember(false);
}

void LinkHealth::PortLost() {
  ++counters_.lost;
  Remember(false);
}

std::optional<int64_t> LinkHealth::msSinceLastReply(int64_t nowMs) const {
  if (!lastReplyMs_) return std::nullopt;
  return std::max<int64_t>(0, nowMs - *lastReplyMs_);
}

std::optional<double> LinkHealth::recentShare() const {
  if (recentCount_ == 0) return std::nullopt;
  const auto completes = std::count(recent_.begin(), recent_.begin() + recentCount_, true);
  return static_cast<double>(completes) / recentCount_;
}

void LinkHealth::Remember(bool complete) {
  recent_[static_cast<std::size_t>(recentNext_)] = complete;
  recentNext_ = (recentNext_ + 1) % kRecentRequests;
  recentCount_ = std::min(recentCount_ + 1, kRecentRequests);
  failuresInARow_ = complete ? 0 : failuresInARow_ + 1;
}
