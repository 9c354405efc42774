// What the telemetry history costs: a sample added to a ring that already holds a day,
// one CSV row, the export of a whole day, and what a link tick adds for the gaps between
// samples. Linked into kelo-core-bench.
//
// Each benchmark checks afterwards that it did the work it names.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "link/link_health.h"
#include "panel/telemetry_csv.h"
#include "panel/telemetry_recording.h"
#include "replies/telemetry_history.h"

namespace {

// Readings that change from pass to pass, as a running machine's do.
TelemetrySample PassNumber(int64_t pass) {
  TelemetrySample sample;
  sample.pcTimeMs = 1'796'645'447'123 + pass * 1680;
  sample.machineClock = sample.pcTimeMs / 1000;
  sample.ei = static_cast<int16_t>(-40 + pass % 80);
  sample.eo = static_cast<int16_t>(pass % 120);
  sample.ci = static_cast<int16_t>(100 + pass % 60);
  sample.co = static_cast<int16_t>(140 + pass % 50);
  sample.pLow = static_cast<int16_t>(82 + pass % 600);
  sample.pHigh = static_cast<int16_t>(300 + pass % 400);
  sample.pwm = static_cast<uint8_t>(pass);
  sample.fogStatus = 0x93;
  sample.mains = 230;
  sample.outputHz = 50;
  return sample;
}

TelemetryRing FullDay() {
  TelemetryRing ring;
  for (std::size_t pass = 0; pass < ring.capacity(); ++pass) ring.Add(PassNumber(pass));
  return ring;
}

void BM_SampleAddedToFullDayRing(benchmark::State& state) {
  TelemetryRing ring = FullDay();
  TelemetrySample sample = PassNumber(0);
  for (auto _ : state) {
    ++sample.pcTimeMs;
    ring.Add(sample);
    benchmark::ClobberMemory();
  }
  if (ring.size() != ring.capacity() || ring.newest().pcTimeMs != sample.pcTimeMs) {
    state.SkipWithError("the sample did not replace the oldest");
  }
}
BENCHMARK(BM_SampleAddedToFullDayRing);

void BM_CsvRowOfOneSample(benchmark::State& state) {
  const TelemetrySample sample = PassNumber(12345);
  std::string row;
  for (auto _ : state) {
    row = TelemetryCsvRow(sample);
    benchmark::DoNotOptimize(row);
  }
  if (std::count(row.begin(), row.end(), ',') != 11 || !row.ends_with("\r\n")) {
    state.SkipWithError("the row is not one record of twelve fields");
  }
}
BENCHMARK(BM_CsvRowOfOneSample);

void BM_CsvOfFullDayRing(benchmark::State& state) {
  const TelemetryRing ring = FullDay();
  std::string csv;
  for (auto _ : state) {
    csv = TelemetryCsv(ring);
    benchmark::DoNotOptimize(csv);
  }
  const auto records = static_cast<std::size_t>(std::count(csv.begin(), csv.end(), '\n'));
  if (records != ring.size() + 1) state.SkipWithError("the export is not one record per sample");
  state.counters["bytes"] = static_cast<double>(csv.size());
}
BENCHMARK(BM_CsvOfFullDayRing)->Unit(benchmark::kMillisecond);

// Why no poll passes come, noted at every link tick: a link that stays as it was, polling
// (1) or closed (0), reads no clock and records nothing.
void BM_InterruptionNotedAtTick(benchmark::State& state) {
  TelemetryRecording recording;
  LinkHealth health;
  const bool open = state.range(0) != 0;
  if (!open) health.Closed();
  int64_t clockReads = 0;
  for (auto _ : state) {
    recording.NoteInterruption(
        WhyNoPollPasses(open, health, false, recording.interruptions().current()),
        [&clockReads] { return ++clockReads; });
    benchmark::ClobberMemory();
  }
  if (clockReads > 1 || recording.interruptions().size() > 1) {
    state.SkipWithError("a tick that changed nothing was recorded");
  }
}
BENCHMARK(BM_InterruptionNotedAtTick)->Arg(1)->Arg(0);

}  // namespace
