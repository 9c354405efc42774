// Runs an operator's script against the simulated machine on the in-memory line, as
// kelo-batch runs one, and checks after every tick and every action what must always
// hold. The input is a script of kelo-batch's actions under the golden scripts' header:
// "# sim: OPTIONS" gives the machine's blocks and name (--settings, --calibration,
// --name) and its faults (--short, --silent, --garbage, --wrong-code, ...), "# unplug:
// FROM TO" pulls the adapter out for a while. A line that does not parse is skipped, so
// mutations of the golden scripts, which seed the corpus, stay runnable. Every path the
// script names is taken inside a folder of the run's own.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "batch_runner.h"
#include "batch_script.h"
#include "golden/golden_line.h"
#include "link/command_codes.h"
#include "panel/panel_dialog.h"
#include "resources/control_ids.h"
#include "support/fake_host.h"
#include "tools/brumo-sim/options.h"
#include "trace.h"

namespace fs = std::filesystem;

namespace {

constexpr long kLastTick = 1500;  // bounds a run: about three minutes of the panel's time
constexpr int kLastCode = 27;

// Stops the run with the invariant that failed; libFuzzer keeps the input.
void Require(bool holds, const char* invariant) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", invariant);
  std::abort();
}

// Whether an action can change what frames 4 and 8 carry.
bool ChangesSettings(const Action& action) {
  switch (action.kind) {
    case ActionKind::kSet:
    case ActionKind::kType:
    case ActionKind::kSelect:
    case ActionKind::kEnterText:
    case ActionKind::kLoadSettings:
      return true;
    case ActionKind::kClick:
      return action.id != ids::kWriteButton && action.id != ids::kReadButton &&
             action.id != ids::kConnectButton;
    default:
      return false;
  }
}

bool NamesAPath(const Action& action) {
  return action.kind == ActionKind::kSavePath || action.kind == ActionKind::kRecord ||
         action.kind == ActionKind::kExportCsv || action.kind == ActionKind::kBundle ||
         action.kind == ActionKind::kSaveSettings || action.kind == ActionKind::kCompareSettings ||
         action.kind == ActionKind::kLoadSettings;
}

// The script's path inside the run's folder: "$OUT" and leading slashes dropped, no way
// up and out of it.
std::string Inside(const fs::path& folder, const std::string& path) {
  std::string rest = path.starts_with("$OUT") ? path.substr(4) : path;
  std::replace(rest.begin(), rest.end(), '\0', '_');  // no path on the system has one
  fs::path inside = folder;
  for (const fs::path& part : fs::path(rest).relative_path()) {
    if (part != ".." && part != ".") inside /= part;
  }
  return inside.string();
}

// Line by line, so that one bad line does not lose the rest.
std::vector<Action> ReadActions(const std::string& script, const fs::path& folder) {
  std::vector<Action> actions;
  std::istringstream in(script);
  for (std::string line; std::getline(in, line);) {
    std::istringstream one(line);
    const ParsedScript parsed = ParseScript(one);
    if (const auto* read = std::get_if<std::vector<Action>>(&parsed)) {
      for (Action action : *read) {
        action.tick = std::clamp(action.tick, 0L, kLastTick);
        if (NamesAPath(action)) action.text = Inside(folder, action.text);
        actions.push_back(action);
      }
    }
  }
  actions.push_back({0, kLastTick, ActionKind::kQuit, 0, 0, {}, {}});
  return actions;
}

// The line as the panel uses it: each request whole, with a code it has.
class CheckedPort : public SerialPort {
 public:
  explicit CheckedPort(SerialPort& port) : port_(port) {}

  bool OpenPort(const std::string& device) override { return port_.OpenPort(device); }
  bool ConfigurePort() override { return port_.ConfigurePort(); }
  bool ClosePort() override { return port_.ClosePort(); }
  bool PurgeTx() override { return port_.PurgeTx(); }
  bool PurgeRx() override { return port_.PurgeRx(); }
  bool SetBreak() override {
    EndRequest();
    return port_.SetBreak();
  }
  bool ClearBreak() override { return port_.ClearBreak(); }
  bool WritePortByte(int32_t value) override {
    const bool written = port_.WritePortByte(value);
    request_.push_back(static_cast<uint8_t>(value & 0xFF));
    failed_ = failed_ || !written;
    return written;
  }
  int ReadPortByte() override { return port_.ReadPortByte(); }
  PortHandle Handle() const override { return port_.Handle(); }
  Outcome LastFailure() const override { return port_.LastFailure(); }

  // The request before the next break, checked as a whole: twelve bytes unless the line
  // refused one, a code the panel sends, and the payload Write fixed for requests 4 and 8.
  void EndRequest() {
    if (request_.empty()) return;
    Require(failed_ || request_.size() == static_cast<std::size_t>(kFrameSize),
            "a request of twelve bytes");
    Require(request_[2] >= 1 && request_[2] <= kLastCode, "a request code of 1 to 27");
    if (!failed_ && expected_ &&
        (request_[2] == cmd::kWriteSettings || request_[2] == cmd::kWriteCalibration)) {
      const PayloadBytes& block =
          request_[2] == cmd::kWriteSettings ? expected_->settings : expected_->calibration;
      Require(std::equal(block.begin(), block.end(), request_.begin() + 3),
              "a Write with nothing changed sends the machine's blocks back");
    }
    request_.clear();
    failed_ = false;
  }

