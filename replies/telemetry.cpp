// Telemetry: the refrigeration readings (reply 25) and pressures (reply 27) shown in
// statics 1079..1087. Every text is rebuilt from the reply; the mains value and the
// output frequency are the ones the last reply 1 stored.

#include <string>

#include "panel/panel_dialog.h"
#include "replies/reply_bytes.h"
#include "replies/telemetry_text.h"

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

void CKeloConfigurationDlg::OnTemperatureReply() {
  for (const TemperatureField& field : kTemperatures) {
    const double value = TemperatureValue(ReplySigned16(replyFrame, field.lowByte));
    controls_.SetText(field.lineId, field.label + MeasuredText(value));
  }
  const double pwm = PwmPercent(ReplyByte(replyFrame, 11));
  controls_.SetText(ids::kPwmLine, "PWM = " + MeasuredText(pwm) + "%");
}

void CKeloConfigurationDlg::OnPressureReply() {
  const double high = PressureValue(ReplySigned16(replyFrame, 3), kHighPressureRange);
  controls_.SetText(ids::kPHighLine, "P_HIGH = " + MeasuredText(high) + " PSI");
  const double low = PressureValue(ReplySigned16(replyFrame, 5), kLowPressureRange);
  controls_.SetText(ids::kPLowLine, "P_LOW = " + MeasuredText(low) + " PSI");
  controls_.SetText(ids::kMainsLine, "Mains Value = " + std::to_string(mainsValue));
  controls_.SetText(ids::kOutputLine, "OutPut = " + std::to_string(outputFrequency) + "Hz");
}
