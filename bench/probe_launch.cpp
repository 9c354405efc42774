// kelo-probe-launch PROGRAM [ARG]...: notes the time (CLOCK_MONOTONIC) in
// KELO_PROBE_T0_NS and executes PROGRAM in this same process, so the probe in PROGRAM
// can count its start-up from the exec on, loading of its libraries included.

#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: kelo-probe-launch PROGRAM [ARG]...\n");
    return 2;
  }
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  const long long ns = static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
  setenv("KELO_PROBE_T0_NS", std::to_string(ns).c_str(), 1);
  execvp(argv[1], argv + 1);
  std::perror(argv[1]);
  return 127;
}
