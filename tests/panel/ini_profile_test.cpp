#include "panel/ini_profile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "support/outcome_text.h"
#include "support/unprivileged.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kSection = "Kelo Config";
constexpr const char* kKey = "Comm Port";

class IniProfileFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelo-ini-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    path_ = (dir_ / "kelo-configuration.ini").string();
  }
  void TearDown() override {
    std::error_code ignored;
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(dir_, ignored);
  }

  void Write(const std::string& text) {
    std::ofstream out(path_, std::ios::binary);
    out << text;
    ASSERT_TRUE(out.good());
  }
  std::string Read() const { return ReadFrom(path_); }
  static std::string ReadFrom(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> FilesIn(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  fs::path dir_;
  std::string path_;
};

// --- Where the file lives ---

struct PathCase {
  std::optional<std::string_view> xdg;
  std::optional<std::string_view> home;
  std::string expected;
};

TEST(ProfilePath, FollowsXdgConfigHomeElseHomeConfig) {
  const PathCase cases[] = {
      {"/x/conf", "/home/ann", "/x/conf/kelo-configuration.ini"},
      {"/x/conf/", "/home/ann", "/x/conf/kelo-configuration.ini"},
      {std::nullopt, "/home/ann", "/home/ann/.config/kelo-configuration.ini"},
      {"", "/home/ann", "/home/ann/.config/kelo-configuration.ini"},
      // A relative XDG_CONFIG_HOME is not to be used.
      {"conf", "/home/ann/", "/home/ann/.config/kelo-configuration.ini"},
      {"/x/conf", std::nullopt, "/x/conf/kelo-configuration.ini"},
      {std::nullopt, std::nullopt, ""},
      {std::nullopt, "", ""},
  };
  for (const PathCase& c : cases) {
    EXPECT_EQ(ProfilePathFor(c.xdg, c.home), c.expected)
        << (c.xdg ? *c.xdg : "unset") << " / " << (c.home ? *c.home : "unset");
  }
}

TEST(ProfilePath, ReadsTheProcessEnvironment) {
  const char* saved = getenv("XDG_CONFIG_HOME");
  const std::optional<std::string> restore =
      saved ? std::optional<std::string>(saved) : std::nullopt;
  setenv("XDG_CONFIG_HOME", "/srv/kelo-conf", 1);
  EXPECT_EQ(ProfilePathFromEnvironment(), "/srv/kelo-conf/kelo-configuration.ini");
  unsetenv("XDG_CONFIG_HOME");
  const char* home = getenv("HOME");
  if (home != nullptr && *home != '\0') {
    EXPECT_EQ(ProfilePathFromEnvironment(), ProfilePathFor(std::nullopt, home));
  }
  if (restore) setenv("XDG_CONFIG_HOME", restore->c_str(), 1);
}

// --- Numbers as the Windows profile functions read them ---

TEST(ParseProfileInt, TakesTheLeadingIntegerOrNothing) {
  const std::pair<std::string_view, std::optional<int>> cases[] = {
      {"7", 7},
      {"  12", 12},
      {"+3", 3},
      {"-5", -5},
      {"12abc", 12},
      {"30 ports", 30},
      {"0x1A", 26},
      {"0X1a", 26},
      {"0x", 0},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"99999999999", std::nullopt},
      {"abc", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+-3", std::nullopt},
  };
  for (const auto& [text, expected] : cases) {
    EXPECT_EQ(ParseProfileInt(text), expected) << '"' << text << '"';
  }
}

// --- Reading ---

struct ReadCase {
  std::string name;
  std::string file;
  int expected;
};

class IniProfileRead : public IniProfileFile, public testing::WithParamInterface<ReadCase> {};

TEST_P(IniProfileRead, GivesTheStoredPortOrTheDefault) {
  Write(GetParam().file);
  IniFileProfile profile(path_);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), GetParam().expected);
}