  struct Blocks {
    PayloadBytes settings;
    PayloadBytes calibration;
  };
  // What the last Write must send, when nothing had been changed since the blocks came.
  std::optional<Blocks> expected_;

 private:
  SerialPort& port_;
  std::vector<uint8_t> request_;
  bool failed_ = false;
};

// Every request sent has exactly one outcome once its read tick has come, both since
// Connect and since the start: a Connect drops the reply still awaited.
void CheckOutcomes(const CKeloConfigurationDlg& panel) {
  const LinkHealth& health = panel.health();
  const int64_t awaited = panel.link().replyCountdown() > 0 ? 1 : 0;
  for (const LinkHealth::Counters& c : {health.counters(), health.totals()}) {
    Require(c.sent == c.complete + c.shortReplies + c.missing + c.lost + c.dropped + awaited,
            "each request sent has one outcome");
    Require(c.unhandled + c.acknowledged <= c.complete, "only complete replies decoded");
  }
}

// Nothing in the run's folder but what was there and the files the script chose.
void CheckFiles(const fs::path& folder, const std::set<std::string>& allowed) {
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
    Require(allowed.contains(entry.path().string()), "no file beside the chosen paths");
  }
}

// A fresh folder with what a save must not replace: a read-only file, a folder, a FIFO.
fs::path MakeFolder(std::set<std::string>& allowed) {
  char name[] = "/tmp/kelo-operator-fuzz-XXXXXX";
  const fs::path folder = mkdtemp(name);
  const fs::path readOnly = folder / "read-only.csv";
  FILE* file = std::fopen(readOnly.c_str(), "w");
  if (file != nullptr) std::fclose(file);
  chmod(readOnly.c_str(), 0444);
  fs::create_directory(folder / "folder");
  mkfifo((folder / "fifo").c_str(), 0644);
  for (const char* entry : {"read-only.csv", "folder", "fifo"}) {
    allowed.insert((folder / entry).string());
  }
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  std::set<std::string> allowed;
  const fs::path folder = MakeFolder(allowed);
  const std::vector<Action> actions = ReadActions(script, folder);
  for (const Action& action : actions) {
    if (NamesAPath(action)) allowed.insert(action.text);
  }

  const LineSetup setup = ReadHeader(script);
  sim::ParsedOptions options = sim::ParseOptions(setup.simOptions, GoldenClock::kStartOfDay);
  if (!options.error.empty()) options = sim::ParseOptions({}, GoldenClock::kStartOfDay);
  GoldenClock clock;
  sim::BrumoMachine machine(options.options.machine, [&clock] { return clock.Ms(); });
  sim::LineSession line(machine, options.options.faults);
  GoldenPort goldenPort(line, clock);
  goldenPort.Unplug(setup.unplugMs, setup.replugMs);
  CheckedPort port(goldenPort);

  std::ostringstream traced;
  Trace trace(traced);
  MemoryProfile profile;
  profile.values["Ports/COM1"] = "/dev/golden";
  GoldenHost host(trace, profile, clock);
  {
    CKeloConfigurationDlg panel(host, port);
    trace.Attach(panel);
    BatchRunner runner(panel, host, trace, [&clock](long long ms) {
      clock.micros = std::max<int64_t>(clock.micros, ms * 1000);
    });
    // The step after which the last change, and the last of each block, came; what was
    // queued after the step before.
    long step = 0;
    int queued = 0;
    long changed = -1;
    long settingsArrived = -1;
    long calibrationArrived = -1;
    std::optional<PayloadBytes> settings;
    std::optional<PayloadBytes> calibration;
    runner.OnEachStep([&](const Action* performed) {
      ++step;
      const MachineReadings& readings = panel.state().machine;
      if (readings.machineSettings != settings) settingsArrived = step;
      if (readings.machineCalibration != calibration) calibrationArrived = step;
      settings = readings.machineSettings;
      calibration = readings.machineCalibration;
      if (performed != nullptr && ChangesSettings(*performed)) changed = step;
      // A Write that queued fixes what requests 4 and 8 carry; one refused leaves them.
      const int nowQueued = panel.link().queue().GetCount();
      if (performed != nullptr && performed->kind == ActionKind::kClick &&
          performed->id == ids::kWriteButton && nowQueued > queued) {
        const bool untouched = changed < settingsArrived && changed < calibrationArrived;
        port.expected_.reset();
        if (untouched) port.expected_ = {*settings, *calibration};
      }
      queued = nowQueued;
      CheckOutcomes(panel);
      if (performed != nullptr) CheckFiles(folder, allowed);
    });
    runner.Run(actions);
    port.EndRequest();
  }
  CheckFiles(folder, allowed);
  chmod((folder / "read-only.csv").c_str(), 0644);
  fs::remove_all(folder);
  return 0;
}
