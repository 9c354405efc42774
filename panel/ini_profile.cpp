#include "panel/ini_profile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "panel/saved_file.h"

namespace {

constexpr const char* kFileName = "kelo-configuration.ini";
constexpr unsigned kNewFileMode = 0600;  // the profile is private
constexpr mode_t kNewFolderMode = 0700;

// --- Text of the file ---

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// "[name]", blanks allowed around it and around the name.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct KeyValue {
  std::string_view key;
  std::string_view value;
};

// "key=value"; comment lines (";" or "#") hold no key.
std::optional<KeyValue> SplitKeyValue(std::string_view line) {
  const std::string_view trimmed = Trim(line);
  if (trimmed.empty() || trimmed.front() == ';' || trimmed.front() == '#') return std::nullopt;
  const std::size_t equals = trimmed.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  std::string_view value = Trim(trimmed.substr(equals + 1));
  // One pair of enclosing quotes is taken off, as the Windows functions do.
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return KeyValue{Trim(trimmed.substr(0, equals)), value};
}

// A line of the file without its line end, and that line end ("\n", "\r\n", or none
// for a last line without one).
struct IniLine {
  std::string text;
  std::string end;
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct IniText {
  std::vector<IniLine> lines;
  std::string lineEnd = "\n";  // for new lines: that of the first line
  bool byteOrderMark = false;  // a file saved by Windows Notepad; kept on rewrite
};

IniText SplitLines(std::string_view text) {
  IniText ini;
  if (text.starts_with(kByteOrderMark)) {
    ini.byteOrderMark = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    IniLine line{std::string(text.substr(0, newline)),
                 newline == std::string_view::npos ? "" : "\n"};
    if (!line.end.empty() && !line.text.empty() && line.text.back() == '\r') {
      line.text.pop_back();
      line.end = "\r\n";
    }
    if (ini.lines.empty() && !line.end.empty()) ini.lineEnd = line.end;
    ini.lines.push_back(std::move(line));
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
  }
  return ini;
}

std::string JoinLines(const IniText& ini) {
  std::string text = ini.byteOrderMark ? std::string(kByteOrderMark) : std::string();
  for (const IniLine& line : ini.lines) {
    text += line.text;
    text += line.end.empty() ? ini.lineEnd : line.end;
  }
  return text;
}

// Where a key is, or would go: the first section of that name and its first line
// with that key. A key missing from its section goes after the section's last
// non-blank line.
struct Location {
  std::optional<std::size_t> section;
  std::optional<std::size_t> key;
  std::size_t insertAt = 0;
};

Location Locate(const IniText& ini, std::string_view section, std::string_view key) {
  Location found;
  bool inside = false;
  for (std::size_t i = 0; i < ini.lines.size(); ++i) {
    const std::string& line = ini.lines[i].text;
    if (const auto name = SectionName(line)) {
      inside = !found.section && SameName(*name, section);
      if (inside) {
        found.section = i;
        found.insertAt = i + 1;
      }
      continue;
    }
    if (!inside) continue;
    if (!Trim(line).empty()) found.insertAt = i + 1;
    const auto pair = SplitKeyValue(line);
    if (pair && !found.key && SameName(pair->key, key)) found.key = i;
  }
  return found;
}

std::optional<std::string> Lookup(const IniText& ini, std::string_view section,
                                  std::string_view key) {
  const Location where = Locate(ini, section, key);
  if (!where.key) return std::nullopt;
  return std::string(SplitKeyValue(ini.lines[*where.key].text)->value);
}

// Every key of the first section of that name, with its value, in file order; the first
// of a key written twice.
std::vector<ProfileEntry> Entries(const IniText& ini, std::string_view section) {
  std::vector<ProfileEntry> entries;
  bool inside = false;
  bool seen = false;
  for (const IniLine& line : ini.lines) {
    if (const auto name = SectionName(line.text)) {
      inside = !seen && SameName(*name, section);
      seen = seen || inside;
      continue;
    }
    const auto pair = inside ? SplitKeyValue(line.text) : std::nullopt;
    if (!pair) continue;
    const bool known = std::any_of(entries.begin(), entries.end(), [&](const ProfileEntry& e) {
      return SameName(e.key, pair->key);
    });
    if (!known) entries.push_back({std::string(pair->key), std::string(pair->value)});
  }
  return entries;
}

void Store(IniText& ini, std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(key) + "=" + std::string(value);
  const Location where = Locate(ini, section, key);
  if (where.key) {
    ini.lines[*where.key].text = std::move(line);
  } else if (where.section) {
    ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(where.insertAt),
                     IniLine{std::move(line), ini.lineEnd});
  } else {
    ini.lines.push_back({"[" + std::string(section) + "]", ini.lineEnd});
    ini.lines.push_back({std::move(line), ini.lineEnd});
  }
}

// --- The file ---

enum class FileState { kRead, kMissing, kUnusable };

