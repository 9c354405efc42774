#include "panel/csv_recorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "panel/saved_file.h"
#include "panel/telemetry_csv.h"

namespace {

// Closes a file that will not be recorded to, and says why.
Outcome Abandon(int fd, Failure failure) {
  close(fd);
  return failure;
}

}  // namespace

CsvRecorder::~CsvRecorder() {
  Stop();
}

Outcome CsvRecorder::Start(const std::string& path) {
  Stop();
  if (auto refusal = WriteOverRefusal(path)) return refusal;
  // Not blocking, and not truncating until the opened file is seen to be a regular one:
  // the target may have been swapped for a FIFO or a device since it was looked at.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, kUsualFileMode);
  if (fd < 0) return SystemFailure(errno);
  struct stat opened {};
  if (fstat(fd, &opened) != 0) return Abandon(fd, SystemFailure(errno));
  if (!S_ISREG(opened.st_mode)) return Abandon(fd, {EINVAL, "It is not a regular file"});
  if (ftruncate(fd, 0) != 0) return Abandon(fd, SystemFailure(errno));
  fd_ = fd;
  path_ = path;
  size_ = 0;
  return Write(TelemetryCsvHeader());
}

Outcome CsvRecorder::Append(const TelemetrySample& sample) {
  if (!recording()) return SystemFailure(EBADF);
  return Write(TelemetryCsvRow(sample));
}

Outcome CsvRecorder::Stop() {
  if (!recording()) return std::nullopt;
  const int result = close(fd_);
  fd_ = -1;
  return result == 0 ? std::nullopt : Outcome(SystemFailure(errno));
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
