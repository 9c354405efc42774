#include "app/trend_quantities.h"

#include <array>

namespace {

// The mains value is a plain byte, 0..255, shown as it came.
double MainsValueOf(const TelemetrySample& sample) {
  return sample.mains;
}

// Evaporator lines in blues, condenser lines in warm colours; low and high pressure
// take the colours of the sides they belong to.
constexpr QRgb kBlue = 0x1f5fbf;
constexpr QRgb kLightBlue = 0x5ba4e5;
constexpr QRgb kRed = 0xc0392b;
constexpr QRgb kOrange = 0xe69138;
constexpr QRgb kGreen = 0x38761d;
constexpr QRgb kBrown = 0x8e6c3a;

constexpr std::array kTemperatures = {
    TrendLine{"Ei", EiOf, kBlue},
    TrendLine{"Eo", EoOf, kLightBlue},
    TrendLine{"Ci", CiOf, kRed},
    TrendLine{"Co", CoOf, kOrange},
};
constexpr std::array kPressures = {
    TrendLine{"P_LOW", PLowOf, kBlue},
    TrendLine{"P_HIGH", PHighOf, kRed},
};
constexpr std::array kPwm = {TrendLine{"PWM", PwmOf, kGreen}};
constexpr std::array kMains = {TrendLine{"Mains", MainsValueOf, kBrown}};

// PWM by 20 % and mains by 51 share their grid lines.
constexpr int kFifths = 6;
constexpr TrendAxis kMainsAxis{"Mains", kMains, true, 0, 255, kFifths, "%.0f"};

constexpr std::array kCharts = {
    TrendChartDefinition{{"°C", kTemperatures, false, -10, 40, 0, "%g"}, nullptr},
    TrendChartDefinition{{"PSI", kPressures, false, 0, 250, 0, "%g"}, nullptr},
    TrendChartDefinition{{"PWM %", kPwm, true, 0, 100, kFifths, "%.0f"}, &kMainsAxis},
};

}  // namespace

std::span<const TrendChartDefinition> TrendCharts() {
  return kCharts;
}
