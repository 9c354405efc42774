// PLACEHOLDER (branch app only): keeps values in memory and writes no file, until the
// real INI profile is merged; drop this file and panel/ini_profile.h at merge.

#include <charconv>
#include <utility>

#include "panel/ini_profile.h"

namespace {

std::string KeyOf(std::string_view section, std::string_view key) {
  return std::string(section) + "/" + std::string(key);
}

}  // namespace

IniFileProfile::IniFileProfile(std::string path) : path_(std::move(path)) {}

int IniFileProfile::GetProfileInt(std::string_view section, std::string_view key,
                                  int defaultValue) {
  const auto found = values_.find(KeyOf(section, key));
  if (found == values_.end()) return defaultValue;
  int value = defaultValue;
  const std::string& text = found->second;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

bool IniFileProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  values_[KeyOf(section, key)] = std::to_string(value);
  return true;
}

std::optional<std::string> IniFileProfile::GetProfileString(std::string_view section,
                                                            std::string_view key) {
  const auto found = values_.find(KeyOf(section, key));
  if (found == values_.end()) return std::nullopt;
  return found->second;
}

std::string UserProfilePath(const char* xdgConfigHome, const char* home) {
  const std::string name = "/kelo-configuration.ini";
  if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') return xdgConfigHome + name;
  return std::string(home != nullptr ? home : "") + "/.config" + name;
}
