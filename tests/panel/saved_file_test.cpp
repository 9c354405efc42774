// The whole-file writer that saves the settings report, the event log and the profile,
// on the real file system.

#include "panel/saved_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "support/outcome_text.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SavedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kelo-saved-" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  // Nothing but the named entries is left in the folder (no temporary file).
  std::size_t Entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

struct RefusedCase {
  const char* name;
  std::function<fs::path(const fs::path& dir)> place;  // makes the target, gives the path
  std::string reason;
};

class SaveRefused : public SavedFile, public ::testing::WithParamInterface<RefusedCase> {};

// What is not a regular file is never replaced, and the operator is told why.
TEST_P(SaveRefused, LeavesTheTargetAsItWas) {
  const fs::path path = GetParam().place(dir_);
  const fs::file_type before = fs::symlink_status(path).type();
  const auto entries = Entries();
  EXPECT_EQ(ReasonOf(SaveFileWhole(path.string(), "report\r\n")), GetParam().reason);
  EXPECT_EQ(fs::symlink_status(path).type(), before);
  EXPECT_EQ(Entries(), entries);
}

INSTANTIATE_TEST_SUITE_P(Targets, SaveRefused,
                         ::testing::Values(RefusedCase{"Fifo",
                                                       [](const fs::path& dir) {
                                                         mkfifo((dir / "pipe").c_str(), 0666);
                                                         return dir / "pipe";
                                                       },
                                                       "It is a FIFO, not a regular file"},
                                           RefusedCase{"DeviceThroughALink",
                                                       [](const fs::path& dir) {
                                                         fs::create_symlink("/dev/null",
                                                                            dir / "null");
                                                         return dir / "null";
                                                       },
                                                       "It is a device, not a regular file"},
                                           RefusedCase{"Directory",
                                                       [](const fs::path& dir) {
                                                         fs::create_directory(dir / "folder");
                                                         return dir / "folder";
                                                       },
                                                       std::strerror(EISDIR)},
                                           RefusedCase{"LinkLoop",
                                                       [](const fs::path& dir) {
                                                         fs::create_symlink("loop", dir / "loop");
                                                         return dir / "loop";
                                                       },
                                                       std::strerror(ELOOP)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SavedFile, ReadOnlyFileIsNotReplaced) {
  const fs::path path = dir_ / "report.txt";
  std::ofstream(path) << "old";
  fs::permissions(path, fs::perms(0444));
  fs::permissions(dir_, fs::perms(0777));  // the folder itself would allow a rename
  const std::string said =
      AsUnprivilegedUser([&] { return ReasonOf(SaveFileWhole(path.string(), "new")); });
  EXPECT_EQ(said, std::strerror(EACCES));
  EXPECT_EQ(ReadWhole(path), "old");
  EXPECT_EQ(Entries(), 1u);
}

TEST_F(SavedFile, ReplacedFileKeepsItsPermissionBits) {
  const fs::path path = dir_ / "report.txt";
  std::ofstream(path) << "old";
  fs::permissions(path, fs::perms(0640));
  ASSERT_EQ(SaveFileWhole(path.string(), "new"), std::nullopt);
  EXPECT_EQ(ReadWhole(path), "new");
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
}

TEST_F(SavedFile, LinksAreWrittenThroughAndADanglingLinkGetsItsTarget) {
  std::ofstream(dir_ / "target.txt") << "old";
  fs::create_symlink("target.txt", dir_ / "link.txt");
  fs::create_symlink(dir_ / "made.txt", dir_ / "dangling.txt");
  ASSERT_EQ(SaveFileWhole((dir_ / "link.txt").string(), "through"), std::nullopt);
  ASSERT_EQ(SaveFileWhole((dir_ / "dangling.txt").string(), "made"), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.txt"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "dangling.txt"));
  EXPECT_EQ(ReadWhole(dir_ / "target.txt"), "through");
  EXPECT_EQ(ReadWhole(dir_ / "made.txt"), "made");
  EXPECT_EQ(Entries(), 4u);
}

TEST_F(SavedFile, LongestLegalNameSaves) {
  const fs::path path = dir_ / std::string(255, 'n');
  ASSERT_EQ(SaveFileWhole(path.string(), "long"), std::nullopt);
  EXPECT_EQ(ReadWhole(path), "long");
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
