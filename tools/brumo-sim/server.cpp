#include "tools/brumo-sim/server.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstring>

namespace sim {
namespace {

enum class ReadResult { kOk, kError };

// Takes everything waiting on the controller side.
ReadResult ReadAvailable(int fd, LineSession& session, int64_t nowMs) {
  std::array<uint8_t, 256> buffer{};
  for (;;) {
    const ssize_t count = read(fd, buffer.data(), buffer.size());
    if (count > 0) {
      session.Receive(buffer.data(), static_cast<std::size_t>(count), nowMs);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return ReadResult::kOk;
    return ReadResult::kError;
  }
}

// Writes what the line takes now; the rest waits for POLLOUT.
bool WriteSome(int fd, Bytes& output) {
  while (!output.empty()) {
    const ssize_t count = write(fd, output.data(), output.size());
    if (count > 0) {
      output.erase(output.begin(), output.begin() + count);
      continue;
    }
    if (count < 0 && errno == EINTR) continue;
    return count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
  }
  return true;
}

int TimeoutUntil(std::optional<int64_t> deadline, int64_t nowMs) {
  if (!deadline) return -1;
  return static_cast<int>(std::clamp<int64_t>(*deadline - nowMs, 0, INT_MAX));
}

}  // namespace

ServeEnd Serve(int controllerFd, int signalFd, LineSession& session, const MilliClock& clock,
               std::optional<int64_t> hangupAfterMs, const LineSession::Logger& log) {
  std::optional<int64_t> hangupAt;
  if (hangupAfterMs) hangupAt = clock() + *hangupAfterMs;
  Bytes output;
  for (;;) {
    const int64_t now = clock();
    if (hangupAt && now >= *hangupAt) return ServeEnd::kHangup;
    const Bytes due = session.TakeDue(now);
    output.insert(output.end(), due.begin(), due.end());
    if (!WriteSome(controllerFd, output)) {
      log(std::string("write: ") + std::strerror(errno));
      return ServeEnd::kError;
    }

    std::optional<int64_t> deadline = session.NextDueMs();
    if (hangupAt) deadline = std::min(deadline.value_or(*hangupAt), *hangupAt);
    std::array<pollfd, 2> fds{};
    fds[0] = {signalFd, POLLIN, 0};
    fds[1] = {controllerFd, static_cast<short>(POLLIN | (output.empty() ? 0 : POLLOUT)), 0};
    if (poll(fds.data(), fds.size(), TimeoutUntil(deadline, now)) < 0) {
      if (errno == EINTR) continue;
      log(std::string("poll: ") + std::strerror(errno));
      return ServeEnd::kError;
    }
    if ((fds[0].revents & POLLIN) != 0) {
      signalfd_siginfo info{};
      if (read(signalFd, &info, sizeof info) == sizeof info)
        log(std::string("stopped by ") + strsignal(static_cast<int>(info.ssi_signo)));
      return ServeEnd::kSignal;
    }
    if ((fds[1].revents & POLLIN) != 0) {
      if (ReadAvailable(controllerFd, session, clock()) == ReadResult::kError) {
        log(std::string("read: ") + std::strerror(errno));
        return ServeEnd::kError;
      }
    } else if ((fds[1].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
      // We hold the terminal side ourselves, so this means the pair itself broke.
      log("pseudo-terminal failed");
      return ServeEnd::kError;
    }
  }
}

}  // namespace sim
