#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/link_clock.h"
#include "link/link_listener.h"
#include "link/request_builder.h"

// Fakes of what the link engine is given: its clock, the source of what requests
// carry, and the listener it reports to.

// A clock moved by hand: a sleep moves it to the moment asked for, or only halfway
// while earlyWakeups last (a signal woke the sleeper).
class FakeLinkClock : public LinkClock {
 public:
  int64_t MonotonicMicros() override { return micros; }
  void SleepUntilMicros(int64_t until) override;

  int64_t micros = 0;
  int earlyWakeups = 0;
  std::vector<int64_t> sleeps;  // the moments each sleep was asked to last until
};

// Fixed answers; `asked` records what was asked for, in order.
class FakeRequestSource : public RequestSource {
 public:
  PayloadBytes SettingsToWrite() override;
  PayloadBytes CalibrationToWrite() override;
  std::string NameToWrite() override;
  int32_t LogPointer() override;
  int32_t ReadPointer() override;
  int64_t CurrentTime() override;

  PayloadBytes settings{};
  PayloadBytes calibration{};
  std::string name;
  int32_t logPointer = 0;
  int32_t readPointer = 0;
  int64_t now = 1'700'000'000;
  std::vector<std::string> asked;
};

// Records each report as text: "reply 01 02 …" (the twelve bytes in hex), "no-reply N",
// "lost" (or "closed"), "idle". `onIdle` runs at each idle report (to queue a poll set, say).
class RecordingListener : public LinkListener {
 public:
  void OnRequestSent(const Frame& /*request*/) override { ++sent; }
  void OnReplyComplete(const Frame& reply) override;
  void OnNoReply(int received) override;
  void OnPortGone(PortGone why) override;
  void OnIdle() override;

  std::vector<std::string> events;
  int sent = 0;  // requests sent
  std::function<void()> onIdle;
};
