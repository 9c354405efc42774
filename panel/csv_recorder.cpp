#include "panel/csv_recorder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "panel/saved_file.h"
#include "panel/telemetry_csv.h"

namespace {

constexpr const char* kNotRegularFile = "Not a regular file";

std::string Reason(int error) {
  return std::strerror(error);
}

// Why the operator's target may not be recorded to, looked at before anything is opened
// so that a refused file stays as it was.
std::optional<std::string> RefusalOf(const std::string& path) {
  if (path.empty()) return Reason(ENOENT);
  struct stat target {};
  if (stat(path.c_str(), &target) != 0) {
    return errno == ENOENT ? std::nullopt : std::optional(Reason(errno));
  }
  if (S_ISDIR(target.st_mode)) return Reason(EISDIR);
  if (!S_ISREG(target.st_mode)) return kNotRegularFile;
  if (access(path.c_str(), W_OK) != 0) return Reason(errno);
  return std::nullopt;
}

// Closes a file that will not be recorded to, and says why.
std::optional<std::string> Abandon(int fd, std::string reason) {
  close(fd);
  return reason;
}

}  // namespace

CsvRecorder::~CsvRecorder() {
  Stop();
}

std::optional<std::string> CsvRecorder::Start(const std::string& path) {
  Stop();
  if (auto refusal = RefusalOf(path)) return refusal;
  // Not blocking, and not truncating until the opened file is seen to be a regular one:
  // the target may have been swapped for a FIFO or a device since it was looked at.
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, kUsualFileMode);
  if (fd < 0) return Reason(errno);
  struct stat opened {};
  if (fstat(fd, &opened) != 0) return Abandon(fd, Reason(errno));
  if (!S_ISREG(opened.st_mode)) return Abandon(fd, kNotRegularFile);
  if (ftruncate(fd, 0) != 0) return Abandon(fd, Reason(errno));
  fd_ = fd;
  path_ = path;
  size_ = 0;
  return Write(TelemetryCsvHeader());
}

std::optional<std::string> CsvRecorder::Append(const TelemetrySample& sample) {
  if (!recording()) return Reason(EBADF);
  return Write(TelemetryCsvRow(sample));
}

std::optional<std::string> CsvRecorder::Stop() {
  if (!recording()) return std::nullopt;
  const int result = close(fd_);
  fd_ = -1;
  return result == 0 ? std::nullopt : std::optional(Reason(errno));
}

std::optional<std::string> CsvRecorder::Write(const std::string& record) {
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
      return Reason(error);
    }
    rest.remove_prefix(static_cast<std::size_t>(written));
  }
  size_ += static_cast<off_t>(record.size());
  return std::nullopt;
}
