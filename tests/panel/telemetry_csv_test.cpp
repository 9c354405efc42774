#include "panel/telemetry_csv.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;

// 2026-12-07 12:10:47.123 UTC
constexpr int64_t kDecemberMs = 1'796'645'447'123;

// Raw fields in order: PC time, machine clock, Ei, Eo, Ci, Co, P_LOW, P_HIGH, PWM, fog
// status, mains, output.
const auto kTypical =
    TelemetrySample{kDecemberMs, 1'796'645'440, -1, -100, 0, 200, 82, 82, 128, 0x93, 230, 50};
const std::string kTypicalRow =
    "2026-12-07T12:10:47.123+00:00,2026-12-07T12:10:40+00:00,"
    "-0.25,-25.00,0.00,50.00,50.20,0.00,0.00,230,50,147\r\n";

TEST(TelemetryCsv, HeaderNamesTheColumnsInOrder) {
  EXPECT_EQ(TelemetryCsvHeader(),
            "PC time,Machine clock,Ei (°C),Eo (°C),Ci (°C),Co (°C),"
            "PWM (%),P_LOW (PSI),P_HIGH (PSI),Mains,Output (Hz),Fog status\r\n");
}

struct RowCase {
  TelemetrySample sample;
  std::string row;
};

TEST(TelemetryCsv, RowHoldsTimesAndTheDigitsThePanelShows) {
  const RowCase cases[] = {
      {kTypical, kTypicalRow},
      // Extremes of the raw readings; a negative machine clock has no text.
      {TelemetrySample{kDecemberMs + 876, -1, 32767, -32768, 1, -2, 0, 0, 0, 0, 0, 0},
       "2026-12-07T12:10:47.999+00:00,,8191.75,-8192.00,0.25,-0.50,0.00,-18.78,-62.60,0,0,0\r\n"},
      {TelemetrySample{kDecemberMs + 877, 0, 0, 0, 0, 0, 737, 737, 255, 255, 255, 85},
       "2026-12-07T12:10:48.000+00:00,1970-01-01T00:00:00+00:00,"
       "0.00,0.00,0.00,0.00,100.00,150.00,500.00,255,85,255\r\n"},
      // The last second of a four-digit year, and the first one beyond.
      {TelemetrySample{5, 253'402'300'799, 0, 0, 0, 0, 82, 82, 0, 0, 0, 0},
       "1970-01-01T00:00:00.005+00:00,9999-12-31T23:59:59+00:00,"
       "0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,0,0\r\n"},
      {TelemetrySample{-1, 253'402'300'800, 0, 0, 0, 0, 82, 82, 0, 0, 0, 0},
       ",,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,0,0\r\n"},
      {TelemetrySample{std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), 0,
                       0, 0, 0, 82, 82, 0, 0, 0, 0},
       ",,0.00,0.00,0.00,0.00,0.00,0.00,0.00,0,0,0\r\n"},
  };
  for (const RowCase& c : cases) EXPECT_EQ(TelemetryCsvRow(c.sample), c.row);
}

struct ZoneCase {
  const char* tz;
  int64_t pcTimeMs;
  std::string times;  // the first two fields
};

TEST(TelemetryCsv, TimesAreLocalWithTheirUtcOffset) {
  const ZoneCase cases[] = {
      {"CET-1CEST,M3.5.0,M10.5.0/3", kDecemberMs,
       "2026-12-07T13:10:47.123+01:00,2026-12-07T13:10:47+01:00,"},
      {"CET-1CEST,M3.5.0,M10.5.0/3", 1'782'864'000'000,
       "2026-07-01T02:00:00.000+02:00,2026-07-01T02:00:00+02:00,"},
      {"<-0330>3:30", kDecemberMs, "2026-12-07T08:40:47.123-03:30,2026-12-07T08:40:47-03:30,"},
      {"<+0545>-5:45", kDecemberMs, "2026-12-07T17:55:47.123+05:45,2026-12-07T17:55:47+05:45,"},
  };
  std::optional<std::string> savedTz;
  if (const char* tz = std::getenv("TZ")) savedTz = tz;
  for (const ZoneCase& c : cases) {
    setenv("TZ", c.tz, 1);
    tzset();
    TelemetrySample sample = kTypical;
    sample.pcTimeMs = c.pcTimeMs;
    sample.machineClock = c.pcTimeMs / 1000;
    const std::string row = TelemetryCsvRow(sample);
    EXPECT_EQ(row.substr(0, c.times.size()), c.times) << c.tz;
  }
  savedTz ? setenv("TZ", savedTz->c_str(), 1) : unsetenv("TZ");
  tzset();
}

TEST(TelemetryCsv, FieldIsQuotedOnlyWhenItMustBe) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"Ei (°C)", "Ei (°C)"},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {"two\r\nlines", "\"two\r\nlines\""},
      {"line\n", "\"line\n\""},
  };
  for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field);
}

TEST(TelemetryCsv, ExportHoldsHeaderAndRingOldestFirst) {
  TelemetryRing ring(3);
  EXPECT_EQ(TelemetryCsv(ring), TelemetryCsvHeader());
  TelemetrySample samples[5];
  for (int i = 0; i < 5; ++i) {
    samples[i] = kTypical;
    samples[i].mains = static_cast<uint8_t>(i + 1);
    ring.Add(samples[i]);
  }
  EXPECT_EQ(TelemetryCsv(ring), TelemetryCsvHeader() + TelemetryCsvRow(samples[2]) +
                                    TelemetryCsvRow(samples[3]) + TelemetryCsvRow(samples[4]));
}

// German numbers write a decimal comma; the file keeps its points. The locale is
// built for the test with localedef, so it does not depend on the locales installed.
TEST(TelemetryCsv, RowKeepsDecimalPointsUnderGermanNumbers) {
  std::string folder = (fs::temp_directory_path() / "kelo-csv-locale-XXXXXX").string();
  ASSERT_NE(mkdtemp(folder.data()), nullptr);
  const std::string command =
      "localedef -c -i de_DE -f UTF-8 '" + folder + "/de_DE.UTF-8' >/dev/null 2>&1";
  static_cast<void>(std::system(command.c_str()));
  std::optional<std::string> savedLocpath;
  if (const char* locpath = std::getenv("LOCPATH")) savedLocpath = locpath;
  setenv("LOCPATH", folder.c_str(), 1);
  const bool german = setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  char printed[16] = "";
  if (german) std::snprintf(printed, sizeof printed, "%.2f", -0.25);
  const std::string row = TelemetryCsvRow(kTypical);

  setlocale(LC_ALL, "C");
  savedLocpath ? setenv("LOCPATH", savedLocpath->c_str(), 1) : unsetenv("LOCPATH");
  fs::remove_all(folder);
  if (!german) GTEST_SKIP() << "no German locale could be built";
  ASSERT_STREQ(printed, "-0,25") << "the German locale was in force";
  EXPECT_EQ(row, kTypicalRow);
}

}  // namespace
