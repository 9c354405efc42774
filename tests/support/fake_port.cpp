#include "support/fake_port.h"

#include <cstdio>

bool FakeSerialPort::PrepareOpen(const std::string& /*device*/) {
  if (stepsToPrepare == 0) return true;
  --stepsToPrepare;
  return false;
}

bool FakeSerialPort::OpenPort(const std::string& device) {
  calls.push_back("open " + device);
  if (!openSucceeds) {
    handle = PortHandle::kBad;
    return false;
  }
  ++opens;
  handle = PortHandle::kOpen;
  return true;
}

bool FakeSerialPort::ConfigurePort() {
  calls.emplace_back("configure");
  return handle == PortHandle::kOpen && configureSucceeds;
}

bool FakeSerialPort::ClosePort() {
  calls.emplace_back("close");
  if (handle == PortHandle::kOpen) ++closes;
  handle = PortHandle::kNone;
  return true;
}

bool FakeSerialPort::PurgeTx() {
  calls.emplace_back("purge-tx");
  return handle == PortHandle::kOpen && purgeTxSucceeds;
}

bool FakeSerialPort::PurgeRx() {
  calls.emplace_back("purge-rx");
  if (handle != PortHandle::kOpen) return false;
  input.clear();
  return true;
}

bool FakeSerialPort::WritePortByte(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "write %02x", static_cast<unsigned>(value & 0xFF));
  calls.emplace_back(text);
  if (handle != PortHandle::kOpen || writesBeforeFailure == 0) return false;
  if (writesBeforeFailure > 0) --writesBeforeFailure;
  const auto byte = static_cast<uint8_t>(value & 0xFF);
  written.push_back(byte);
  pending_.push_back(byte);
  if (pending_.size() == 12) {
    if (responder) Receive(responder(pending_));
    pending_.clear();
  }
  return true;
}

int FakeSerialPort::ReadPortByte() {
  if (handle != PortHandle::kOpen || input.empty()) return kNoByte;
  const uint8_t byte = input.front();
  input.pop_front();
  return byte;
}

bool FakeSerialPort::SetBreak() {
  calls.emplace_back("break-on");
  breakOn = true;
  if (onBreakChange) onBreakChange(true);
  return handle == PortHandle::kOpen;
}

bool FakeSerialPort::ClearBreak() {
  if (onBreakChange) onBreakChange(false);
  calls.emplace_back("break-off");
  breakOn = false;
  return handle == PortHandle::kOpen;
}

void FakeSerialPort::Receive(const std::vector<uint8_t>& bytes) {
  input.insert(input.end(), bytes.begin(), bytes.end());
}

std::vector<FakeSerialPort::Frame> FakeSerialPort::SentFrames() const {
  std::vector<Frame> frames;
  for (std::size_t i = 0; i < written.size(); i += 12) {
    const std::size_t end = std::min(written.size(), i + 12);
    frames.emplace_back(written.begin() + static_cast<long>(i),
                        written.begin() + static_cast<long>(end));
  }
  return frames;
}
