#include "e2e_support.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "support/child_process.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStartMs = 10'000;
constexpr int kRunMs = 150'000;

std::vector<TraceLine> ParseTrace(const std::string& text) {
  std::vector<TraceLine> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    TraceLine parsed;
    words >> parsed.tick >> parsed.kind;
    std::getline(words, parsed.rest);
    if (!parsed.rest.empty() && parsed.rest.front() == ' ') parsed.rest.erase(0, 1);
    lines.push_back(parsed);
  }
  return lines;
}

fs::path FreshDirectory() {
  static int runs = 0;
  const fs::path dir = fs::temp_directory_path() /
                       ("kelo-e2e-" + std::to_string(getpid()) + "-" + std::to_string(++runs));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

}  // namespace

std::vector<std::string> BatchRun::All(const std::string& kind) const {
  std::vector<std::string> found;
  for (const TraceLine& line : lines) {
    if (line.kind == kind) found.push_back(line.rest);
  }
  return found;
}

std::vector<int> BatchRun::SentCodes() const {
  std::vector<int> codes;
  for (const std::string& bytes : All("tx")) {
    if (bytes.size() >= 8) codes.push_back(std::stoi(bytes.substr(6, 2), nullptr, 16));
  }
  return codes;
}

std::string BatchRun::LastText(int id) const {
  const std::string prefix = std::to_string(id) + " \"";
  std::string last;
  for (const std::string& rest : All("text")) {
    if (rest.starts_with(prefix))
      last = rest.substr(prefix.size(), rest.size() - prefix.size() - 1);
  }
  return last;
}

bool BatchRun::HasLine(const std::string& kind, const std::string& rest) const {
  for (const TraceLine& line : lines) {
    if (line.kind == kind && line.rest == rest) return true;
  }
  return false;
}

std::vector<std::string> ListAdditions(const BatchRun& run) {
  std::vector<std::string> added;
  for (const std::string& rest : run.All("list")) {
    const std::string prefix = "1055 add \"";
    if (rest.starts_with(prefix))
      added.push_back(rest.substr(prefix.size(), rest.size() - prefix.size() - 1));
  }
  return added;
}

BatchRun RunAgainstSimulator(const std::vector<std::string>& simOptions,
                             const std::string& script) {
  BatchRun run;
  std::vector<std::string> simArgs = {BRUMO_SIM_PATH};
  simArgs.insert(simArgs.end(), simOptions.begin(), simOptions.end());
  ChildProcess sim(simArgs);
  if (!sim.Started()) {
    ADD_FAILURE() << "brumo-sim did not start";
    return run;
  }
  const auto device = sim.ReadLine(kStartMs);
  if (!device) {
    ADD_FAILURE() << "brumo-sim printed no device path";
    return run;
  }
  run.simDevice = *device;
  BatchRun batch = RunBatchOn(*device, script);
  batch.simDevice = run.simDevice;
  return batch;
}

BatchRun RunBatchOn(const std::string& device, const std::string& script, bool unprivileged) {
  BatchRun run;
  const fs::path dir = FreshDirectory();
  std::ofstream(dir / "kelo-configuration.ini")
      << "[Kelo Config]\nComm Port=1\n[Ports]\nCOM1=" << device << "\n";
  std::ofstream(dir / "script") << script;
  std::vector<std::string> command = {KELO_BATCH_PATH, (dir / "script").string()};
  if (unprivileged && geteuid() == 0) {
    // As "nobody", who may read the folder and write its profile.
    fs::permissions(dir, fs::perms::all);
    fs::permissions(dir / "kelo-configuration.ini", fs::perms::all);
    command.insert(command.begin(),
                   {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"});
  }
  ChildProcess batch(command, {"XDG_CONFIG_HOME=" + dir.string(), "TZ=UTC"});
  const std::string trace = batch.ReadAll(kRunMs);
  run.exitStatus = batch.Wait(kStartMs).value_or(-1);
  run.lines = ParseTrace(trace);
  fs::remove_all(dir);
  return run;
}
