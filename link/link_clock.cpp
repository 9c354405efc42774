#include "link/link_clock.h"

#include <ctime>

namespace {

constexpr int64_t kMicrosPerSecond = 1'000'000;
constexpr int64_t kNanosPerMicro = 1'000;

}  // namespace

int64_t SystemLinkClock::MonotonicMicros() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * kMicrosPerSecond + now.tv_nsec / kNanosPerMicro;
}

void SystemLinkClock::SleepUntilMicros(int64_t micros) {
  const timespec until{static_cast<time_t>(micros / kMicrosPerSecond),
                       static_cast<long>((micros % kMicrosPerSecond) * kNanosPerMicro)};
  // An interruption returns early; the caller's loop sleeps again.
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
}
