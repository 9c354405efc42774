#include "support/child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>

extern char** environ;

namespace {

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra) {
  std::map<std::string, std::string> merged;
  auto add = [&](const std::string& entry) {
    const std::size_t equals = entry.find('=');
    merged[entry.substr(0, equals)] = entry;
  };
  for (char** e = environ; *e != nullptr; ++e) add(*e);
  for (const std::string& entry : extra) add(entry);
  std::vector<std::string> result;
  for (auto& [name, entry] : merged) result.push_back(entry);
  return result;
}

}  // namespace

ChildProcess::ChildProcess(std::vector<std::string> argv, std::vector<std::string> environment,
                           bool pipeInput) {
  std::vector<std::string> env = MergedEnvironment(environment);
  std::vector<char*> args;
  std::vector<char*> envp;
  for (std::string& a : argv) args.push_back(a.data());
  args.push_back(nullptr);
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);

  int out[2];
  int in[2] = {-1, -1};
  if (pipe2(out, O_CLOEXEC) != 0) return;
  if (pipeInput && pipe2(in, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  if (pipeInput) posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  output_ = out[0];
  if (pipeInput) {
    close(in[0]);
    input_ = in[1];
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (output_ >= 0) close(output_);
  if (input_ >= 0) close(input_);
}

bool ChildProcess::SendInputAndClose(const std::string& text) {
  if (input_ < 0) return false;
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(input_, text.data() + done, text.size() - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  close(input_);
  input_ = -1;
  return done == text.size();
}

bool ChildProcess::Fill(int timeoutMs) {
  if (ended_ || output_ < 0) return false;
  pollfd p{output_, POLLIN, 0};
  if (poll(&p, 1, timeoutMs) <= 0) return false;
  char chunk[4096];
  const ssize_t n = read(output_, chunk, sizeof chunk);
  if (n <= 0) {
    ended_ = true;
    return false;
  }
  buffer_.append(chunk, static_cast<std::size_t>(n));
  return true;
}

std::optional<std::string> ChildProcess::ReadLine(int timeoutMs) {
  const long long end = NowMs() + timeoutMs;
  while (true) {
    const std::size_t newline = buffer_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffer_.substr(0, newline);
      buffer_.erase(0, newline + 1);
      return line;
    }
    const long long left = end - NowMs();
    if (left <= 0 || (!Fill(static_cast<int>(left)) && ended_)) return std::nullopt;
  }
}

std::string ChildProcess::ReadAll(int timeoutMs) {
  const long long end = NowMs() + timeoutMs;
  while (!ended_ && NowMs() < end) Fill(static_cast<int>(std::max(1LL, end - NowMs())));
  std::string all;
  all.swap(buffer_);
  return all;
}

void ChildProcess::Signal(int signal) {
  if (pid_ > 0) kill(pid_, signal);
}

std::optional<int> ChildProcess::Wait(int timeoutMs) {
  const long long end = NowMs() + timeoutMs;
  while (pid_ > 0) {
    int status = 0;
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    if (NowMs() >= end) return std::nullopt;
    usleep(10'000);
  }
  return std::nullopt;
}
