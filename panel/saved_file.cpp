#include "panel/saved_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

std::string Reason(int error) { return std::strerror(error); }

// Where the content finally goes: the target of a symbolic link, or the path itself.
std::string FinalPath(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  char* resolved = realpath(path.c_str(), nullptr);
  if (resolved == nullptr) return path;
  std::string target(resolved);
  free(resolved);
  return target;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// So that the rename itself survives a crash.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::optional<std::string> SaveFileWhole(const std::string& path, std::string_view content,
                                         unsigned newFileMode) {
  if (path.empty()) return Reason(ENOENT);
  const std::string target = FinalPath(path);
  struct stat existing {};
  if (stat(target.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return Reason(EISDIR);

  std::string temporary = target + ".XXXXXX";
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return Reason(errno);
  const mode_t umaskValue = umask(0);
  umask(umaskValue);
  const mode_t mode = stat(target.c_str(), &existing) == 0
                          ? (existing.st_mode & 07777)
                          : (static_cast<mode_t>(newFileMode) & ~umaskValue);
  fchmod(fd, mode);

  const bool written = WriteAll(fd, content) && fsync(fd) == 0;
  const int writeError = errno;
  if (close(fd) != 0 || !written) {
    const int error = written ? errno : writeError;
    unlink(temporary.c_str());
    return Reason(error);
  }
  if (rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    unlink(temporary.c_str());
    return Reason(error);
  }
  SyncFolderOf(target);
  return std::nullopt;
}

std::string SaveFailedMessage(const std::string& path, const std::string& reason) {
  return "The file could not be written:\n" + path + "\n" + reason;
}
