#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "batch_host.h"
#include "link/serial_port.h"
#include "tools/brumo-sim/line_session.h"

// What a script's header asks of the line: "# sim: OPTIONS" for brumo-sim's options,
// "# unplug: FROM_MS TO_MS" for an adapter pulled out for a while. A header line that
// cannot be read asks nothing.
struct LineSetup {
  std::vector<std::string> simOptions;
  int64_t unplugMs = -1;
  int64_t replugMs = -1;
};
LineSetup ReadHeader(const std::string& script);

// The headless panel against the simulated machine on a line held in memory, on a
// clock the test owns: every run of a script gives the same trace, tick for tick.

// The time of a golden run: the runner's milliseconds, the link's microseconds and the
// time of day all move only when something waits.
struct GoldenClock {
  static constexpr int64_t kStartOfDay = 1'700'000'000;  // the PC's time at the start
  int64_t micros = 0;
  int64_t Ms() const { return micros / 1000; }
};

// The batch host with the golden clock, and a fixed folder for Help.
class GoldenHost : public BatchHost {
 public:
  GoldenHost(Trace& trace, Profile& profile, GoldenClock& clock)
      : BatchHost(trace, profile), clock_(clock) {}

  int64_t ElapsedMs() const override { return clock_.Ms(); }
  int64_t MonotonicMicros() override { return clock_.micros; }
  void SleepUntilMicros(int64_t micros) override {
    if (micros > clock_.micros) clock_.micros = micros;
  }
  int64_t CurrentTime() override { return CurrentTimeMs() / 1000; }
  int64_t CurrentTimeMs() override { return GoldenClock::kStartOfDay * 1000 + clock_.Ms(); }
  std::string CurrentDirectory() override { return "/golden"; }

 private:
  GoldenClock& clock_;
};

// The adapter, with the machine at its far end. Between unplugMs and replugMs the
// adapter is gone: it cannot be opened, and an open handle is lost.
class GoldenPort : public SerialPort {
 public:
  GoldenPort(sim::LineSession& line, GoldenClock& clock) : line_(line), clock_(clock) {}

  void Unplug(int64_t fromMs, int64_t toMs) {
    unplugMs_ = fromMs;
    replugMs_ = toMs;
  }

  bool OpenPort(const std::string& device) override;
  bool ConfigurePort() override { return handle_ == PortHandle::kOpen; }
  bool ClosePort() override;
  bool PurgeTx() override { return Healthy(); }
  bool PurgeRx() override;
  bool WritePortByte(int32_t value) override;
  int ReadPortByte() override;
  bool SetBreak() override { return Healthy(); }
  bool ClearBreak() override { return Healthy(); }
  PortHandle Handle() const override { return handle_; }

 private:
  bool Unplugged() const;
  bool Healthy() const { return handle_ == PortHandle::kOpen && !Unplugged(); }
  void TakeArrived();

  sim::LineSession& line_;
  GoldenClock& clock_;
  PortHandle handle_ = PortHandle::kNone;
  std::deque<uint8_t> input_;
  int64_t unplugMs_ = -1;
  int64_t replugMs_ = -1;
};
