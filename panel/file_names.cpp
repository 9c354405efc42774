#include "panel/file_names.h"

#include <ctime>

#include "panel/escaped_text.h"

namespace {

constexpr std::string_view kNoName = "Brumo";

// Marks that reorder the text around them (U+061C, U+200E, U+200F, U+202A to U+202E,
// U+2066 to U+2069): in a name they would show the dialog's text in another order.
bool IsBidiControl(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

// The name without bidirectional marks and C1 controls; other bytes stay for escaping.
std::string WithoutHiddenMarks(std::string_view name) {
  std::string kept;
  while (!name.empty()) {
    const std::optional<Utf8Char> character = FirstUtf8Char(name);
    const std::size_t length = character ? character->length : 1;
    const bool hidden =
        character && character->length > 1 &&
        (IsBidiControl(character->codePoint) || IsControlCharacter(character->codePoint));
    if (!hidden) kept += name.substr(0, length);
    name.remove_prefix(length);
  }
  return kept;
}

// Without surrounding spaces and NULs, and without leading dots and dashes, which would
// hide the file or read as an option on a command line.
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\0' || text.front() == '.' ||
                           text.front() == '-')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.remove_suffix(1);
  return text;
}

// The local date of a time, as year-month-day.
std::string DateOf(int64_t now) {
  const auto seconds = static_cast<std::time_t>(now);
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return {};
  char text[16];
  return {text, std::strftime(text, sizeof text, "%Y-%m-%d", &local)};
}

}  // namespace

std::string SuggestedFileName(std::string_view machineName, std::string_view what, int64_t now,
                              std::string_view extension) {
  std::string name = EscapedText(Trimmed(WithoutHiddenMarks(machineName)));
  if (name.empty()) name = kNoName;
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  const std::string middle = what.empty() ? " " : " " + std::string(what) + " ";
  return name + middle + DateOf(now) + std::string(extension);
}
