// What the panel's own work costs: a link step of each kind, a reply's dispatch, an
// event line added to a long list, a saved log, a request frame. The break's sleep is
// left out: the host's clock here jumps past it at once.
//
// Each benchmark checks afterwards that it did the work it names (a frame written, a
// line added, a file saved), so a change in the panel cannot leave it timing nothing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

#include "link/command_codes.h"
#include "link/serial_port.h"
#include "panel/panel_dialog.h"
#include "support/fake_host.h"

namespace {

// An in-memory port that only keeps the bytes. The tests' fake records every call as
// text, which would cost more than the link step it serves.
class BenchPort : public SerialPort {
 public:
  bool OpenPort(const std::string&) override { return true; }
  bool ConfigurePort() override { return true; }
  bool ClosePort() override { return true; }
  bool PurgeTx() override { return true; }
  bool PurgeRx() override {
    input.clear();
    return true;
  }
  bool WritePortByte(int32_t) override {
    ++written;
    return true;
  }
  int ReadPortByte() override {
    if (input.empty()) return kNoByte;
    const int byte = input.front();
    input.pop_front();
    return byte;
  }
  bool SetBreak() override { return true; }
  bool ClearBreak() override { return true; }
  PortHandle Handle() const override { return PortHandle::kOpen; }

  std::deque<uint8_t> input;
  int64_t written = 0;
};

struct Bench {
  Bench() {
    dlg.OnInitDialog();
    dlg.portOpen = true;
  }
  FakeHost host;
  BenchPort port;
  CKeloConfigurationDlg dlg{host, port};
};

constexpr const char* kEventLine = "Event = Input Change at           11/14/23 22:13:20";
constexpr const char* kDetailLine =
    "***Inputs = smoke on,set off,fire off,aux-in on,test off,Case closed,CS on,PIR off";

void FillEventList(ControlModel& model, int64_t lines) {
  model.ResetList(ids::kEventList);
  for (int64_t i = 0; i < lines; ++i) {
    model.AddLine(ids::kEventList, i % 2 == 0 ? kEventLine : kDetailLine);
  }
}

// --- Link steps ---

void BM_LinkStepSend(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.dlg.msgStack.Push(cmd::kReadStatus);
    b.dlg.replyCountdown = 0;
    b.dlg.LinkStep();
  }
  if (b.port.written != kFrameSize * static_cast<int64_t>(state.iterations())) {
    state.SkipWithError("the send step did not write one frame per step");
  }
}
BENCHMARK(BM_LinkStepSend);

// The tick between a send and its reply: only the countdown moves.
void BM_LinkStepIdle(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.dlg.replyCountdown = 2;
    b.dlg.LinkStep();
  }
  if (b.dlg.replyCountdown != 1) state.SkipWithError("the idle step did not count down");
}
BENCHMARK(BM_LinkStepIdle);

// The tick after a pass: the poll set is queued and the clock line written.
void BM_LinkStepRefill(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.dlg.msgStack.Clear();
    b.dlg.LinkStep();
  }
  if (b.dlg.msgStack.GetCount() != 6 || b.dlg.controls().GetText(ids::kClockLine).empty()) {
    state.SkipWithError("the refill step did not queue the poll set");
  }
}
BENCHMARK(BM_LinkStepRefill);

void BM_LinkStepReadAndDispatch(benchmark::State& state) {
  Bench b;
  const std::vector<uint8_t> reply = {0, 0, cmd::kReadStatus, 0, 0, 0, 208, 0x93, 200, 0, 0, 0};
  for (auto _ : state) {
    b.port.input.assign(reply.begin(), reply.end());
    b.dlg.replyCountdown = 1;
    b.dlg.LinkStep();
  }
  if (b.dlg.fogStatusByte != 0x93 ||
      b.dlg.controls().GetText(ids::kStatusLine).find("Link is live") == std::string::npos) {
    state.SkipWithError("the read step did not dispatch the reply");
  }
}
BENCHMARK(BM_LinkStepReadAndDispatch);

// --- Replies ---

void BM_DispatchReply(benchmark::State& state) {
  Bench b;
  const auto code = static_cast<int32_t>(state.range(0));
  const std::array<int32_t, kFrameSize> frame = {0,    0,    code, 0x34, 0x12, 0x56,
                                                 0x08, 0x09, 0x41, 0x42, 0x43, 0x44};
  for (auto _ : state) {
    b.dlg.replyFrame = frame;
    b.dlg.DispatchReply();
    b.dlg.msgStack.Clear();
    // Event replies add lines; keep the list short so every case runs at the same size.
    if (b.dlg.controls().LineCount(ids::kEventList) > 10000) {
      state.PauseTiming();
      b.dlg.controls().ResetList(ids::kEventList);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_DispatchReply)->DenseRange(1, 27, 2);

// One record reply (an input change: the event line and its detail line) added to a
// list of the given size. The list is brought back to that size every so often, so
// the measure holds at the size it names.
void BM_EventLineAddedToList(benchmark::State& state) {
  Bench b;
  ControlModel& model = b.dlg.controls();
  const int64_t size = state.range(0);
  const int64_t batch = std::max<int64_t>(50, size / 50);
  FillEventList(model, size);
  const std::array<int32_t, kFrameSize> frame = {
      0, 0, cmd::kReadLogRecord, 0x00, 0xF1, 0x53, 0x65, 8, 0xA5, 0, 0, 0};
  int64_t inBatch = 0;
  int64_t added = 0;
  for (auto _ : state) {
    b.dlg.replyFrame = frame;
    b.dlg.DispatchReply();
    ++added;
    if (++inBatch == batch) {
      state.PauseTiming();
      if (model.LineCount(ids::kEventList) != size + 2 * batch) {
        state.SkipWithError("a record reply did not add its two lines");
      }
      FillEventList(model, size);
      inBatch = 0;
      state.ResumeTiming();
    }
  }
  if (added > 0 && model.LineCount(ids::kEventList) != size + 2 * inBatch) {
    state.SkipWithError("a record reply did not add its two lines");
  }
}
BENCHMARK(BM_EventLineAddedToList)->Arg(1000)->Arg(100000);

void BM_SaveLogOf100000Lines(benchmark::State& state) {
  Bench b;
  FillEventList(b.dlg.controls(), 100000);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kelo-bench-" + std::to_string(getpid()));
  for (auto _ : state) {
    b.host.savePaths = {path.string()};
    b.dlg.OnSaveLogClicked();
  }
  // Each detail line is joined to its event line: 50,000 lines of the file.
  const std::uintmax_t expected =
      50000 * (std::string(kEventLine).size() + 10 + std::string(kDetailLine).size() + 2);
  std::error_code error;
  if (!b.host.messages.empty() || std::filesystem::file_size(path, error) != expected) {
    state.SkipWithError("the log was not saved whole");
  }
  std::filesystem::remove(path, error);
}
BENCHMARK(BM_SaveLogOf100000Lines)->Unit(benchmark::kMillisecond);

// --- Requests ---

void BM_BuildRequest(benchmark::State& state) {
  Bench b;
  const auto code = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    b.dlg.requestFrame[2] = code;
    b.dlg.BuildRequest(code, 0);
    benchmark::DoNotOptimize(b.dlg.requestFrame);
  }
  if (b.dlg.requestFrame[2] != code) state.SkipWithError("the frame lost its code");
}
BENCHMARK(BM_BuildRequest)->DenseRange(1, 27, 1);

}  // namespace

BENCHMARK_MAIN();
