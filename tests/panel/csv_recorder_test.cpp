#include "panel/csv_recorder.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "panel/telemetry_csv.h"
#include "support/outcome_text.h"
#include "support/unprivileged.h"

namespace {

namespace fs = std::filesystem;

// Rows are checked to the byte beside TelemetryCsvRow; here what matters is which of
// them reach the file.
const auto kFirst = TelemetrySample{1'796'645'447'123, 1'796'645'447, -3};
const auto kSecond = TelemetrySample{1'796'645'448'803, 1'796'645'448, -4};
const std::string kHeaderBytes = TelemetryCsvHeader();
const std::string kFirstBytes = TelemetryCsvRow(kFirst);
const std::string kSecondBytes = TelemetryCsvRow(kSecond);

class Recorder : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "kelo-record-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  fs::path dir_;
};

TEST_F(Recorder, WritesHeaderThenEachRowAsItArrives) {
  const fs::path path = dir_ / "telemetry.csv";
  const mode_t savedUmask = umask(027);
  CsvRecorder recorder;
  const auto started = recorder.Start(path.string());
  umask(savedUmask);
  ASSERT_EQ(started, std::nullopt);
  EXPECT_TRUE(recorder.recording());
  EXPECT_EQ(recorder.path(), path.string());
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0640));
  EXPECT_EQ(ReadWhole(path), kHeaderBytes);

  // Each row is in the file at once, while the recording goes on.
  EXPECT_EQ(recorder.Append(kFirst), std::nullopt);
  EXPECT_EQ(ReadWhole(path), kHeaderBytes + kFirstBytes);
  EXPECT_EQ(recorder.Append(kSecond), std::nullopt);
  EXPECT_EQ(ReadWhole(path), kHeaderBytes + kFirstBytes + kSecondBytes);

  EXPECT_EQ(recorder.Stop(), std::nullopt);
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(recorder.path(), path.string());
  EXPECT_EQ(ReasonOf(recorder.Append(kFirst)), std::strerror(EBADF));
  EXPECT_EQ(ReadWhole(path), kHeaderBytes + kFirstBytes + kSecondBytes);
}

TEST_F(Recorder, ReplacesAnOldFileAndWritesThroughASymbolicLink) {
  const fs::path target = dir_ / "old.csv";
  std::ofstream(target) << std::string(5000, 'x');
  fs::permissions(target, fs::perms(0600));
  const fs::path link = dir_ / "link.csv";
  fs::create_symlink(target, link);

  CsvRecorder recorder;
  ASSERT_EQ(recorder.Start(link.string()), std::nullopt);
  ASSERT_EQ(recorder.Append(kFirst), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadWhole(target), kHeaderBytes + kFirstBytes);
  EXPECT_EQ(fs::status(target).permissions(), fs::perms(0600));

  // A new Start ends the recording in progress and begins the other file.
  const fs::path other = dir_ / "other.csv";
  ASSERT_EQ(recorder.Start(other.string()), std::nullopt);
  ASSERT_EQ(recorder.Append(kSecond), std::nullopt);
  EXPECT_EQ(ReadWhole(target), kHeaderBytes + kFirstBytes);
  EXPECT_EQ(ReadWhole(other), kHeaderBytes + kSecondBytes);
}

TEST_F(Recorder, RefusesTargetsThatAreNoFileOrCannotBeCreated) {
  const fs::path fifo = dir_ / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path device = dir_ / "device.csv";
  fs::create_symlink("/dev/full", device);
  const struct {
    std::string path;
    std::string reason;
  } cases[] = {
      {fifo.string(), "It is a FIFO, not a regular file"},
      {device.string(), "It is a device, not a regular file"},
      {dir_.string(), std::strerror(EISDIR)},
      {(dir_ / "missing" / "t.csv").string(), std::strerror(ENOENT)},
      {"", std::strerror(ENOENT)},
  };
  for (const auto& c : cases) {
    CsvRecorder recorder;
    EXPECT_EQ(ReasonOf(recorder.Start(c.path)), c.reason) << c.path;
    EXPECT_FALSE(recorder.recording()) << c.path;
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
}

TEST_F(Recorder, RefusesAReadOnlyFileAndLeavesItUntouched) {
  const fs::path path = dir_ / "kept.csv";
  std::ofstream(path) << "earlier recording\r\n";
  fs::permissions(path, fs::perms(0444));
  fs::permissions(dir_, fs::perms(0755));
  EXPECT_EQ(AsUnprivilegedUser([&] { return ReasonOf(CsvRecorder().Start(path)); }),
            std::strerror(EACCES));
  EXPECT_EQ(ReadWhole(path), "earlier recording\r\n");
}

// The file size limit makes a write fall short and the next one fail, as a full disk
// does; the signal it raises is ignored, as the write's error is what the panel reads.
class UnderFileSizeLimit {
 public:
  explicit UnderFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    savedSignal_ = signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, saved_.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~UnderFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    signal(SIGXFSZ, savedSignal_);
  }

 private:
  rlimit saved_{};
  sighandler_t savedSignal_ = SIG_DFL;
};

TEST_F(Recorder, StartThatFailsLeavesNoFileAndAnOldOneAsItWas) {
  const fs::path old = dir_ / "old.csv";
  std::ofstream(old) << "earlier recording\r\n";
  CsvRecorder recorder;
  {
    UnderFileSizeLimit limit(kHeaderBytes.size() - 1);
    EXPECT_EQ(ReasonOf(recorder.Start((dir_ / "new.csv").string())), std::strerror(EFBIG));
    EXPECT_EQ(ReasonOf(recorder.Start(old.string())), std::strerror(EFBIG));
  }
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
  EXPECT_EQ(ReadWhole(old), "earlier recording\r\n");
}

TEST_F(Recorder, StopsWhenItsFileIsRemovedOrReplaced) {
  const fs::path path = dir_ / "telemetry.csv";
  fs::create_symlink(path, dir_ / "link.csv");
  for (const bool replaced : {false, true}) {
    CsvRecorder recorder;
    ASSERT_EQ(recorder.Start(path.string()), std::nullopt);
    EXPECT_TRUE(recorder.Records(path.string()) && recorder.Records((dir_ / "link.csv").string()));
    fs::remove(path);
    if (replaced) std::ofstream(path) << "another file";
    EXPECT_FALSE(recorder.Records(path.string()));
    EXPECT_EQ(ReasonOf(recorder.Append(kFirst)),
              replaced ? "It was replaced by another file while recording"
                       : "It was removed while recording");
    EXPECT_FALSE(recorder.recording());
  }
}

TEST_F(Recorder, FailingWriteStopsWithReasonAndKeepsWholeRows) {
  const fs::path path = dir_ / "full.csv";
  CsvRecorder recorder;
  Outcome second;
  {
    UnderFileSizeLimit limit(kHeaderBytes.size() + kFirstBytes.size() + 10);
    ASSERT_EQ(recorder.Start(path.string()), std::nullopt);
    ASSERT_EQ(recorder.Append(kFirst), std::nullopt);
    second = recorder.Append(kSecond);
  }
  EXPECT_EQ(ReasonOf(second), std::strerror(EFBIG));
  EXPECT_FALSE(recorder.recording());
  EXPECT_EQ(ReadWhole(path), kHeaderBytes + kFirstBytes);
}

}  // namespace
