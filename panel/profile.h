#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/failure.h"

struct ProfileEntry {
  std::string key;
  std::string value;
};

// The application's profile: named integers and texts in named sections, kept
// between runs.
class Profile {
 public:
  virtual ~Profile() = default;

  virtual int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) = 0;
  // What was stored before stays intact when the value cannot be stored.
  virtual Outcome WriteProfileInt(std::string_view section, std::string_view key, int value) = 0;
  virtual Outcome WriteProfileString(std::string_view section, std::string_view key,
                                     std::string_view value) = 0;
  virtual std::optional<std::string> GetProfileString(std::string_view section,
                                                      std::string_view key) = 0;
  // The section's keys with their values, in the order they are kept.
  virtual std::vector<ProfileEntry> GetProfileSection(std::string_view section) = 0;
};
