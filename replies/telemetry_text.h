#pragma once

#include <cstdint>
#include <string>

// Conversions of the refrigeration readings and the text every measured value is shown
// with. The arithmetic order is fixed: the signed reading held as a float, then double
// precision operations in the order written, so the last digit matches the machine's
// own tool.

double TemperatureValue(int16_t raw);             // raw x 0.25
double PwmPercent(uint8_t raw);                   // raw x 100 / 255
double PressureValue(int16_t raw, double range);  // (raw - 82) / 655 x range

inline constexpr double kHighPressureRange = 500.0;
inline constexpr double kLowPressureRange = 150.0;

// The value as printf's "%+4.2f" gives it in the C locale, whatever locale the process
// runs in: sign always shown, two decimals, a point as the decimal separator.
std::string MeasuredText(double value);
