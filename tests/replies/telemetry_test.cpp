#include <gtest/gtest.h>
#include <locale.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>

#include "replies/telemetry_text.h"
#include "reply_frames.h"

namespace {

struct TextCase {
  int code;
  std::array<int, 9> payload;
  int lineId;
  const char* expected;
};

class TelemetryReply : public ::testing::TestWithParam<TextCase> {};

TEST_P(TelemetryReply, ShowsValueText) {
  const TextCase& c = GetParam();
  DecodeTarget t;
  const auto& b = c.payload;
  t.Deliver(ReplyFrame(c.code, {b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8]}));
  EXPECT_EQ(t.panel.controls.GetText(c.lineId), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Extremes, TelemetryReply,
    ::testing::Values(TextCase{25, {0, 0}, 1079, "Ei = +0.00"},
                      TextCase{25, {0xFF, 0xFF}, 1079, "Ei = -0.25"},
                      TextCase{25, {0x64, 0}, 1079, "Ei = +25.00"},
                      TextCase{25, {0, 0x80}, 1079, "Ei = -8192.00"},
                      TextCase{25, {0xFF, 0x7F}, 1079, "Ei = +8191.75"},
                      TextCase{25, {0, 0, 0x01, 0x80}, 1080, "Eo = -8191.75"},
                      TextCase{25, {0, 0, 0, 0, 0xFE, 0xFF}, 1081, "Ci = -0.50"},
                      TextCase{25, {0, 0, 0, 0, 0, 0, 0x03, 0}, 1082, "Co = +0.75"},
                      TextCase{25, {0, 0, 0, 0, 0, 0, 0, 0, 0}, 1083, "PWM = +0.00%"},
                      TextCase{25, {0, 0, 0, 0, 0, 0, 0, 0, 128}, 1083, "PWM = +50.20%"},
                      TextCase{25, {0, 0, 0, 0, 0, 0, 0, 0, 255}, 1083, "PWM = +100.00%"},
                      TextCase{25, {0, 0, 0, 0, 0, 0, 0, 0, 1}, 1083, "PWM = +0.39%"},
                      TextCase{27, {82, 0}, 1085, "P_HIGH = +0.00 PSI"},
                      TextCase{27, {0xE1, 0x02}, 1085, "P_HIGH = +500.00 PSI"},
                      TextCase{27, {0, 0}, 1085, "P_HIGH = -62.60 PSI"},
                      TextCase{27, {0, 0x80}, 1085, "P_HIGH = -25076.34 PSI"},
                      TextCase{27, {0xFF, 0x7F}, 1085, "P_HIGH = +24950.38 PSI"},
                      TextCase{27, {81, 0}, 1085, "P_HIGH = -0.76 PSI"},
                      TextCase{27, {0, 0, 0xE1, 0x02}, 1084, "P_LOW = +150.00 PSI"},
                      TextCase{27, {0, 0, 0, 0}, 1084, "P_LOW = -18.78 PSI"},
                      TextCase{27, {0, 0, 81, 0}, 1084, "P_LOW = -0.23 PSI"},
                      TextCase{27, {0, 0, 0, 0x80}, 1084, "P_LOW = -7522.90 PSI"},
                      TextCase{27, {0, 0, 0xFF, 0x7F}, 1084, "P_LOW = +7485.11 PSI"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST(TelemetryPressureReply, ShowsMainsAndOutputFromTheLastStatusReply) {
  DecodeTarget t;
  t.Deliver(ReplyFrame(27));
  EXPECT_EQ(t.panel.controls.GetText(ids::kMainsLine), "Mains Value = 0");
  EXPECT_EQ(t.panel.controls.GetText(ids::kOutputLine), "OutPut = 0Hz");
  t.Deliver(ReplyFrame(1, {0, 0, 0, 255, 0, 231}));
  t.Deliver(ReplyFrame(27));
  EXPECT_EQ(t.panel.controls.GetText(ids::kMainsLine), "Mains Value = 231");
  EXPECT_EQ(t.panel.controls.GetText(ids::kOutputLine), "OutPut = 85Hz");
}

TEST(TelemetryPressureReply, LeavesTemperatureLinesAloneAndViceVersa) {
  DecodeTarget t;
  const ControlModel& controls = t.panel.controls;
  t.Deliver(ReplyFrame(25, {4, 0, 8, 0, 12, 0, 16, 0, 51}));
  t.Deliver(ReplyFrame(27, {0xE1, 0x02, 0xE1, 0x02}));
  EXPECT_EQ(controls.GetText(ids::kEiLine), "Ei = +1.00");
  EXPECT_EQ(controls.GetText(ids::kEoLine), "Eo = +2.00");
  EXPECT_EQ(controls.GetText(ids::kCiLine), "Ci = +3.00");
  EXPECT_EQ(controls.GetText(ids::kCoLine), "Co = +4.00");
  EXPECT_EQ(controls.GetText(ids::kPwmLine), "PWM = +20.00%");
  const std::string mains = controls.GetText(ids::kMainsLine);
  t.Deliver(ReplyFrame(25));
  EXPECT_EQ(controls.GetText(ids::kPHighLine), "P_HIGH = +500.00 PSI");
  EXPECT_EQ(controls.GetText(ids::kPLowLine), "P_LOW = +150.00 PSI");
  EXPECT_EQ(controls.GetText(ids::kMainsLine), mains);
}

// printf's "%+4.2f" in the C locale, of the value computed as the machine's tool does:
// the reading held as a float, the rest in double precision in the order written.
std::string CReference(double value) {
  const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  const locale_t previous = uselocale(c);
  char text[64];
  std::snprintf(text, sizeof text, "%+4.2f", value);
  uselocale(previous);
  freelocale(c);
  return text;
}

TEST(MeasuredText, EqualsCLocalePrintfForEveryRawValue) {
  int mismatches = 0;
  for (int raw = -32768; raw <= 32767; ++raw) {
    const float reading = static_cast<float>(raw);
    const auto r16 = static_cast<int16_t>(raw);
    const std::pair<double, double> pairs[] = {
        {TemperatureValue(r16), static_cast<double>(reading) * 0.25},
        {PressureValue(r16, kHighPressureRange),
         (static_cast<double>(reading) - 82.0) / 655.0 * 500.0},
        {PressureValue(r16, kLowPressureRange),
         (static_cast<double>(reading) - 82.0) / 655.0 * 150.0},
    };
    for (const auto& [ours, reference] : pairs) {
      if (MeasuredText(ours) != CReference(reference)) {
        if (++mismatches < 10)
          ADD_FAILURE() << "raw " << raw << ": " << MeasuredText(ours) << " vs "
                        << CReference(reference);
      }
    }
  }
  for (int raw = 0; raw <= 255; ++raw) {
    const std::string reference = CReference(raw * 100.0 / 255.0);
    if (MeasuredText(PwmPercent(static_cast<uint8_t>(raw))) != reference) {
      ++mismatches;
      ADD_FAILURE() << "PWM " << raw << " vs " << reference;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(MeasuredText, KeepsSignOfNegativeZeroAndItsWidth) {
  EXPECT_EQ(MeasuredText(-0.001), CReference(-0.001));
  EXPECT_EQ(MeasuredText(-0.0), CReference(-0.0));
  EXPECT_EQ(MeasuredText(0.005), CReference(0.005));
  EXPECT_EQ(MeasuredText(0.015), CReference(0.015));
}

}  // namespace
