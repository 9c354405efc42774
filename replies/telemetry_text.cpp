#include "replies/telemetry_text.h"

#include <charconv>
#include <cmath>

namespace {

constexpr double kTemperatureScale = 0.25;
constexpr double kPwmFull = 255.0;
constexpr double kPercent = 100.0;
constexpr double kPressureOffset = 82.0;
constexpr double kPressureSpan = 655.0;
constexpr int kDecimals = 2;
constexpr std::size_t kMinimumWidth = 4;

}  // namespace

double TemperatureValue(int16_t raw) {
  const float reading = raw;
  return reading * kTemperatureScale;
}

double PwmPercent(uint8_t raw) {
  const int reading = raw;
  return reading * kPercent / kPwmFull;
}

double PressureValue(int16_t raw, double range) {
  const float reading = raw;
  return (reading - kPressureOffset) / kPressureSpan * range;
}

std::string MeasuredText(double value) {
  // to_chars never consults the locale; printf would take the decimal separator from
  // LC_NUMERIC, which the toolkit may have set.
  char digits[64];
  const auto [end, error] =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, kDecimals);
  if (error != std::errc()) return {};
  std::string text;
  if (!std::signbit(value)) text += '+';
  text.append(digits, end);
  if (text.size() < kMinimumWidth) text.insert(0, kMinimumWidth - text.size(), ' ');
  return text;
}
