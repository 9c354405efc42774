// What the panel's own work costs: a link step of each kind, a reply's dispatch, an
// event line added to a long list, a saved log, a request frame. The break's spin is
// left out: the host's counter here jumps past it at once.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "link/command_codes.h"
#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_port.h"

namespace {

struct Bench {
  Bench() {
    host.millisPerReading = 100;  // the break's spin ends at its first look
    dlg.OnInitDialog();
    port.handle = PortHandle::kOpen;
    dlg.portOpen = true;
  }
  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg dlg{host, port};
};

// The fake keeps a record of every call; benchmarks drop it so memory stays flat.
void ForgetCalls(FakeSerialPort& port) {
  port.calls.clear();
  port.written.clear();
}

void BM_LinkStepSend(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.dlg.msgStack.Push(cmd::kReadStatus);
    b.dlg.replyCountdown = 0;
    b.dlg.LinkStep();
    ForgetCalls(b.port);
  }
}
BENCHMARK(BM_LinkStepSend);

void BM_LinkStepIdle(benchmark::State& state) {
  Bench b;
  for (auto _ : state) {
    b.dlg.replyCountdown = 2;
    b.dlg.LinkStep();
  }
}
BENCHMARK(BM_LinkStepIdle);

void BM_LinkStepReadAndDispatch(benchmark::State& state) {
  Bench b;
  const std::vector<uint8_t> reply = {0, 0, cmd::kReadStatus, 0, 0, 0, 208, 0x93, 200, 0, 0, 0};
  for (auto _ : state) {
    b.port.Receive(reply);
    b.dlg.replyCountdown = 1;
    b.dlg.LinkStep();
    ForgetCalls(b.port);
  }
}
BENCHMARK(BM_LinkStepReadAndDispatch);

void BM_DispatchReply(benchmark::State& state) {
  Bench b;
  const auto code = static_cast<int32_t>(state.range(0));
  b.dlg.replyFrame = {0, 0, code, 0x34, 0x12, 0x56, 0x08, 0x09, 0x41, 0x42, 0x43, 0x44};
  for (auto _ : state) {
    b.dlg.DispatchReply();
    b.dlg.msgStack.Clear();
    if (b.dlg.controls().LineCount(ids::kEventList) > 10000) {
      b.dlg.controls().ResetList(ids::kEventList);
    }
  }
}
BENCHMARK(BM_DispatchReply)->DenseRange(1, 27, 2);

void BM_EventLineAddedToList(benchmark::State& state) {
  Bench b;
  ControlModel& model = b.dlg.controls();
  for (int64_t i = 0; i < state.range(0); ++i) {
    model.AddLine(ids::kEventList, "Event = System Set at             11/14/23 22:13:20");
  }
  b.dlg.replyFrame = {0, 0, cmd::kReadLogRecord, 0x00, 0xF1, 0x53, 0x65, 8, 0xA5, 0, 0, 0};
  for (auto _ : state) b.dlg.DispatchReply();
}
BENCHMARK(BM_EventLineAddedToList)->Arg(1000)->Arg(100000);

void BM_SaveLogOf100000Lines(benchmark::State& state) {
  Bench b;
  ControlModel& model = b.dlg.controls();
  for (int i = 0; i < 50000; ++i) {
    model.AddLine(ids::kEventList, "Event = Input Change at           11/14/23 22:13:20");
    model.AddLine(ids::kEventList, "***Inputs = smoke on,set off,fire off,aux-in on,test off,"
                                   "Case closed,CS on,PIR off");
  }
  const std::string path =
      (std::filesystem::temp_directory_path() / ("kelo-bench-" + std::to_string(getpid())))
          .string();
  for (auto _ : state) {
    b.host.savePaths = {path};
    b.dlg.OnSaveLogClicked();
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_SaveLogOf100000Lines)->Unit(benchmark::kMillisecond);

void BM_BuildRequest(benchmark::State& state) {
  Bench b;
  const auto code = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    b.dlg.requestFrame[2] = code;
    b.dlg.BuildRequest(code, 0);
    benchmark::DoNotOptimize(b.dlg.requestFrame);
  }
}
BENCHMARK(BM_BuildRequest)->DenseRange(1, 27, 1);

}  // namespace

BENCHMARK_MAIN();
