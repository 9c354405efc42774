#include "panel/csv_recorder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "panel/saved_file.h"
#include "panel/telemetry_csv.h"

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

}  // namespace

CsvRecorder::~CsvRecorder() {
  Stop();
}

Outcome CsvRecorder::Start(const std::string& path) {
  Stop();
  // The header is saved as every file is, whole or not at all, so a start that fails
  // leaves no file behind and an old file as it was.
  const std::string header = TelemetryCsvHeader();
  int fd = -1;
  if (auto failure = SaveFileWholeKeptOpen(path, header, fd)) return failure;
  fd_ = fd;
  path_ = path;
  size_ = static_cast<off_t>(header.size());
  return std::nullopt;
}

Outcome CsvRecorder::Append(const TelemetrySample& sample) {
  if (!recording()) return SystemFailure(EBADF);
  if (auto elsewhere = NoLongerAtPath()) {
    Stop();
    return elsewhere;
  }
  return Write(TelemetryCsvRow(sample));
}

bool CsvRecorder::Records(const std::string& path) const {
  struct stat written {};
  struct stat named {};
  return recording() && fstat(fd_, &written) == 0 && stat(path.c_str(), &named) == 0 &&
         SameFile(written, named);
}

Outcome CsvRecorder::Stop() {
  if (!recording()) return std::nullopt;
  const int result = close(fd_);
  fd_ = -1;
  return result == 0 ? std::nullopt : Outcome(SystemFailure(errno));
}

Outcome CsvRecorder::NoLongerAtPath() const {
  struct stat written {};
  if (fstat(fd_, &written) != 0) return SystemFailure(errno);
  struct stat named {};
  if (stat(path_.c_str(), &named) != 0) {
    if (errno != ENOENT) return SystemFailure(errno);
    return Failure{ENOENT, "It was removed while recording"};
  }
  if (!SameFile(written, named)) {
    return Failure{ESTALE, "It was replaced by another file while recording"};
  }
  return std::nullopt;
}

Outcome CsvRecorder::Write(const std::string& record) {
  std::string_view rest = record;
  while (!rest.empty()) {
    const ssize_t written = write(fd_, rest.data(), rest.size());
    if (written < 0 && errno == EINTR) continue;
    // A short write is followed by the rest, which then fails with the cause (disk
    // full, file size limit); a write of nothing without an error is no progress.
    if (written <= 0) {
      const int error = written < 0 ? errno : EIO;
      // A part of a record would read as a damaged row; the file ends at the last whole one.
      static_cast<void>(ftruncate(fd_, size_));
      Stop();
      return SystemFailure(error);
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  size_ += static_cast<off_t>(record.size());
  return std::nullopt;
}
