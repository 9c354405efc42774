#include "replies/telemetry_history.h"

#include <stdexcept>

#include "replies/telemetry_text.h"

TelemetryRing::TelemetryRing(std::size_t capacity) : capacity_(capacity == 0 ? 1 : capacity) {
  // The whole day is reserved at once, so the ring never grows past it; its pages are
  // touched only as samples fill them.
  slots_.reserve(capacity_);
}

void TelemetryRing::Add(const TelemetrySample& sample) {
  if (slots_.size() < capacity_) {
    slots_.push_back(sample);
  } else {
    slots_[first_] = sample;
    first_ = (first_ + 1) % capacity_;
  }
  ++added_;
}

void TelemetryRing::Clear() {
  slots_.clear();  // keeps what was reserved
  first_ = 0;
}

const TelemetrySample& TelemetryRing::at(std::size_t index) const {
  if (index >= slots_.size()) throw std::out_of_range("TelemetryRing::at");
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
