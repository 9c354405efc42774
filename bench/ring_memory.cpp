// Peak resident memory of a day of telemetry: the ring's fixed cost (capacity x the
// size of one sample) is reserved at construction and filled as samples come; feeding
// it a day of samples and more, so that it wraps, must not grow memory beyond that
// plus 10 %.
//
// Prints one line of kB figures; says within_limit=no and exits 1 when the growth
// exceeds the bound.

#include <sys/resource.h>

#include <cstdio>

#include "replies/telemetry_history.h"

namespace {

constexpr std::size_t kExtraPasses = 1000;
constexpr double kAllowance = 1.10;

long PeakResidentKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;  // kB on Linux
}

}  // namespace

int main() {
  const long before = PeakResidentKb();
  TelemetryRing ring;
  TelemetrySample sample;
  for (std::size_t pass = 0; pass < ring.capacity() + kExtraPasses; ++pass) {
    sample.pcTimeMs += 1680;
    sample.pwm = static_cast<uint8_t>(pass);
    ring.Add(sample);
  }
  const long after = PeakResidentKb();

  const std::size_t fixedBytes = ring.capacity() * sizeof(TelemetrySample);
  const double limitKb = static_cast<double>(fixedBytes) / 1024.0 * kAllowance;
  const long growth = after - before;
  const bool within = static_cast<double>(growth) <= limitKb;
  std::printf(
      "kelo-ring-memory capacity=%zu added=%llu sample_bytes=%zu fixed_kb=%.1f "
      "peak_before_kb=%ld peak_after_kb=%ld growth_kb=%ld limit_kb=%.1f within_limit=%s\n",
      ring.capacity(), static_cast<unsigned long long>(ring.added()), sizeof(TelemetrySample),
      static_cast<double>(fixedBytes) / 1024.0, before, after, growth, limitKb,
      within ? "yes" : "no");
  return within ? 0 : 1;
}
