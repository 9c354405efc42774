#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "link/failure.h"

// The application's profile: named integers and texts in named sections, kept
// between runs.
class Profile {
 public:
  virtual ~Profile() = default;

  virtual int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) = 0;
  // What was stored before stays intact when the value cannot be stored.
  virtual Outcome WriteProfileInt(std::string_view section, std::string_view key, int value) = 0;
  virtual std::optional<std::string> GetProfileString(std::string_view section,
                                                      std::string_view key) = 0;
};
