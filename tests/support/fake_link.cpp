#include "support/fake_link.h"

#include <cstdio>

void FakeLinkClock::SleepUntilMicros(int64_t until) {
  sleeps.push_back(until);
  if (until <= micros) return;
  if (earlyWakeups > 0) {
    --earlyWakeups;
    micros += (until - micros) / 2;
  } else {
    micros = until;
  }
}

PayloadBytes FakeRequestSource::SettingsToWrite() {
  asked.emplace_back("settings");
  return settings;
}

PayloadBytes FakeRequestSource::CalibrationToWrite() {
  asked.emplace_back("calibration");
  return calibration;
}

std::string FakeRequestSource::NameToWrite() {
  asked.emplace_back("name");
  return name;
}

int32_t FakeRequestSource::LogPointer() {
  asked.emplace_back("log pointer");
  return logPointer;
}

int32_t FakeRequestSource::ReadPointer() {
  asked.emplace_back("read pointer");
  return readPointer;
}

int64_t FakeRequestSource::CurrentTime() {
  asked.emplace_back("time");
  return now;
}

void RecordingListener::OnReplyComplete(const Frame& reply) {
  std::string text = "reply";
  for (int32_t slot : reply) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", static_cast<unsigned>(slot & 0xFF));
    text += hex;
  }
  events.push_back(text);
}

void RecordingListener::OnNoReply(int received) {
  events.push_back("no-reply " + std::to_string(received));
}

void RecordingListener::OnPortGone(PortGone why) {
  events.emplace_back(why == PortGone::kLost ? "lost" : "closed");
}

void RecordingListener::OnIdle() {
  events.emplace_back("idle");
  if (onIdle) onIdle();
}