std::string Junk() {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 131 + 7) % 256);
  return junk;
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniProfileRead,
    testing::Values(
        ReadCase{"AsWindowsWroteIt", "[Kelo Config]\r\nComm Port=7\r\n", 7},
        ReadCase{"AnyCaseAndBlanks", "  [kelo CONFIG] \ncomm port = 12 \n", 12},
        ReadCase{"OutOfRangeUnchanged", "[Kelo Config]\nComm Port=45\n", 45},
        ReadCase{"NegativeUnchanged", "[Kelo Config]\nComm Port=-5\n", -5},
        ReadCase{"Zero", "[Kelo Config]\nComm Port=0\n", 0},
        ReadCase{"LeadingInteger", "[Kelo Config]\nComm Port=12abc\n", 12},
        ReadCase{"Quoted", "[Kelo Config]\nComm Port=\"8\"\n", 8},
        ReadCase{"NoFinalLineEnd", "[Kelo Config]\nComm Port=9", 9},
        ReadCase{"ByteOrderMark", "\xEF\xBB\xBF[Kelo Config]\r\nComm Port=6\r\n", 6},
        ReadCase{"Letters", "[Kelo Config]\nComm Port=abc\n", 1},
        ReadCase{"Empty", "[Kelo Config]\nComm Port=\n", 1},
        ReadCase{"TooLarge", "[Kelo Config]\nComm Port=99999999999\n", 1},
        ReadCase{"OtherSectionOnly", "[Ports]\nComm Port=4\n", 1},
        ReadCase{"KeyBeforeAnySection", "Comm Port=4\n[Kelo Config]\n", 1},
        ReadCase{"FirstSectionAndKeyWin",
                 "[Other]\nComm Port=9\n[Kelo Config]\nComm Port=4\nComm Port=5\n"
                 "[Kelo Config]\nComm Port=6\n",
                 4},
        ReadCase{"UnclosedSectionHeader", "[Kelo Config\nComm Port=5\n", 1},
        ReadCase{"CommentedOut", "[Kelo Config]\n;Comm Port=5\n# Comm Port=6\n", 1},
        ReadCase{"NoEqualsSign", "[Kelo Config]\nComm Port 5\n", 1}, ReadCase{"EmptyFile", "", 1},
        ReadCase{"BinaryJunk", Junk(), 1},
        ReadCase{"JunkAroundTheSection",
                 Junk() + "\n[Kelo Config]\nComm Port=3\n" + std::string(3, '\0') + Junk(), 3}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniProfileFile, MissingFileGivesDefaults) {
  IniFileProfile profile(path_);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 1);
  EXPECT_EQ(profile.GetProfileString("Ports", "COM3"), std::nullopt);
  IniFileProfile nowhere("");
  EXPECT_EQ(nowhere.GetProfileInt(kSection, kKey, 1), 1);
  EXPECT_NE(nowhere.WriteProfileInt(kSection, kKey, 4), std::nullopt);
}

TEST_F(IniProfileFile, PortsEntryIsFoundWithoutRegardToCase) {
  Write("[ports]\ncom3 = /dev/ttyACM0\nCOM4=\"/dev/serial/by-id/usb-FTDI port0\"\n");
  IniFileProfile profile(path_);
  EXPECT_EQ(profile.GetProfileString("Ports", "COM3"), "/dev/ttyACM0");
  EXPECT_EQ(profile.GetProfileString("Ports", "COM4"), "/dev/serial/by-id/usb-FTDI port0");
  EXPECT_EQ(profile.GetProfileString("Ports", "COM5"), std::nullopt);
}

// --- Files that are not read, and so not replaced ---

TEST_F(IniProfileFile, OversizedFileGivesDefaultsAndIsLeftAlone) {
  const std::string huge =
      "[Kelo Config]\nComm Port=7\n" + std::string(IniFileProfile::kMaxFileSize, ';') + "\n";
  Write(huge);
  IniFileProfile profile(path_);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 1);
  EXPECT_NE(profile.WriteProfileInt(kSection, kKey, 4), std::nullopt);
  EXPECT_EQ(Read(), huge);
}