struct FileContents {
  FileState state = FileState::kUnusable;
  std::string text;
};

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Only a regular file up to the size limit is read; O_NONBLOCK keeps a FIFO in its
// place from holding the program.
FileContents ReadFile(const std::string& path) {
  FileContents contents;
  if (path.empty()) return contents;
  const Descriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) contents.state = FileState::kMissing;
    return contents;
  }
  struct stat status {};
  if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode) ||
      status.st_size > static_cast<off_t>(IniFileProfile::kMaxFileSize)) {
    return contents;
  }
  // Read on past the size fstat gave, in case the file grew since.
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t got = read(file.get(), chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return contents;
    if (got == 0) break;
    text.append(chunk, static_cast<std::size_t>(got));
    if (text.size() > IniFileProfile::kMaxFileSize) return contents;
  }
  contents.state = FileState::kRead;
  contents.text = std::move(text);
  return contents;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool MakeFolders(const std::string& folder) {
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string prefix = folder.substr(0, slash);
    if (mkdir(prefix.c_str(), kNewFolderMode) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) break;
  }
  struct stat status {};
  return stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string JoinPath(std::string_view folder, std::string_view rest) {
  std::string path(folder);
  if (path.back() != '/') path += '/';
  return path + std::string(rest);
}

}  // namespace

std::string ProfilePathFor(std::optional<std::string_view> xdgConfigHome,
                           std::optional<std::string_view> home) {
  if (xdgConfigHome && !xdgConfigHome->empty() && xdgConfigHome->front() == '/') {
    return JoinPath(*xdgConfigHome, kFileName);
  }
  if (home && !home->empty()) return JoinPath(*home, std::string(".config/") + kFileName);
  return {};
}

std::string ProfilePathFromEnvironment() {
  std::optional<std::string_view> xdg;
  std::optional<std::string_view> home;
  if (const char* value = getenv("XDG_CONFIG_HOME")) xdg = value;
  if (const char* value = getenv("HOME")) home = value;
  std::string passwordHome;
  if (!home) {
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr) {
      passwordHome = found->pw_dir;
      home = passwordHome;
    }
  }
  return ProfilePathFor(xdg, home);
}

std::optional<int> ParseProfileInt(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  auto digitValue = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (Lower(c) >= 'a' && Lower(c) <= 'f') return Lower(c) - 'a' + 10;
    return 99;
  };
  int base = 10;
  if (i + 2 < text.size() && text[i] == '0' && Lower(text[i + 1]) == 'x' &&
      digitValue(text[i + 2]) < 16) {
    base = 16;
    i += 2;
  }
  const int64_t limit = negative ? -int64_t{std::numeric_limits<int>::min()}
                                 : int64_t{std::numeric_limits<int>::max()};
  int64_t magnitude = 0;
  std::size_t digits = 0;
  for (; i < text.size() && digitValue(text[i]) < base; ++i, ++digits) {
    magnitude = magnitude * base + digitValue(text[i]);
    if (magnitude > limit) return std::nullopt;
  }
  if (digits == 0) return std::nullopt;
  return static_cast<int>(negative ? -magnitude : magnitude);
}

IniFileProfile::IniFileProfile(std::string path) : path_(std::move(path)) {}

int IniFileProfile::GetProfileInt(std::string_view section, std::string_view key,
                                  int defaultValue) {
  const std::optional<std::string> text = GetProfileString(section, key);
  if (!text) return defaultValue;
  return ParseProfileInt(*text).value_or(defaultValue);
}

std::optional<std::string> IniFileProfile::GetProfileString(std::string_view section,
                                                            std::string_view key) {
  const FileContents file = ReadFile(path_);
  if (file.state != FileState::kRead) return std::nullopt;
  return Lookup(SplitLines(file.text), section, key);
}

std::vector<ProfileEntry> IniFileProfile::GetProfileSection(std::string_view section) {
  const FileContents file = ReadFile(path_);
  if (file.state != FileState::kRead) return {};
  return Entries(SplitLines(file.text), section);
}

Outcome IniFileProfile::WriteProfileInt(std::string_view section, std::string_view key, int value) {
  return WriteProfileString(section, key, std::to_string(value));
}

Outcome IniFileProfile::WriteProfileString(std::string_view section, std::string_view key,
                                           std::string_view value) {
  if (path_.empty()) return Failure{ENOENT, "there is no home folder to keep the profile in"};
  const FileContents file = ReadFile(path_);
  // A file that could not be read is not replaced: what it holds would be lost.
  if (file.state == FileState::kUnusable) {
    return Failure{EIO, path_ + ": the file cannot be read, so it is left as it is"};
  }
  IniText ini = SplitLines(file.text);
  Store(ini, section, key, value);
  const std::string folder = FolderOf(path_);
  if (!MakeFolders(folder)) {
    const Failure failure = SystemFailure(errno);
    return Failure{failure.error, folder + ": " + failure.reason};
  }
  if (auto failure = SaveFileWhole(path_, JoinLines(ini), kNewFileMode)) {
    failure->reason = path_ + ": " + failure->reason;
    return failure;
  }
  return std::nullopt;
}
