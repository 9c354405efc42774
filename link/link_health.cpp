#include "link/link_health.h"

#include <algorithm>

void LinkHealth::Restart() {
  const Counters totals = totals_;
  *this = LinkHealth();
  totals_ = totals;
}

void LinkHealth::Count(int64_t Counters::*field) {
  ++(counters_.*field);
  ++(totals_.*field);
}

void LinkHealth::ReplyComplete(int64_t nowMs) {
  Count(&Counters::complete);
  lastReplyMs_ = nowMs;
  Remember(true);
}

void LinkHealth::ReplyIncomplete(int received) {
  Count(received == 0 ? &Counters::missing : &Counters::shortReplies);
  Remember(false);
}

void LinkHealth::PortLost(int64_t nowMs) {
  Count(&Counters::lost);
  lostMs_ = nowMs;
  end_ = End::kLost;
  Remember(false);
}

int64_t LinkHealth::answerable() const {
  return counters_.complete + counters_.shortReplies + counters_.missing + counters_.lost;
}

std::optional<int64_t> LinkHealth::msSinceLastReply(int64_t nowMs) const {
  if (!lastReplyMs_) return std::nullopt;
  return std::max<int64_t>(0, nowMs - *lastReplyMs_);
}

std::optional<int64_t> LinkHealth::msWithoutReply(int64_t nowMs) const {
  const std::optional<int64_t> since = lastReplyMs_ ? lastReplyMs_ : openedMs_;
  if (!since) return std::nullopt;
  return std::max<int64_t>(0, nowMs - *since);
}

std::optional<int64_t> LinkHealth::msSinceLost(int64_t nowMs) const {
  if (!lostMs_) return std::nullopt;
  return std::max<int64_t>(0, nowMs - *lostMs_);
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
