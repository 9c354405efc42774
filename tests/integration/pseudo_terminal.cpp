#include "pseudo_terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

// Generous: only a broken test ever waits this long.
constexpr auto kPatience = std::chrono::seconds(5);
constexpr int kPollMs = 10;

}  // namespace

PseudoTerminal::PseudoTerminal() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
  char name[128];
  if (ptsname_r(master_, name, sizeof name) == 0) slave_ = name;
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

void PseudoTerminal::Write(const Bytes& bytes) {
  std::size_t done = 0;
  const auto deadline = Clock::now() + kPatience;
  while (done < bytes.size() && Clock::now() < deadline) {
    const ssize_t wrote = write(master_, bytes.data() + done, bytes.size() - done);
    if (wrote > 0) done += static_cast<std::size_t>(wrote);
    if (wrote < 0 && errno != EAGAIN && errno != EINTR) break;
    if (wrote <= 0) Wait(POLLOUT);
  }
  ASSERT_EQ(done, bytes.size());
}

Bytes PseudoTerminal::Read(std::size_t count) {
  Bytes got;
  const auto deadline = Clock::now() + kPatience;
  while (got.size() < count && Clock::now() < deadline) {
    uint8_t buffer[512];
    const std::size_t want = std::min(sizeof buffer, count - got.size());
    const ssize_t n = read(master_, buffer, want);
    if (n > 0) got.insert(got.end(), buffer, buffer + n);
    if (n < 0 && errno != EAGAIN && errno != EINTR) break;
    if (n <= 0) Wait(POLLIN);
  }
  return got;
}

Bytes PseudoTerminal::Pending() {
  Bytes got;
  uint8_t buffer[512];
  ssize_t n;
  while ((n = read(master_, buffer, sizeof buffer)) > 0) got.insert(got.end(), buffer, buffer + n);
  return got;
}

void PseudoTerminal::CloseMaster() {
  if (master_ >= 0) close(master_);
  master_ = -1;
}

void PseudoTerminal::Wait(short events) {
  pollfd watched{master_, events, 0};
  poll(&watched, 1, kPollMs);
}

bool WaitForInput(int fd, int count) {
  const auto deadline = Clock::now() + kPatience;
  while (Clock::now() < deadline) {
    int waiting = 0;
    if (ioctl(fd, FIONREAD, &waiting) != 0) return false;
    if (waiting >= count) return true;
    pollfd watched{fd, POLLIN, 0};
    poll(&watched, 1, kPollMs);
    if (waiting > 0) usleep(1000);  // some bytes there: poll would not wait
  }
  return false;
}
