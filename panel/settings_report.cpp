// Save All: the panel's current settings as an 18-line text report. Made from the
// stored bound values and the controls alone; nothing is sent to the machine.

#include "panel/settings_report.h"

#include <optional>
#include <string>

#include "panel/saved_file.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

// A line feed inside a text is written as the file's line end, as text mode does.
std::string WithFileLineEnds(const std::string& text) {
  std::string written;
  for (char c : text) {
    if (c == '\n') {
      written += kFileLineEnd;
    } else {
      written += c;
    }
  }
  return written;
}

const char* Pick(bool condition, const char* whenTrue, const char* whenFalse) {
  return condition ? whenTrue : whenFalse;
}

}  // namespace

std::string SettingsReport(const PanelState& panel) {
  const ControlModel& c = panel.controls;
  const BoundValues& v = panel.values;
  auto checked = [&](int id) { return c.IsChecked(id); };
  const std::string lines[] = {
      "KELO CONFIGURATION SETTINGS",
      "***************************",
      "Machine Name = " + WithFileLineEnds(panel.machine.machineName),
      "Machine Address = " + std::to_string(v.calValue),
      "Retrig Timer = " + std::to_string(v.sHt),
      "BackStop Timer = " + std::to_string(v.tMin),
      "Run Timer = " + std::to_string(v.tMax),
      std::string("Input Polarity = ") +
          Pick(checked(ids::kPumpRunCheck), "Voltage Applied", "Voltage Removed"),
      std::string("Power Save = ") + Pick(checked(ids::kCompressorRunCheck), "On", "Off"),
      std::string("System Status = ") +
          Pick(checked(ids::kDmxIndicator), "System Ok", "System Fault"),
      std::string("Fluid Status = ") + Pick(checked(ids::kRdmIndicator), "Fluid Ok", "Fluid Low"),
      "Aux In = " + c.GetText(ids::kRunTimeCombo),
      std::string("Fault Suppress = ") + Pick(checked(ids::kFaultSuppressCheck), "On", "Off"),
      "Aux Out = " + c.GetText(ids::kLocalTempCombo) +
          Pick(checked(ids::kAuxOutNcCheck), "  N/C", "  N/O") +
          Pick(checked(ids::kAuxOutLatchingCheck), "  Latching", "  Non Latching"),
      "Main Fault = " + c.GetText(ids::kEvapFanCombo) +
          Pick(checked(ids::kMainFaultNcCheck), "  N/C ", "  N/O ") +
          Pick(checked(ids::kMainFaultLatchingCheck), " Latching", " Non Latching"),
      "Fan Control = " + c.GetText(ids::kPumpMaxCombo),
      "Trig Relay = " + c.GetText(ids::kPumpMinCombo) +
          Pick(checked(ids::kTrigRelayNcCheck), "  N/C ", "  N/O ") +
          Pick(checked(ids::kIdleEnableCheck), " Latching", " Non Latching"),
      Pick(checked(ids::kUsbSaiOffCheck), "USB SAI Off", "USB SAI on"),
  };
  std::string report;
  for (const std::string& line : lines) {
    report += line;
    report += kFileLineEnd;
  }
  return report;
}
