#pragma once

#include <string>

class CKeloConfigurationDlg;

// The 18 lines of the settings report, each ending in CR LF.
std::string SettingsReport(const CKeloConfigurationDlg& panel);
