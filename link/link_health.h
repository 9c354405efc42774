#pragma once

#include <array>
#include <cstdint>
#include <optional>

// How well the line carries the machine's replies: what was sent, what came back, what
// did not, how the link last ended, and how the machine's clock stands against this PC's.
// The counters start again at each Connect; the totals run from the panel's start, so a
// lost port stays on record after the next Connect.
class LinkHealth {
 public:
  // Each request sent ends in exactly one of complete, shortReplies, missing, lost and
  // dropped, once its read tick has come.
  struct Counters {
    int64_t sent = 0;          // requests sent
    int64_t complete = 0;      // replies of all twelve bytes
    int64_t shortReplies = 0;  // replies cut short
    int64_t missing = 0;       // replies that never came
    int64_t lost = 0;          // ports lost while a reply was awaited
    int64_t dropped = 0;       // replies not read: the operator closed the port first
    int64_t unhandled = 0;     // complete replies whose code has no decoder
    int64_t acknowledged = 0;  // complete replies that acknowledge a command (4, 8, 14, …)
  };
  // How the link last ended, since the last Connect.
  enum class End { kNone, kClosed, kLost };

  // Connect: the counters, the share and the clock start from nothing.
  void Restart();
  void Opened(int64_t nowMs) { openedMs_ = nowMs; }
  // The operator closed the port.
  void Closed() { end_ = End::kClosed; }

  void RequestSent() { Count(&Counters::sent); }
  void ReplyComplete(int64_t nowMs);
  // A read tick found `received` bytes of twelve.
  void ReplyIncomplete(int received);
  // A read tick found the port gone.
  void PortLost(int64_t nowMs);
  // A reply still awaited when the operator closed the port: not the line's fault, so it
  // is left out of the share.
  void ReplyDropped() { Count(&Counters::dropped); }
  void UnhandledCode() { Count(&Counters::unhandled); }
  void Acknowledged() { Count(&Counters::acknowledged); }
  // The machine's clock minus this PC's, in seconds, at a clock reply.
  void ClockMeasured(int64_t offsetSeconds) { clockOffset_ = offsetSeconds; }

  const Counters& counters() const { return counters_; }
  const Counters& totals() const { return totals_; }
  // Requests sent since Connect whose reply has been read, short, missing or lost.
  int64_t answerable() const;
  std::optional<int64_t> msSinceLastReply(int64_t nowMs) const;
  // Since the last complete reply, or since the port opened when none has come.
  std::optional<int64_t> msWithoutReply(int64_t nowMs) const;
  // Complete replies among the last 50 requests that have an outcome, 0..1; a request
  // still awaited is not counted. Nothing before the first read tick.
  std::optional<double> recentShare() const;
  int recentCount() const { return recentCount_; }
  std::optional<int64_t> clockOffset() const { return clockOffset_; }
  End end() const { return end_; }
  std::optional<int64_t> msSinceLost(int64_t nowMs) const;
  // The link counts as live when it is open and not the last three requests have gone
  // without a complete reply.
  bool Live(bool open) const { return open && failuresInARow_ < kFailuresBeforeStale; }

 private:
  static constexpr int kRecentRequests = 50;
  static constexpr int kFailuresBeforeStale = 3;

  void Count(int64_t Counters::*field);
  void Remember(bool complete);

  Counters counters_;
  Counters totals_;
  std::optional<int64_t> lastReplyMs_;
  std::optional<int64_t> openedMs_;
  std::optional<int64_t> lostMs_;
  std::optional<int64_t> clockOffset_;
  End end_ = End::kNone;
  std::array<bool, kRecentRequests> recent_{};
  int recentCount_ = 0;  // how many of recent_ hold an outcome
  int recentNext_ = 0;   // where the next outcome goes
  int failuresInARow_ = 0;
};
