#include "panel/saved_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// Links followed before giving up, as the kernel's own limit.
constexpr int kMaxLinkHops = 40;
constexpr const char* kTemporaryName = ".kelo-XXXXXX";

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Where the content finally goes: the end of a chain of symbolic links, whether or not
// that file exists yet (a dangling link stays a link, and its target is created), or
// the path itself.
std::optional<std::string> FinalPath(std::string path) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    char target[PATH_MAX];
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    if (length < 0) return path;  // not a link (or nothing there yet): the file itself
    if (static_cast<std::size_t>(length) == sizeof target) return std::nullopt;
    const std::string next(target, static_cast<std::size_t>(length));
    path = next.front() == '/' ? next : FolderOf(path) + "/" + next;
  }
  return std::nullopt;
}

const char* KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// Why an existing file may not be replaced, if it may not.
Outcome Refusal(const std::string& target, const struct stat& existing) {
  if (S_ISDIR(existing.st_mode)) return SystemFailure(EISDIR);
  if (!S_ISREG(existing.st_mode)) {
    return Failure{EINVAL,
                   std::string("It is ") + KindOf(existing.st_mode) + ", not a regular file"};
  }
  if (access(target.c_str(), W_OK) != 0) return SystemFailure(errno);
  return std::nullopt;
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
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

mode_t NewFileMode(unsigned requested) {
  const mode_t umaskValue = umask(0);
  umask(umaskValue);
  return static_cast<mode_t>(requested) & ~umaskValue;
}

// The whole save; with keptOpen, the saved file stays open and *keptOpen is its descriptor.
Outcome SaveWhole(const std::string& path, std::string_view content, unsigned newFileMode,
                  int* keptOpen) {
  if (path.empty()) return SystemFailure(ENOENT);
  const std::optional<std::string> target = FinalPath(path);
  if (!target) return SystemFailure(ELOOP);
  struct stat existing {};
  const bool exists = stat(target->c_str(), &existing) == 0;
  if (exists) {
    if (auto refusal = Refusal(*target, existing)) return refusal;
  }

  // A short name beside the target, so that a legal file name never becomes too long.
  const std::string folder = FolderOf(*target);
  std::string temporary = folder + "/" + kTemporaryName;
  const int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) return SystemFailure(errno);
  fchmod(fd, exists ? (existing.st_mode & 07777) : NewFileMode(newFileMode));

  int error = 0;
  if (!WriteAll(fd, content) || fsync(fd) != 0) error = errno;
  // A close that fails says the content may not be stored (as a network file system may).
  const bool keep = keptOpen != nullptr && error == 0;
  if (!keep && close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temporary.c_str(), target->c_str()) != 0) error = errno;
  if (error != 0) {
    if (keep) close(fd);
    unlink(temporary.c_str());
    return SystemFailure(error);
  }
  SyncFolder(folder);
  if (keep) *keptOpen = fd;
  return std::nullopt;
}

}  // namespace

Outcome SaveFileWhole(const std::string& path, std::string_view content, unsigned newFileMode) {
  return SaveWhole(path, content, newFileMode, nullptr);
}

Outcome SaveFileWholeKeptOpen(const std::string& path, std::string_view content, int& keptOpen) {
  return SaveWhole(path, content, kUsualFileMode, &keptOpen);
}

std::string SaveFailedMessage(const std::string& path, const Failure& failure) {
  return "The file could not be written:\n" + path + "\n" + failure.reason;
}
