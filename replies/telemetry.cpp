// Telemetry: the refrigeration readings (reply 25) and pressures (reply 27) shown in
// statics 1079..1087. Every text is rebuilt from the reply; the mains value and the
// output frequency are the ones the last reply 1 stored.

#include <string>

#include "replies/decoders.h"
#include "replies/reply_bytes.h"
#include "replies/telemetry_text.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

struct TemperatureField {
  int lowByte;
  int lineId;
  const char* label;
};

constexpr TemperatureField kTemperatures[] = {
    {3, ids::kEiLine, "Ei = "},
    {5, ids::kEoLine, "Eo = "},
    {7, ids::kCiLine, "Ci = "},
    {9, ids::kCoLine, "Co = "},
};

}  // namespace

void DecodeTemperatures(const Frame& reply, PanelState& panel) {
  TelemetryReadings& raw = panel.machine.telemetry;
  raw.ei = ReplySigned16(reply, 3);
  raw.eo = ReplySigned16(reply, 5);
  raw.ci = ReplySigned16(reply, 7);
  raw.co = ReplySigned16(reply, 9);
  raw.pwm = ReplyByte(reply, 11);
  for (const TemperatureField& field : kTemperatures) {
    const double value = TemperatureValue(ReplySigned16(reply, field.lowByte));
    panel.controls.SetText(field.lineId, field.label + MeasuredText(value));
  }
  const double pwm = PwmPercent(ReplyByte(reply, 11));
  panel.controls.SetText(ids::kPwmLine, "PWM = " + MeasuredText(pwm) + "%");
}

void DecodePressures(const Frame& reply, PanelState& panel) {
  panel.machine.telemetry.pHigh = ReplySigned16(reply, 3);
  panel.machine.telemetry.pLow = ReplySigned16(reply, 5);
  ControlModel& controls = panel.controls;
  const double high = PressureValue(ReplySigned16(reply, 3), kHighPressureRange);
  controls.SetText(ids::kPHighLine, "P_HIGH = " + MeasuredText(high) + " PSI");
  const double low = PressureValue(ReplySigned16(reply, 5), kLowPressureRange);
  controls.SetText(ids::kPLowLine, "P_LOW = " + MeasuredText(low) + " PSI");
  controls.SetText(ids::kMainsLine, "Mains Value = " + std::to_string(panel.machine.mainsValue));
  controls.SetText(ids::kOutputLine,
                   "OutPut = " + std::to_string(panel.machine.outputFrequency) + "Hz");
}
