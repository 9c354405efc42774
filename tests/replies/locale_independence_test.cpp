// The toolkit sets the process locale from the environment; the panel's texts must
// stay those of the C locale (decimal point, MM/DD/YY) whatever it is.

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "replies/telemetry_text.h"
#include "replies/time_text.h"
#include "reply_frames.h"

namespace {

namespace fs = std::filesystem;

// A locale with German numbers and dates (decimal comma, DD.MM.YYYY), built for the
// test with localedef so that it does not depend on the locales the machine has.
constexpr const char* kCommaLocaleSource = R"(LC_CTYPE
copy "POSIX"
END LC_CTYPE
LC_NUMERIC
copy "de_DE"
END LC_NUMERIC
LC_TIME
copy "de_DE"
END LC_TIME
LC_COLLATE
copy "POSIX"
END LC_COLLATE
LC_MONETARY
copy "POSIX"
END LC_MONETARY
LC_MESSAGES
copy "POSIX"
END LC_MESSAGES
)";

class UnderCommaLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelo-locale-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    std::ofstream(dir_ / "comma") << kCommaLocaleSource;
    const std::string command = "localedef -c -i '" + (dir_ / "comma").string() + "' -f UTF-8 '" +
                                (dir_ / "comma.UTF-8").string() + "' >/dev/null 2>&1";
    // Warnings about categories left out give a non-zero status; the locale is usable.
    static_cast<void>(std::system(command.c_str()));
    if (const char* locpath = std::getenv("LOCPATH")) savedLocpath_ = locpath;
    setenv("LOCPATH", dir_.c_str(), 1);
    if (setlocale(LC_ALL, "comma.UTF-8") == nullptr) {
      GTEST_SKIP() << "localedef could not build a test locale";
    }
  }

  void TearDown() override {
    setlocale(LC_ALL, "C");
    if (savedLocpath_) {
      setenv("LOCPATH", savedLocpath_->c_str(), 1);
    } else {
      unsetenv("LOCPATH");
    }
    fs::remove_all(dir_);
  }

  fs::path dir_;
  std::optional<std::string> savedLocpath_;
};

TEST_F(UnderCommaLocale, MeasuredValuesAndTimesKeepCLocaleTexts) {
  char printed[32];
  std::snprintf(printed, sizeof printed, "%+4.2f", -0.25);
  ASSERT_STREQ(printed, "-0,25") << "the test locale is in force";
  const std::time_t time = 1'700'000'000;
  std::tm utc{};
  gmtime_r(&time, &utc);
  char date[32];
  std::strftime(date, sizeof date, "%x", &utc);
  ASSERT_STREQ(date, "14.11.2023");

  EXPECT_EQ(MeasuredText(-0.25), "-0.25");
  EXPECT_EQ(FormatTime(1'700'000'000, "%x"), "11/14/23");
  EXPECT_EQ(FormatTime(1'700'000'000, "%X"), "22:13:20");
  DecodeTarget t;
  t.Deliver(ReplyFrame(25, {0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 128}));
  EXPECT_EQ(t.panel.controls.GetText(ids::kEiLine), "Ei = -0.25");
  EXPECT_EQ(t.panel.controls.GetText(ids::kPwmLine), "PWM = +50.20%");
  t.Deliver(RecordFrame(5, 1'700'000'000, 7));
  EXPECT_EQ(t.EventLines().back(), "Event = Zonesensor Activation at 11/14/23 22:13:20");
}

}  // namespace
