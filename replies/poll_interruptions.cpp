#include "replies/poll_interruptions.h"

#include <stdexcept>

namespace {

constexpr struct {
  Interruption why;
  const char* name;
} kNames[] = {
    {Interruption::kGetAll, "Get All"},
    {Interruption::kClosed, "Closed"},
    {Interruption::kPortLost, "Port lost"},
    {Interruption::kNoReplies, "No replies"},
};

}  // namespace

std::string InterruptionNames(Interruptions causes) {
  std::string names;
  for (const auto& entry : kNames) {
    if ((causes & BitOf(entry.why)) == 0) continue;
    if (!names.empty()) names += ", ";
    names += entry.name;
  }
  return names.empty() ? "No samples" : names;
}

PollInterruptions::PollInterruptions() {
  spans_.reserve(kKept);
}

void PollInterruptions::Note(std::optional<Interruption> why, int64_t nowMs) {
  const std::optional<Interruption> before = current();
  if (why == before) return;
  if (before) spans_[NewestSlot()].toMs = nowMs;
  if (!why) return;
  const InterruptionSpan span{*why, nowMs, InterruptionSpan::kOngoing};
  if (spans_.size() < kKept) {
    spans_.push_back(span);
  } else {
    spans_[first_] = span;
    first_ = (first_ + 1) % kKept;
  }
}

std::optional<Interruption> PollInterruptions::current() const {
  if (spans_.empty()) return std::nullopt;
  const InterruptionSpan& newest = spans_[NewestSlot()];
  if (newest.toMs != InterruptionSpan::kOngoing) return std::nullopt;
  return newest.why;
}

const InterruptionSpan& PollInterruptions::at(std::size_t index) const {
  if (index >= spans_.size()) throw std::out_of_range("PollInterruptions::at");
  return spans_[(first_ + index) % spans_.size()];
}

Interruptions PollInterruptions::Within(int64_t fromMs, int64_t toMs) const {
  // Spans follow one another in time, so the first that ends after fromMs is found by
  // halving; should the PC's clock have stepped back, a span may be missed, never invented.
  std::size_t low = 0;
  std::size_t high = size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    if (at(middle).toMs <= fromMs) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  Interruptions causes = 0;
  for (std::size_t index = low; index < size() && at(index).fromMs < toMs; ++index) {
    if (at(index).toMs > fromMs) causes |= BitOf(at(index).why);
  }
  return causes;
}
