#include "app/trend_readout.h"

#include <string>

#include "replies/sample_gaps.h"
#include "replies/telemetry_history.h"
#include "replies/telemetry_text.h"
#include "replies/time_text.h"

namespace {

// Whole seconds of the PC's clock, rounded down for times before 1970 as well.
int64_t SecondsOf(int64_t ms) {
  return ms / 1000 - (ms % 1000 < 0 ? 1 : 0);
}

// "37 s", "2 min 5 s", "3 h 12 min": as precise as a reader of a gap needs.
std::string DurationText(int64_t ms) {
  const int64_t seconds = ms / 1000;
  if (seconds < 60) return std::to_string(seconds) + " s";
  if (seconds < 3600) {
    return std::to_string(seconds / 60) + " min " + std::to_string(seconds % 60) + " s";
  }
  return std::to_string(seconds / 3600) + " h " + std::to_string(seconds % 3600 / 60) + " min";
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

QString GapReadout(const SampleGap& gap) {
  std::string text = "Then no sample for " + DurationText(gap.toMs - gap.fromMs);
  if (gap.causes != 0) text += ": " + InterruptionNames(gap.causes);
  return QString::fromStdString(text);
}
