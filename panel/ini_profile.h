#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "panel/profile.h"

// The profile file of the current user: $XDG_CONFIG_HOME/kelo-configuration.ini, or
// ~/.config/kelo-configuration.ini when that variable is unset, empty or relative.
// The environment values are passed in; an empty result means there is no home to
// keep the file in.
std::string ProfilePathFor(std::optional<std::string_view> xdgConfigHome,
                           std::optional<std::string_view> home);
// The same, from this process's environment (and the password database when HOME
// is unset).
std::string ProfilePathFromEnvironment();

// A profile value as the Windows profile functions read it: blanks, an optional sign,
// then digits (0x for hex), up to the first other character. A value with no digits
// or outside the int range is not a number.
std::optional<int> ParseProfileInt(std::string_view text);

// The profile in an INI file, written as the Windows tool wrote it ("[Kelo Config]",
// "Comm Port=1"), so a file can be carried over. Sections and keys are found without
// regard to case. The file is read on every call, as the Windows functions do. A
// missing, unreadable, malformed or oversized file reads as empty; writing keeps
// every other line of it and replaces the file only through a complete temporary
// file in the same folder.
class IniFileProfile : public Profile {
 public:
  // Files beyond this size are not read (and so not rewritten either).
  static constexpr std::size_t kMaxFileSize = 1 << 20;

  explicit IniFileProfile(std::string path);

  int GetProfileInt(std::string_view section, std::string_view key, int defaultValue) override;
  // Fails, with the file as it was, when the file cannot be read or written; the
  // reason names the file.
  Outcome WriteProfileInt(std::string_view section, std::string_view key, int value) override;
  Outcome WriteProfileString(std::string_view section, std::string_view key,
                             std::string_view value) override;
  std::vector<ProfileEntry> GetProfileSection(std::string_view section) override;
  std::optional<std::string> GetProfileString(std::string_view section,
                                              std::string_view key) override;

  const std::string& path() const { return path_; }

 private:
  std::string path_;
};
