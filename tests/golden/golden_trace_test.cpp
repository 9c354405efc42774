// Golden traces: scripts of operator actions run by the headless panel against the
// simulated machine on an in-memory line, on a clock the test owns. The whole trace
// (every frame, every screen change, in order and by tick), the files saved and the
// profile at the end must stay exactly as recorded in expected/.
//
// To record them anew after a deliberate change of behaviour:
//   KELO_GOLDEN_RECORD=1 build/tests/golden_tests

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "batch_runner.h"
#include "batch_script.h"
#include "golden/golden_line.h"
#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "tools/brumo-sim/options.h"
#include "trace.h"

namespace fs = std::filesystem;

namespace {

const fs::path kGoldenDir = GOLDEN_DIR;

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

// Everything a run leaves: its trace, then each file saved in $OUT, then the profile.
std::string RunScript(const std::string& name) {
  const fs::path out = fs::temp_directory_path() / ("kelo-golden-" + std::to_string(getpid()));
  fs::remove_all(out);
  fs::create_directories(out);
  std::string script = ReadWhole(kGoldenDir / "scripts" / (name + ".script"));
  ReplaceAll(script, "$OUT", out.string());
  const LineSetup setup = ReadHeader(script);

  GoldenClock clock;
  const sim::ParsedOptions options = sim::ParseOptions(setup.simOptions, GoldenClock::kStartOfDay);
  EXPECT_EQ(options.error, "");
  sim::BrumoMachine machine(options.options.machine, [&clock] { return clock.Ms(); });
  sim::LineSession line(machine, options.options.faults);
  GoldenPort goldenPort(line, clock);
  goldenPort.Unplug(setup.unplugMs, setup.replugMs);

  std::istringstream scriptIn(script);
  const ParsedScript parsed = ParseScript(scriptIn);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    ADD_FAILURE() << name << " line " << error->line << ": " << error->message;
    return {};
  }
  MemoryProfile profile;
  profile.values["Ports/COM1"] = "/dev/golden";
  std::ostringstream traced;
  {
    Trace trace(traced);
    GoldenHost host(trace, profile, clock);
    TracingPort port(goldenPort, trace);
    CKeloConfigurationDlg panel(host, port);
    trace.Attach(panel);
    BatchRunner runner(panel, host, trace, [&clock](long long ms) {
      clock.micros = std::max<int64_t>(clock.micros, ms * 1000);
    });
    runner.Run(std::get<std::vector<Action>>(parsed));
  }

  std::string result = traced.str();
  std::vector<fs::path> saved;
  for (const auto& entry : fs::directory_iterator(out)) saved.push_back(entry.path());
  std::sort(saved.begin(), saved.end());
  for (const fs::path& file : saved) {
    // An archive's bytes are checked by the bundle's own test; here, that it was made.
    const bool archive = file.extension() == ".zip";
    result += "=== file " + file.filename().string() + "\n" +
              (archive ? "(zip archive)" : ReadWhole(file)) + "\n";
  }
  for (const auto& [key, value] : profile.values)
    result += "=== profile " + key + "=" + value + "\n";
  ReplaceAll(result, out.string(), "$OUT");
  fs::remove_all(out);
  return result;
}

std::vector<std::string> ScriptNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(kGoldenDir / "scripts")) {
    if (entry.path().extension() == ".script") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class GoldenTrace : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenTrace, IsUnchanged) {
  const std::string name = GetParam();
  const std::string result = RunScript(name);
  const fs::path expected = kGoldenDir / "expected" / (name + ".golden");
  if (std::getenv("KELO_GOLDEN_RECORD") != nullptr) {
    std::ofstream(expected, std::ios::binary) << result;
    GTEST_SKIP() << "recorded " << expected;
  }
  ASSERT_TRUE(fs::exists(expected)) << "no recording; run with KELO_GOLDEN_RECORD=1";
  const std::string recorded = ReadWhole(expected);
  if (result == recorded) return;
  // The first line that differs, so a failure says where behaviour changed.
  std::istringstream got(result), want(recorded);
  std::string gotLine, wantLine;
  int number = 0;
  while (true) {
    ++number;
    const bool moreGot = static_cast<bool>(std::getline(got, gotLine));
    const bool moreWant = static_cast<bool>(std::getline(want, wantLine));
    if (!moreGot && !moreWant) break;
    if (gotLine != wantLine || moreGot != moreWant) {
      FAIL() << name << ": line " << number << " differs\n  recorded: " << wantLine
             << "\n  now:      " << gotLine;
    }
  }
  FAIL() << name << ": differs";
}

INSTANTIATE_TEST_SUITE_P(Scripts, GoldenTrace, ::testing::ValuesIn(ScriptNames()),
                         [](const auto& info) {
                           std::string id = info.param;
                           std::replace(id.begin(), id.end(), '-', '_');
                           return id;
                         });

}  // namespace
