#include "app/trend_quantities.h"

#include <array>

namespace {

// The mains value is a plain byte, 0..255, shown as it came.
double MainsValueOf(const TelemetrySample& sample) {
  return sample.mains;
}

// Evaporator lines in blues, condenser lines in warm colours; low and high pressure
// take the colours of the sides they belong to.
constexpr TrendLine kEi{"Ei", EiOf, 0x1f5fbf, 0x7fb2ff};
constexpr TrendLine kEo{"Eo", EoOf, 0x00758f, 0x4dd0e1};
constexpr TrendLine kCi{"Ci", CiOf, 0xc0392b, 0xff8a80};
constexpr TrendLine kCo{"Co", CoOf, 0xa35200, 0xffab40};

constexpr std::array kTemperatures = {kEi, kEo, kCi, kCo};
constexpr std::array kLowPressure = {TrendLine{"P_LOW", PLowOf, kEi.onLight, kEi.onDark}};
constexpr std::array kHighPressure = {TrendLine{"P_HIGH", PHighOf, kCi.onLight, kCi.onDark}};
constexpr std::array kPwm = {TrendLine{"PWM", PwmOf, 0x38761d, 0x8bd46e}};
constexpr std::array kMains = {TrendLine{"Mains", MainsValueOf, 0x8a5a2b, 0xd9b27f}};

// At full scale PWM by 20 % and mains by 51 share their grid lines, and both pressures
// read on the one scale of 0 to 250 PSI.
constexpr int kFifths = 6;
constexpr TrendAxis kHighPressureAxis{"P_HIGH PSI", kHighPressure, 0, 250, kFifths};
constexpr TrendAxis kMainsAxis{"Mains", kMains, 0, 255, kFifths};

constexpr std::array kCharts = {
    TrendChartDefinition{"Temperatures", {"°C", kTemperatures, -10, 40, kFifths}, nullptr},
    TrendChartDefinition{
        "Pressures", {"P_LOW PSI", kLowPressure, 0, 250, kFifths}, &kHighPressureAxis},
    TrendChartDefinition{"Compressor PWM and mains", {"PWM %", kPwm, 0, 100, kFifths}, &kMainsAxis},
};

}  // namespace

std::span<const TrendChartDefinition> TrendCharts() {
  return kCharts;
}
