#include "app/trend_readout.h"

#include <string>

#include "replies/telemetry_history.h"
#include "replies/telemetry_text.h"
#include "replies/time_text.h"

namespace {

// Whole seconds of the PC's clock, rounded down for times before 1970 as well.
int64_t SecondsOf(int64_t ms) {
  return ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
}

}  // namespace

QString SampleReadout(const TelemetrySample& sample) {
  const int64_t seconds = SecondsOf(sample.pcTimeMs);
  std::string text = FormatTime(seconds, "%x") + " " + FormatTime(seconds, "%X");
  text += "    Ei = " + MeasuredText(EiOf(sample));
  text += "   Eo = " + MeasuredText(EoOf(sample));
  text += "   Ci = " + MeasuredText(CiOf(sample));
  text += "   Co = " + MeasuredText(CoOf(sample));
  text += "\nP_LOW = " + MeasuredText(PLowOf(sample)) + " PSI";
  text += "   P_HIGH = " + MeasuredText(PHighOf(sample)) + " PSI";
  text += "   PWM = " + MeasuredText(PwmOf(sample)) + "%";
  text += "   Mains Value = " + std::to_string(sample.mains);
  return QString::fromStdString(text);
}