TEST_F(IniProfileFile, FileAtTheSizeLimitIsRead) {
  std::string text = "[Kelo Config]\nComm Port=7\n";
  text += std::string(IniFileProfile::kMaxFileSize - text.size(), '\n');
  Write(text);
  IniFileProfile profile(path_);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 7);
}

TEST_F(IniProfileFile, DirectoryOrFifoInItsPlaceGivesDefaultsWithoutWaiting) {
  IniFileProfile profile(path_);
  ASSERT_EQ(mkfifo(path_.c_str(), 0600), 0);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 1);
  EXPECT_NE(profile.WriteProfileInt(kSection, kKey, 4), std::nullopt);
  ASSERT_EQ(unlink(path_.c_str()), 0);
  ASSERT_EQ(mkdir(path_.c_str(), 0700), 0);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 1);
  EXPECT_NE(profile.WriteProfileInt(kSection, kKey, 4), std::nullopt);
  EXPECT_TRUE(fs::is_directory(path_));
}

// --- Writing ---

struct WriteCase {
  std::string name;
  std::string before;
  std::string after;
};

class IniProfileWrite : public IniProfileFile, public testing::WithParamInterface<WriteCase> {};

TEST_P(IniProfileWrite, ReplacesOrAddsOnlyThePortLine) {
  Write(GetParam().before);
  IniFileProfile profile(path_);
  ASSERT_EQ(profile.WriteProfileInt(kSection, kKey, 5), std::nullopt);
  EXPECT_EQ(Read(), GetParam().after);
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 5);
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"kelo-configuration.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Files, IniProfileWrite,
    testing::Values(
        WriteCase{"KeepsOtherSectionsAndComments",
                  "; my adapters\n[Ports]\nCOM3=/dev/ttyACM0\n\n[Kelo Config]\nComm Port=1\n"
                  "Other=x\n",
                  "; my adapters\n[Ports]\nCOM3=/dev/ttyACM0\n\n[Kelo Config]\nComm Port=5\n"
                  "Other=x\n"},
        WriteCase{"KeepsCrLfLineEnds", "[Kelo Config]\r\nComm Port=1\r\n[Ports]\r\nCOM1=/dev/x\r\n",
                  "[Kelo Config]\r\nComm Port=5\r\n[Ports]\r\nCOM1=/dev/x\r\n"},
        WriteCase{"KeyOfAnyCaseIsReplaced", "[KELO CONFIG]\n comm port = 9 \n",
                  "[KELO CONFIG]\nComm Port=5\n"},
        WriteCase{"KeyAddedAtTheEndOfItsSection",
                  "[Kelo Config]\nOther=x\n\n[Ports]\nCOM3=/dev/y\n",
                  "[Kelo Config]\nOther=x\nComm Port=5\n\n[Ports]\nCOM3=/dev/y\n"},
        WriteCase{"SectionAddedAtTheEnd", "[Ports]\nCOM3=/dev/y",
                  "[Ports]\nCOM3=/dev/y\n[Kelo Config]\nComm Port=5\n"},
        WriteCase{"MalformedLinesKept", "garbage line\n[Kelo Config\n=\n",
                  "garbage line\n[Kelo Config\n=\n[Kelo Config]\nComm Port=5\n"},
        WriteCase{"EmptyFile", "", "[Kelo Config]\nComm Port=5\n"},
        WriteCase{"EachLineKeepsItsOwnEnd", "[Ports]\nCOM1=/dev/x\r\n[Kelo Config]\r\nOther=x\n",
                  "[Ports]\nCOM1=/dev/x\r\n[Kelo Config]\r\nOther=x\nComm Port=5\n"},
        // Windows Notepad begins its files with a byte-order mark.
        WriteCase{"ByteOrderMarkKept", "\xEF\xBB\xBF[Kelo Config]\r\nComm Port=2\r\n",
                  "\xEF\xBB\xBF[Kelo Config]\r\nComm Port=5\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(IniProfileFile, WriteCreatesMissingFoldersAndFile) {
  const std::string nested = (dir_ / "home" / ".config" / "kelo-configuration.ini").string();
  IniFileProfile profile(nested);
  ASSERT_EQ(profile.WriteProfileInt(kSection, kKey, 12), std::nullopt);
  EXPECT_EQ(ReadFrom(nested), "[Kelo Config]\nComm Port=12\n");
  EXPECT_EQ(IniFileProfile(nested).GetProfileInt(kSection, kKey, 1), 12);
}

TEST_F(IniProfileFile, WriteKeepsPermissionsAndFollowsASymbolicLink) {
  const fs::path real = dir_ / "dotfiles" / "kelo.ini";
  fs::create_directory(dir_ / "dotfiles");
  {
    std::ofstream out(real);
    out << "[Ports]\nCOM2=/dev/ttyS0\n";
  }
  fs::permissions(real, fs::perms(0640));
  fs::create_symlink(real, path_);
  IniFileProfile profile(path_);
  ASSERT_EQ(profile.WriteProfileInt(kSection, kKey, 3), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadFrom(real.string()), "[Ports]\nCOM2=/dev/ttyS0\n[Kelo Config]\nComm Port=3\n");
  EXPECT_EQ(fs::status(real).permissions(), fs::perms(0640));
}

TEST_F(IniProfileFile, DanglingLinkStaysALinkAndItsTargetIsCreated) {
  const fs::path real = dir_ / "kelo.ini";
  fs::create_symlink(real, path_);
  IniFileProfile profile(path_);
  ASSERT_EQ(profile.WriteProfileInt(kSection, kKey, 4), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(path_));
  EXPECT_EQ(ReadFrom(real.string()), "[Kelo Config]\nComm Port=4\n");
}

TEST_F(IniProfileFile, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  const std::string old = "[Ports]\nCOM3=/dev/ttyACM0\n[Kelo Config]\nComm Port=2\n";
  Write(old);
  // Files may grow to a few bytes only: the new text cannot be written, even by root.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit tiny = saved;
  tiny.rlim_cur = 8;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  IniFileProfile profile(path_);
  const auto failure = profile.WriteProfileInt(kSection, kKey, 7);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(ReasonOf(failure), path_ + ": " + std::strerror(EFBIG));
  EXPECT_EQ(Read(), old);
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"kelo-configuration.ini"});
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 2);
}

