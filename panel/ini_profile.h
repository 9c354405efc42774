#pragma once

// PLACEHOLDER (branch app only): stands in for the real INI profile until it is
// merged; drop this header and app/ini_profile_placeholder.cpp at merge.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "panel/profile.h"

class IniFileProfile : public Profile {
 public:
  explicit IniFileProfile(std::string path);

  int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
  bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  std::optional<std::string> GetProfileString(std::string_view section,
                                              std::string_view key) override;

 private:
  std::string path_;
  std::map<std::string, std::string> values_;  // "Section/Key" -> text, memory only
};

// $XDG_CONFIG_HOME/kelo-configuration.ini, or ~/.config/kelo-configuration.ini.
std::string UserProfilePath(const char* xdgConfigHome, const char* home);
