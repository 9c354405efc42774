// What the core's own work costs: a link tick of each kind, a reply's dispatch into the
// panel's state, an event line added to a long list, a saved log, a request frame. The
// break's sleep is left out: the link's clock here jumps past it at once.
//
// Each benchmark checks that it did the work it names (a frame written, a reply
// dispatched, a line added, a file saved), so a change in the core cannot leave it
// timing nothing.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "link/command_codes.h"
#include "link/command_queue.h"
#include "link/link_clock.h"
#include "link/link_engine.h"
#include "link/request_builder.h"
#include "link/serial_port.h"
#include "panel/event_log_file.h"
#include "panel/saved_file.h"
#include "replies/dispatcher.h"
#include "replies/log_follower.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

// An in-memory port that only keeps the bytes. The tests' fake records every call as
// text, which would cost more than the link tick it serves.
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

// A clock that jumps to the moment a sleep asks for.
class JumpingClock : public LinkClock {
 public:
  int64_t MonotonicMicros() override { return micros_; }
  void SleepUntilMicros(int64_t until) override { micros_ = std::max(micros_, until); }

 private:
  int64_t micros_ = 0;
};

// Fixed answers, kept nowhere: the tests' fake records each question.
class FixedRequestSource : public RequestSource {
 public:
  PayloadBytes SettingsToWrite() override { return {21, 20, 3, 2, 0x84, 0x63, 0, 0, 0}; }
  PayloadBytes CalibrationToWrite() override { return {12, 4, 20, 45, 0, 0, 0, 0, 0}; }
  std::string NameToWrite() override { return "Brumo Bench Unit"; }
  int32_t LogPointer() override { return 570; }
  int32_t ReadPointer() override { return 882; }
  int64_t CurrentTime() override { return 1'700'000'000; }
};

// Counts what the log follower queues.
struct CountingQueue : CommandQueue {
  void Queue(int32_t) override { ++queued; }
  int64_t queued = 0;
};

// The poll set, pushed in this order, as the panel queues it on an idle link.
constexpr int32_t kPollSet[] = {cmd::kReadStatus,       cmd::kReadClock,     cmd::kReadStatus,
                                cmd::kReadTemperatures, cmd::kReadPressures, cmd::kReadLogPointer};

// Status: output byte 208 (70 Hz), fog status 0x93, mains 200.
const std::vector<uint8_t> kStatusReply = {0, 0, cmd::kReadStatus, 0, 0, 0, 208, 0x93, 200, 0,
                                           0, 0};

// An open link whose listener plays the panel's part: replies are dispatched into a
// panel state and its log follower, and an idle link gets the poll set.
class BenchLink : public LinkListener {
 public:
  BenchLink() {
    state.controls.FillComboLists();
    link.Open("bench");
  }

  void OnRequestSent(const Frame& /*request*/) override {}
  void OnReplyComplete(const Frame& reply) override {
    ++replies;
    DispatchReply(reply, state, log);
  }
  void OnNoReply(int) override { ++faults; }
  void OnPortGone(PortGone /*why*/) override { ++faults; }
  void OnIdle() override {
    for (int32_t code : kPollSet) link.Queue(code);
  }

  // Ticks until no reply is awaited, each reply arriving whole on its read tick.
  void FinishTransaction() {
    while (link.replyCountdown() > 0) {
      if (link.replyCountdown() == 1) port.input.assign(kStatusReply.begin(), kStatusReply.end());
      link.Tick();
    }
  }

  BenchPort port;
  JumpingClock clock;
  FixedRequestSource source;
  PanelState state;
  LinkEngine link{port, clock, source, *this};
  LogFollower log{state.controls, link};
  int64_t replies = 0;
  int64_t faults = 0;
};

// Times `step` alone: `prepare` brings the link to where the step starts, and `done`
// says afterwards whether the step did its work.
template <typename Prepare, typename Step, typename Done>
void TimeEachStep(benchmark::State& state, Prepare prepare, Step step, Done done) {
  for (auto _ : state) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    step();
    const auto stop = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    if (!done()) {
      state.SkipWithError("the step did not do its work");
      break;
    }
  }
}