TEST_F(IniProfileFile, ReadOnlyFolderOrFileIsNotWritten) {
  const std::string old = "[Kelo Config]\nComm Port=2\n";
  Write(old);
  const auto writeAsUser = [&] {
    return AsUnprivilegedUser(
        [&] { return ReasonOf(IniFileProfile(path_).WriteProfileInt(kSection, kKey, 7)); });
  };
  fs::permissions(dir_, fs::perms(0555));
  EXPECT_EQ(writeAsUser(), path_ + ": " + std::strerror(EACCES));
  fs::permissions(dir_, fs::perms(0777));
  fs::permissions(path_, fs::perms(0444));
  EXPECT_EQ(writeAsUser(), path_ + ": " + std::strerror(EACCES));
  EXPECT_EQ(Read(), old);
  EXPECT_EQ(FilesIn(dir_), std::vector<std::string>{"kelo-configuration.ini"});
}

TEST_F(IniProfileFile, WriteUnderARegularFileFails) {
  Write("not a folder");
  IniFileProfile profile(path_ + "/kelo-configuration.ini");
  EXPECT_EQ(profile.GetProfileInt(kSection, kKey, 1), 1);
  EXPECT_NE(profile.WriteProfileInt(kSection, kKey, 7), std::nullopt);
  EXPECT_EQ(Read(), "not a folder");
}

}  // namespace
