#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The machine's running measurements over time: one sample per poll pass that brought
// temperatures, pressures and status, kept in a ring of fixed size so that a day of
// polling costs a fixed amount of memory.

// One poll pass: the readings as the machine sent them, so that every value shown or
// exported later is converted exactly as the panel converts it on screen.
struct TelemetrySample {
  int64_t pcTimeMs = 0;      // this PC's clock, milliseconds since 1970-01-01 UTC
  int64_t machineClock = 0;  // the machine's clock as last received, seconds since 1970
  int16_t ei = 0, eo = 0, ci = 0, co = 0;  // temperatures, raw (quarter degrees)
  int16_t pLow = 0, pHigh = 0;             // pressures, raw
  uint8_t pwm = 0;                         // compressor PWM, raw (255 = 100 %)
  uint8_t fogStatus = 0;                   // fog status byte
  uint8_t mains = 0;                       // mains value, 0..255
  uint8_t outputHz = 0;                    // inverter output, 0..85 Hz
};

// The sample's values in the panel's units (deg C, per cent, PSI).
double EiOf(const TelemetrySample& sample);
double EoOf(const TelemetrySample& sample);
double CiOf(const TelemetrySample& sample);
double CoOf(const TelemetrySample& sample);
double PwmOf(const TelemetrySample& sample);
double PLowOf(const TelemetrySample& sample);
double PHighOf(const TelemetrySample& sample);

// Samples oldest first; when full, each new sample replaces the oldest. The storage is
// taken once, at construction.
class TelemetryRing {
 public:
  // 24 hours of one sample per poll pass of 1.68 s.
  static constexpr std::size_t kDayOfSamples = 51'429;

  explicit TelemetryRing(std::size_t capacity = kDayOfSamples);

  void Add(const TelemetrySample& sample);
  void Clear();

  std::size_t size() const { return slots_.size(); }
  std::size_t capacity() const { return capacity_; }
  bool empty() const { return slots_.empty(); }
  // 0 is the oldest sample held, size() - 1 the newest.
  const TelemetrySample& at(std::size_t index) const;
  const TelemetrySample& newest() const { return at(size() - 1); }
  // Samples added since construction, including those the ring has dropped; lets a
  // reader tell which samples are new since it last looked.
  uint64_t added() const { return added_; }

 private:
  std::size_t capacity_;
  std::vector<TelemetrySample> slots_;
  std::size_t first_ = 0;  // the oldest sample's slot once the ring is full
  uint64_t added_ = 0;
};
