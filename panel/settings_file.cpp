#include "panel/settings_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <map>
#include <optional>

#include "panel/escaped_text.h"
#include "panel/saved_file.h"

namespace {

constexpr std::string_view kFormatLine = "Brumo settings file, version ";
constexpr int kVersion = 1;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kMachineName = "Machine name";
constexpr std::string_view kFirmware = "Firmware revision";
constexpr std::string_view kSaved = "Saved";
constexpr std::string_view kProgram = "Program";
constexpr std::string_view kSettingsBlock = "Settings block";
constexpr std::string_view kCalibrationBlock = "Calibration block";

std::string OnLine(std::size_t number, const std::string& what) {
  return "Line " + std::to_string(number) + ": " + what;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

std::string BlockText(const PayloadBytes& block) {
  std::string text;
  for (const uint8_t byte : block) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%02X", byte);
    text += (text.empty() ? "" : " ") + std::string(hex);
  }
  return text;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Nine bytes of two hex digits each, apart by blanks.
std::optional<PayloadBytes> ParseBlock(std::string_view text) {
  PayloadBytes block{};
  for (uint8_t& byte : block) {
    text = Trimmed(text);
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + std::min<std::size_t>(2, text.size()), byte, 16);
    if (error != std::errc() || end != text.data() + 2) return std::nullopt;
    text.remove_prefix(2);
    if (!text.empty() && text.front() != ' ' && text.front() != '\t') return std::nullopt;
  }
  if (!Trimmed(text).empty()) return std::nullopt;
  return block;
}

// Bytes a text file of this kind never holds: NUL and other control characters, and
// anything that is not UTF-8.
bool IsText(std::string_view line) {
  while (!line.empty()) {
    const std::optional<Utf8Char> character = FirstUtf8Char(line);
    if (!character || (character->codePoint != '\t' && IsControlCharacter(character->codePoint))) {
      return false;
    }
    line.remove_prefix(character->length);
  }
  return true;
}

// Why the first line is not that of a file this program reads, if it is not.
std::optional<std::string> FormatFault(std::string_view line) {
  int version = 0;
  const std::string_view number =
      line.starts_with(kFormatLine) ? line.substr(kFormatLine.size()) : "";
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), version);
  if (number.empty() || error != std::errc() || end != number.data() + number.size() ||
      version < kVersion) {
    return "not a Brumo settings file: its first line should read " +
           Quoted(std::string(kFormatLine) + std::to_string(kVersion));
  }
  if (version > kVersion) {
    return "the file is of version " + std::to_string(version) +
           ", newer than this program reads (version " + std::to_string(kVersion) + ")";
  }
  return std::nullopt;
}

// The file line by line: what each named line says, and the first fault that makes the
// whole file unusable.
class Reader {
 public:
  std::optional<std::string> Read(std::string_view text) {
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    std::size_t number = 0;
    while (!text.empty() || number == 0) {
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
      if (line.ends_with('\r')) line.remove_suffix(1);
      ++number;
      if (!IsText(line))
        return OnLine(number, "holds bytes that are not text; this is not a settings file");
      if (auto fault = number == 1 ? FormatFault(line) : TakeLine(number, Trimmed(line))) {
        return OnLine(number, *fault);
      }
    }
    for (const std::string_view needed : {kMachineName, kSettingsBlock, kCalibrationBlock}) {
      if (!seenOn_.contains(std::string(needed))) {
        return OnLine(number, "the file ends without its " + Quoted(needed) +
                                  " line; it may have been cut short");
      }
    }
    PutNamedLines();
    return std::nullopt;
  }

  SettingsFile file;

 private:
  std::optional<std::string> TakeLine(std::size_t number, std::string_view line) {
    if (line.empty() || line.starts_with('#')) return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return "expected \"name = value\"";
    const std::string name(Trimmed(line.substr(0, equals)));
    const std::string_view value = Trimmed(line.substr(equals + 1));
    if (const auto [seen, first] = seenOn_.try_emplace(name, number); !first) {
      return Quoted(name) + " is given twice (first on line " + std::to_string(seen->second) + ")";
    }
    return TakeValue(number, name, value);
  }

