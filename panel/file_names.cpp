#include "panel/file_names.h"

#include <ctime>

namespace {

constexpr std::string_view kNoName = "Brumo";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\0')) text.remove_prefix(1);
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
  std::string name(Trimmed(machineName));
  if (name.empty()) name = kNoName;
  for (char& c : name) {
    if (c == '/' || static_cast<unsigned char>(c) < 0x20) c = '_';
  }
  const std::string middle = what.empty() ? " " : " " + std::string(what) + " ";
  return name + middle + DateOf(now) + std::string(extension);
}
