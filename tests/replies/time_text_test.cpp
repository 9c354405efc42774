#include "replies/time_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

struct TimeRow {
  int64_t time;
  const char* date;
  const char* clock;
};

// Tests run with TZ=UTC.
TEST(FormatTime, GivesCLocaleDateAndTimeOrNothing) {
  const TimeRow rows[] = {
      {0, "01/01/70", "00:00:00"},
      {1'700'000'000, "11/14/23", "22:13:20"},
      {INT32_MAX, "01/19/38", "03:14:07"},
      {int64_t{INT32_MAX} + 31'449'600, "01/18/39", "03:14:07"},
      {4'294'967'295, "02/07/06", "06:28:15"},
      {32'535'215'999, "12/31/00", "23:59:59"},  // the last second the conversion takes
      {32'535'216'000, "", ""},
      {-1, "", ""},
      {INT32_MIN, "", ""},
      {std::numeric_limits<int64_t>::min(), "", ""},
      {std::numeric_limits<int64_t>::max(), "", ""},
  };
  for (const TimeRow& row : rows) {
    EXPECT_EQ(FormatTime(row.time, "%x"), row.date) << row.time;
    EXPECT_EQ(FormatTime(row.time, "%X"), row.clock) << row.time;
  }
}

TEST(FormatTime, EmptyPatternResultGivesEmptyText) {
  EXPECT_EQ(FormatTime(0, ""), "");
}

TEST(FormatTime, TooLongResultGivesEmptyText) {
  // 130 characters do not fit the 128-byte buffer.
  EXPECT_EQ(FormatTime(0, std::string(130, 'x').c_str()), "");
  EXPECT_EQ(FormatTime(0, std::string(127, 'x').c_str()), std::string(127, 'x'));
}

TEST(FormatTime, UsesTheComputersTimeZone) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved != nullptr ? saved : "";
  setenv("TZ", "XYZ-2", 1);  // two hours east of UTC
  tzset();
  const std::string clock = FormatTime(0, "%X");
  const std::string date = FormatTime(-1, "%x");
  if (saved != nullptr) {
    setenv("TZ", previous.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  EXPECT_EQ(clock, "02:00:00");
  EXPECT_EQ(date, "") << "a negative time has no text, even where it is local 1970";
}

}  // namespace
