#pragma once

#include <string>

struct PanelState;

// The 18 lines of the settings report, each ending in CR LF.
std::string SettingsReport(const PanelState& panel);