// Everything of the state and the follower that a reply can change.
auto Observable(const PanelState& panel, const LogFollower& log) {
  std::vector<std::tuple<std::string, int, int, std::size_t, int, int>> controls;
  for (const ControlState& c : panel.controls.All()) {
    controls.emplace_back(c.text, c.check, c.selection, c.lines.size(), c.topIndex, c.position);
  }
  const MachineReadings& m = panel.machine;
  const BoundValues& v = panel.values;
  const LogPointers& p = log.pointers();
  return std::make_tuple(controls, m.firmwareRevision, m.nameBuffer, m.machineName, m.deviceClock,
                         m.serviceBaseDate, m.fogStatusByte, m.mainsValue, m.outputFrequency,
                         m.machineSettings, m.machineCalibration, v.calValue, v.sHt, v.tMin, v.tMax,
                         p.logPointer, p.nextLogPointer, p.readPointer, p.firstLogReply);
}

constexpr const char* kEventLine = "Event = Input Change at           11/14/23 22:13:20";
constexpr const char* kDetailLine =
    "***Inputs = smoke on,set off,fire off,aux-in on,test off,Case closed,CS on,PIR off";

void FillEventList(ControlModel& model, int64_t lines) {
  model.ResetList(ids::kEventList);
  for (int64_t i = 0; i < lines; ++i) {
    model.AddLine(ids::kEventList, i % 2 == 0 ? kEventLine : kDetailLine);
  }
}

// --- Link ticks ---

// The tick that sends a queued request: purges, the break, twelve bytes written.
void BM_LinkTickSend(benchmark::State& state) {
  BenchLink b;
  int64_t writtenBefore = 0;
  TimeEachStep(
      state,
      [&] {
        b.FinishTransaction();
        b.link.Queue(cmd::kReadStatus);
        writtenBefore = b.port.written;
      },
      [&] { b.link.Tick(); },
      [&] { return b.port.written == writtenBefore + kFrameSize && b.link.replyCountdown() == 2; });
}
BENCHMARK(BM_LinkTickSend)->UseManualTime();

// The tick between a send and its reply: only the countdown moves.
void BM_LinkTickAwaitingReply(benchmark::State& state) {
  BenchLink b;
  TimeEachStep(
      state,
      [&] {
        b.FinishTransaction();
        b.link.Queue(cmd::kReadStatus);
        b.link.Tick();
      },
      [&] { b.link.Tick(); }, [&] { return b.link.replyCountdown() == 1; });
}
BENCHMARK(BM_LinkTickAwaitingReply)->UseManualTime();

// The tick of an idle link: the listener queues the poll set and nothing is sent.
void BM_LinkTickRefill(benchmark::State& state) {
  BenchLink b;
  int64_t writtenBefore = 0;
  TimeEachStep(
      state,
      [&] {
        b.link.ClearQueue();
        writtenBefore = b.port.written;
      },
      [&] { b.link.Tick(); },
      [&] {
        return b.link.queue().GetCount() == static_cast<int>(std::size(kPollSet)) &&
               b.port.written == writtenBefore;
      });
}
BENCHMARK(BM_LinkTickRefill)->UseManualTime();

// The read tick: twelve bytes read and the reply dispatched into the panel's state.
void BM_LinkTickReadAndDispatch(benchmark::State& state) {
  BenchLink b;
  int64_t repliesBefore = 0;
  TimeEachStep(
      state,
      [&] {
        b.FinishTransaction();
        b.link.Queue(cmd::kReadStatus);
        b.link.Tick();
        b.link.Tick();
        b.port.input.assign(kStatusReply.begin(), kStatusReply.end());
        repliesBefore = b.replies;
      },
      [&] { b.link.Tick(); },
      [&] {
        return b.replies == repliesBefore + 1 && b.faults == 0 &&
               b.state.machine.fogStatusByte == 0x93 && b.state.machine.outputFrequency == 70;
      });
}
BENCHMARK(BM_LinkTickReadAndDispatch)->UseManualTime();

