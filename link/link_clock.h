#pragma once

#include <cstdint>

// The time the link needs: a monotonic clock fine enough to time the line break, and a
// way to hold the thread until a moment without spinning on the clock.
class LinkClock {
 public:
  virtual ~LinkClock() = default;

  // Microseconds on a clock that never goes back (not the time of day).
  virtual int64_t MonotonicMicros() = 0;
  // Holds the thread until MonotonicMicros() reads at least `micros`. It may return
  // earlier (a signal); the caller looks at the clock again.
  virtual void SleepUntilMicros(int64_t micros) = 0;
};

// The system's monotonic clock (CLOCK_MONOTONIC), sleeping with clock_nanosleep.
class SystemLinkClock : public LinkClock {
 public:
  int64_t MonotonicMicros() override;
  void SleepUntilMicros(int64_t micros) override;
};
