#include "replies/time_text.h"

#include <clocale>
#include <ctime>

namespace {

// The latest time local conversion accepts (3000-12-31 23:59:59 UTC); beyond it, and
// for any negative time, there is no text.
constexpr int64_t kLatestConvertibleTime = 32535215999;
constexpr std::size_t kTextBufferSize = 128;

}  // namespace

std::string FormatTime(int64_t time, const char* pattern) {
  if (time < 0 || time > kLatestConvertibleTime) return {};
  const auto seconds = static_cast<std::time_t>(time);
  std::tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return {};
  // The panel selects no locale, whatever the toolkit has set for the process.
  const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (cLocale == static_cast<locale_t>(nullptr)) return {};
  char text[kTextBufferSize];
  const std::size_t length = strftime_l(text, sizeof text, pattern, &local, cLocale);
  freelocale(cLocale);
  return {text, length};
}
