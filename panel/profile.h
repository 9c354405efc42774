#pragma once

#include <optional>
#include <string>
#include <string_view>

// The application's profile: named integers and texts in named sections, kept
// between runs.
class Profile {
 public:
  virtual ~Profile() = default;

  virtual int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) = 0;
  // Nothing when the value was stored, otherwise the reason; what was stored before
  // stays intact.
  virtual std::optional<std::string> WriteProfileInt(std::string_view section, std::string_view key,
                                                     int value) = 0;
  virtual std::optional<std::string> GetProfileString(std::string_view section,
                                                      std::string_view key) = 0;
};