  std::optional<std::string> TakeValue(std::size_t number, const std::string& name,
                                       std::string_view value) {
    SettingsFileHeader& header = file.header;
    if (name == kSettingsBlock || name == kCalibrationBlock) {
      const std::optional<PayloadBytes> block = ParseBlock(value);
      if (!block) return "the " + name + " needs nine bytes in hex, two digits each";
      (name == kSettingsBlock ? file.blocks.settings : file.blocks.calibration) = *block;
    } else if (name == kMachineName) {
      header.machineName = value;
    } else if (name == kFirmware) {
      header.firmwareRevision = value;
    } else if (name == kSaved) {
      header.saved = value;
    } else if (name == kProgram) {
      header.program = value;
    } else if (const std::optional<std::size_t> setting = SettingNamed(name)) {
      named_[*setting] = {number, std::string(value)};
    } else {
      file.notes.push_back(OnLine(number, "unknown setting " + Quoted(name) + " skipped"));
    }
    return std::nullopt;
  }

  // A named line that says what the blocks say changes nothing; one that differs holds
  // for its setting, when its control can show it.
  void PutNamedLines() {
    const MachineBlocks asSaved = file.blocks;
    for (std::size_t setting = 0; setting < named_.size(); ++setting) {
      const auto& [number, value] = named_[setting];
      if (number == 0 || value == SettingText(setting, asSaved)) continue;
      if (PutSettingText(setting, value, file.blocks)) continue;
      file.refused[setting] = true;
      file.notes.push_back(OnLine(number, std::string(SettingName(setting)) + " cannot be " +
                                              Quoted(value) + " (" + SettingChoices(setting) +
                                              "); left out"));
    }
  }

  std::map<std::string, std::size_t, std::less<>> seenOn_;
  std::array<std::pair<std::size_t, std::string>, kNamedSettingCount> named_{};
};

std::string TooLarge(std::string_view text) {
  const std::size_t lines = 1 + static_cast<std::size_t>(std::count(
                                    text.begin(), text.begin() + kSettingsFileMaxBytes, '\n'));
  return OnLine(lines, "the file goes on past " + std::to_string(kSettingsFileMaxBytes / 1024) +
                           " KiB, far more than any settings file holds");
}

}  // namespace

std::string SettingsFileText(const SettingsFileHeader& header, const MachineBlocks& blocks) {
  std::string text =
      std::string(kFormatLine) + std::to_string(kVersion) + std::string(kFileLineEnd);
  auto line = [&text](std::string_view name, std::string_view value) {
    text += std::string(name) + " = " + std::string(value) + std::string(kFileLineEnd);
  };
  line(kMachineName, header.machineName);
  line(kFirmware, header.firmwareRevision);
  line(kSaved, header.saved);
  line(kProgram, header.program);
  for (std::size_t setting = 0; setting < kNamedSettingCount; ++setting) {
    line(SettingName(setting), SettingText(setting, blocks));
  }
  line(kSettingsBlock, BlockText(blocks.settings));
  line(kCalibrationBlock, BlockText(blocks.calibration));
  return text;
}

std::variant<SettingsFile, std::string> ParseSettingsFile(std::string_view text) {
  if (text.size() > kSettingsFileMaxBytes) return TooLarge(text);
  Reader reader;
  if (std::optional<std::string> fault = reader.Read(text)) return *fault;
  return std::move(reader.file);
}

std::variant<SettingsFile, std::string> ReadSettingsFile(const std::string& path) {
  // Not blocking: a FIFO named by mistake must not hang the panel.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return SystemFailure(errno).reason;
  struct stat status {};
  if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    close(fd);
    return std::string("It is not a regular file");
  }
  std::string content(kSettingsFileMaxBytes + 1, '\0');
  std::size_t got = 0;
  while (got < content.size()) {
    const ssize_t n = read(fd, content.data() + got, content.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      close(fd);
      return SystemFailure(error).reason;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  content.resize(got);
  return ParseSettingsFile(content);
}
