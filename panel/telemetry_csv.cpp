#include "panel/telemetry_csv.h"

#include <charconv>
#include <ctime>
#include <optional>
#include <string_view>

#include "replies/telemetry_text.h"

namespace {

constexpr std::string_view kRecordEnd = "\r\n";
constexpr std::string_view kColumns[] = {
    "PC time", "Machine clock", "Ei (°C)",      "Eo (°C)", "Ci (°C)",     "Co (°C)",
    "PWM (%)", "P_LOW (PSI)",   "P_HIGH (PSI)", "Mains",   "Output (Hz)", "Fog status"};

// Room for a row of wide values, so that building one allocates once.
constexpr std::size_t kRowCapacity = 160;
constexpr int64_t kMillisPerSecond = 1000;
constexpr int kSecondsPerMinute = 60;
constexpr int kMinutesPerHour = 60;
constexpr int64_t kTmYearBase = 1900;
constexpr int64_t kLastFourDigitYear = 9999;

void AppendField(std::string& record, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    record += field;
    return;
  }
  record += '"';
  for (const char c : field) {
    if (c == '"') record += '"';
    record += c;
  }
  record += '"';
}

// to_chars never consults the locale, unlike printf and iostreams.
void AppendNumber(std::string& text, int64_t value, int width = 1) {
  char digits[24];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
  if (error != std::errc()) return;
  for (auto length = end - digits; length < width; ++length) text += '0';
  text.append(digits, end);
}

// The local calendar time of a time value, or nothing when the C library cannot give it
// (negative, or beyond a four-digit year).
std::optional<std::tm> LocalCalendar(int64_t seconds) {
  if (seconds < 0) return std::nullopt;
  const auto time = static_cast<std::time_t>(seconds);
  std::tm local{};
  if (localtime_r(&time, &local) == nullptr) return std::nullopt;
  if (local.tm_year + kTmYearBase > kLastFourDigitYear) return std::nullopt;
  return local;
}

// "+01:00": the local zone's offset from UTC at that time, in hours and minutes.
void AppendUtcOffset(std::string& text, long offsetSeconds) {
  text += offsetSeconds < 0 ? '-' : '+';
  const long minutes = (offsetSeconds < 0 ? -offsetSeconds : offsetSeconds) / kSecondsPerMinute;
  AppendNumber(text, minutes / kMinutesPerHour, 2);
  text += ':';
  AppendNumber(text, minutes % kMinutesPerHour, 2);
}

// ISO 8601 local time, "2026-12-07T12:10:47" with ".123" when millis are given, then the
// UTC offset; empty for a time that cannot be converted.
std::string IsoLocalTime(int64_t seconds, std::optional<int64_t> millis) {
  const std::optional<std::tm> local = LocalCalendar(seconds);
  if (!local) return {};
  std::string text;
  AppendNumber(text, local->tm_year + kTmYearBase, 4);
  text += '-';
  AppendNumber(text, local->tm_mon + 1, 2);
  text += '-';
  AppendNumber(text, local->tm_mday, 2);
  text += 'T';
  AppendNumber(text, local->tm_hour, 2);
  text += ':';
  AppendNumber(text, local->tm_min, 2);
  text += ':';
  AppendNumber(text, local->tm_sec, 2);
  if (millis) {
    text += '.';
    AppendNumber(text, *millis, 3);
  }
  AppendUtcOffset(text, local->tm_gmtoff);
  return text;
}

std::string PcTimeText(int64_t pcTimeMs) {
  // Rounded down, so that a millisecond before 1970 is not taken for one after it.
  int64_t seconds = pcTimeMs / kMillisPerSecond;
  int64_t millis = pcTimeMs % kMillisPerSecond;
  if (millis < 0) {
    --seconds;
    millis += kMillisPerSecond;
  }
  return IsoLocalTime(seconds, millis);
}

// The panel's "%+4.2f" text without its plus sign and padding: the same digits.
std::string MeasuredField(double value) {
  const std::string shown = MeasuredText(value);
  const std::size_t start = shown.find_first_not_of(" +");
  return start == std::string::npos ? std::string() : shown.substr(start);
}

void AppendSeparated(std::string& record, std::string_view field) {
  record += ',';
  AppendField(record, field);
}

void AppendSeparated(std::string& record, int64_t value) {
  record += ',';
  AppendNumber(record, value);
}

}  // namespace

std::string CsvField(std::string_view text) {
  std::string field;
  AppendField(field, text);
  return field;
}

std::string TelemetryCsvHeader() {
  std::string record;
  for (const std::string_view column : kColumns) {
    if (!record.empty()) record += ',';
    AppendField(record, column);
  }
  record += kRecordEnd;
  return record;
}

std::string TelemetryCsvRow(const TelemetrySample& sample) {
  std::string record;
  record.reserve(kRowCapacity);
  AppendField(record, PcTimeText(sample.pcTimeMs));
  AppendSeparated(record, IsoLocalTime(sample.machineClock, std::nullopt));
  for (const double value : {EiOf(sample), EoOf(sample), CiOf(sample), CoOf(sample), PwmOf(sample),
                             PLowOf(sample), PHighOf(sample)}) {
    AppendSeparated(record, MeasuredField(value));
  }
  AppendSeparated(record, sample.mains);
  AppendSeparated(record, sample.outputHz);
  AppendSeparated(record, sample.fogStatus);
  record += kRecordEnd;
  return record;
}

std::string TelemetryCsv(const TelemetryRing& ring) {
  std::string csv = TelemetryCsvHeader();
  for (std::size_t index = 0; index < ring.size(); ++index) {
    csv += TelemetryCsvRow(ring.at(index));
  }
  return csv;
}
