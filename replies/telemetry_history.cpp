#include "replies/telemetry_history.h"

#include <stdexcept>

#include "replies/telemetry_text.h"

TelemetryRing::TelemetryRing(std::size_t capacity) : slots_(capacity == 0 ? 1 : capacity) {}

void TelemetryRing::Add(const TelemetrySample& sample) {
  const std::size_t slot = (first_ + size_) % slots_.size();
  slots_[slot] = sample;
  if (size_ < slots_.size()) {
    ++size_;
  } else {
    first_ = (first_ + 1) % slots_.size();
  }
  ++added_;
}

void TelemetryRing::Clear() {
  first_ = 0;
  size_ = 0;
}

const TelemetrySample& TelemetryRing::at(std::size_t index) const {
  if (index >= size_) throw std::out_of_range("TelemetryRing::at");
  return slots_[(first_ + index) % slots_.size()];
}

double EiOf(const TelemetrySample& sample) {
  return TemperatureValue(sample.ei);
}
double EoOf(const TelemetrySample& sample) {
  return TemperatureValue(sample.eo);
}
double CiOf(const TelemetrySample& sample) {
  return TemperatureValue(sample.ci);
}
double CoOf(const TelemetrySample& sample) {
  return TemperatureValue(sample.co);
}
double PwmOf(const TelemetrySample& sample) {
  return PwmPercent(sample.pwm);
}
double PLowOf(const TelemetrySample& sample) {
  return PressureValue(sample.pLow, kLowPressureRange);
}
double PHighOf(const TelemetrySample& sample) {
  return PressureValue(sample.pHigh, kHighPressureRange);
}
