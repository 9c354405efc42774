#pragma once

#include <array>
#include <cstdint>
#include <optional>

// How well the line carries the machine's replies, since the last Connect: what was
// sent, what came back, what did not, and how the machine's clock stands against this
// PC's.
class LinkHealth {
 public:
  struct Counters {
    int64_t sent = 0;          // requests sent
    int64_t complete = 0;      // replies of all twelve bytes
    int64_t shortReplies = 0;  // replies cut short
    int64_t missing = 0;       // replies that never came
    int64_t lost = 0;          // ports lost
    int64_t unhandled = 0;     // complete replies whose code has no decoder
  };

  // Connect: everything starts from nothing.
  void Restart();

  void RequestSent() { ++counters_.sent; }
  void ReplyComplete(int64_t nowMs);
  // A read tick found `received` bytes of twelve.
  void ReplyIncomplete(int received);
  void PortLost();
  void UnhandledCode() { ++counters_.unhandled; }
  // The machine's clock minus this PC's, in seconds, at a clock reply.
  void ClockMeasured(int64_t offsetSeconds) { clockOffset_ = offsetSeconds; }

  const Counters& counters() const { return counters_; }
  std::optional<int64_t> msSinceLastReply(int64_t nowMs) const;
  // Complete replies among the last 50 requests answered or not, 0..1; nothing before
  // the first read tick.
  std::optional<double> recentShare() const;
  std::optional<int64_t> clockOffset() const { return clockOffset_; }
  // The link counts as live when it is open and not the last three requests have gone
  // without a complete reply.
  bool Live(bool open) const { return open && failuresInARow_ < kFailuresBeforeStale; }

 private:
  static constexpr int kRecentRequests = 50;
  static constexpr int kFailuresBeforeStale = 3;

  void Remember(bool complete);

  Counters counters_;
  std::optional<int64_t> lastReplyMs_;
  std::optional<int64_t> clockOffset_;
  std::array<bool, kRecentRequests> recent_{};
  int recentCount_ = 0;  // how many of recent_ hold an outcome
  int recentNext_ = 0;   // where the next outcome goes
  int failuresInARow_ = 0;
};