// --- Replies ---

void BM_DispatchReply(benchmark::State& state) {
  PanelState panel;
  panel.controls.FillComboLists();
  CountingQueue queue;
  LogFollower log(panel.controls, queue);
  const auto code = static_cast<int32_t>(state.range(0));
  const Frame reply = {0, 0, code, 0x34, 0x12, 0x56, 0x08, 0x09, 0x41, 0x42, 0x43, 0x44};
  const auto before = Observable(panel, log);
  for (auto _ : state) {
    // Event replies add lines; keep the list short so every case runs at the same size.
    if (panel.controls.LineCount(ids::kEventList) > 10000) {
      state.PauseTiming();
      panel.controls.ResetList(ids::kEventList);
      state.ResumeTiming();
    }
    DispatchReply(reply, panel, log);
  }
  if (Observable(panel, log) == before) state.SkipWithError("the reply changed nothing");
}
BENCHMARK(BM_DispatchReply)->DenseRange(1, 27, 2);

// One record reply (an input change: the event line and its detail line) added to a
// list of the given size. The list is brought back to that size every so often, so
// the measure holds at the size it names.
void BM_EventLineAddedToList(benchmark::State& state) {
  PanelState panel;
  CountingQueue queue;
  LogFollower log(panel.controls, queue);
  ControlModel& model = panel.controls;
  const int64_t size = state.range(0);
  const int64_t batch = std::max<int64_t>(50, size / 50);
  FillEventList(model, size);
  const Frame reply = {0, 0, cmd::kReadLogRecord, 0x00, 0xF1, 0x53, 0x65, 8, 0xA5, 0, 0, 0};
  int64_t inBatch = 0;
  for (auto _ : state) {
    DispatchReply(reply, panel, log);
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
  const bool lastBatchAdded =
      inBatch == 0 || model.Line(ids::kEventList, static_cast<int>(size + 2 * inBatch - 2))
                          .starts_with("Event = Input Change at");
  if (model.LineCount(ids::kEventList) != size + 2 * inBatch || !lastBatchAdded) {
    state.SkipWithError("a record reply did not add its two lines");
  }
}
BENCHMARK(BM_EventLineAddedToList)->Arg(1000)->Arg(100000);

// The event log file of a list of 100,000 lines, composed and saved whole.
void BM_SaveLogOf100000Lines(benchmark::State& state) {
  ControlModel model;
  FillEventList(model, 100000);
  const std::vector<std::string>& lines = model.Find(ids::kEventList)->lines;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("kelo-bench-" + std::to_string(getpid()));
  bool saved = true;
  for (auto _ : state) saved = !SaveFileWhole(path.string(), EventLogFileContent(lines)) && saved;
  // Each detail line is joined to its event line: 50,000 lines of the file.
  const std::uintmax_t expected =
      50000 * (std::string(kEventLine).size() + 10 + std::string(kDetailLine).size() + 2);
  std::error_code error;
  if (!saved || std::filesystem::file_size(path, error) != expected) {
    state.SkipWithError("the log was not saved whole");
  }
  std::filesystem::remove(path, error);
}
BENCHMARK(BM_SaveLogOf100000Lines)->Unit(benchmark::kMillisecond);

// --- Requests ---

void BM_BuildRequest(benchmark::State& state) {
  RequestBuilder builder;
  FixedRequestSource source;
  const auto code = static_cast<int32_t>(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(builder.Build(code, source));
  if (builder.frame()[2] != code) state.SkipWithError("the frame lost its code");
}
BENCHMARK(BM_BuildRequest)->DenseRange(1, 27, 1);

}  // namespace

BENCHMARK_MAIN();
