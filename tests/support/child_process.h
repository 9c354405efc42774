#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <vector>

// A program started by a test, with its standard output (and optionally standard input)
// on pipes. Killed when the object goes, so a failing test leaves nothing running.
class ChildProcess {
 public:
  // `environment` entries ("NAME=value") are added to this process's environment.
  ChildProcess(std::vector<std::string> argv, std::vector<std::string> environment = {},
               bool pipeInput = false);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // Writes to the child's standard input, then closes it.
  bool SendInputAndClose(const std::string& text);
  // One line of standard output, waiting at most timeoutMs; nothing at the end or on time-out.
  std::optional<std::string> ReadLine(int timeoutMs);
  // All remaining standard output until the child closes it, waiting at most timeoutMs.
  std::string ReadAll(int timeoutMs);
  void Signal(int signal);
  // The exit status once the child has ended, waiting at most timeoutMs.
  std::optional<int> Wait(int timeoutMs);

 private:
  bool Fill(int timeoutMs);

  pid_t pid_ = -1;
  int output_ = -1;
  int input_ = -1;
  std::string buffer_;
  bool ended_ = false;
};
