#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "replies/setting_values.h"

// The settings file: the machine's two blocks kept whole, beside a line per setting
// named as the panel's caption reads. UTF-8 text, CR LF line ends:
//
//   Brumo settings file, version 1
//   Machine name = FOGGER-ONE
//   Firmware revision = 2v15
//   Saved = 2026-12-07 14:03:22
//   Program = Kelo Configuration 1.4
//   Local Temp' (C) = 21
//   Run Time = +20
//   …one line per setting…
//   Settings block = 15 19 03 02 84 63 00 00 00
//   Calibration block = 0C 04 14 2D 00 00 00 00 00
//
// The blocks keep what the named lines cannot: values shown rounded or past a list's
// end, and the bits no control shows. Where a named line and the blocks disagree (a line
// edited by hand), the named line holds for its setting.

inline constexpr std::string_view kSettingsFileExtension = ".brumo";
// Far more than any settings file holds, comments included; nothing beyond is read.
inline constexpr std::size_t kSettingsFileMaxBytes = std::size_t{64} * 1024;

// Who and what the file comes from. The machine's bytes are escaped, as in every file
// this program writes; a fact not read from the machine since Connect is empty.
struct SettingsFileHeader {
  std::string machineName;
  std::string firmwareRevision;
  std::string saved;  // local date and time
  std::string program;
};

struct SettingsFile {
  SettingsFileHeader header;
  MachineBlocks blocks;  // with the named lines that differ from them put in
  // Named lines whose value no control of the panel can show: left out of Compare and
  // Apply.
  std::array<bool, kNamedSettingCount> refused{};
  // What the operator should know: unknown names skipped, values refused, each with its
  // line.
  std::vector<std::string> notes;
};

std::string SettingsFileText(const SettingsFileHeader& header, const MachineBlocks& blocks);

// A settings file, or why it cannot be used, naming the line ("Line 3: …").
std::variant<SettingsFile, std::string> ParseSettingsFile(std::string_view text);

// The same from the file at path, reading no more than the largest settings file.
std::variant<SettingsFile, std::string> ReadSettingsFile(const std::string& path);
