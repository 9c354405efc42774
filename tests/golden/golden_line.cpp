#include "golden/golden_line.h"

bool GoldenPort::OpenPort(const std::string& device) {
  handle_ = device == "/dev/golden" && !Unplugged() ? PortHandle::kOpen : PortHandle::kBad;
  input_.clear();
  return handle_ == PortHandle::kOpen;
}

bool GoldenPort::ClosePort() {
  const bool wasOpen = handle_ == PortHandle::kOpen;
  handle_ = PortHandle::kNone;
  return wasOpen;
}

bool GoldenPort::PurgeRx() {
  if (!Healthy()) return false;
  TakeArrived();
  input_.clear();
  return true;
}

bool GoldenPort::WritePortByte(int32_t value) {
  if (!Healthy()) return false;
  const auto byte = static_cast<uint8_t>(value & 0xFF);
  line_.Receive(&byte, 1, clock_.Ms());
  return true;
}

int GoldenPort::ReadPortByte() {
  if (!Healthy()) return kNoByte;
  TakeArrived();
  if (input_.empty()) return kNoByte;
  const uint8_t byte = input_.front();
  input_.pop_front();
  return byte;
}

bool GoldenPort::Unplugged() const {
  return unplugMs_ >= 0 && clock_.Ms() >= unplugMs_ && clock_.Ms() < replugMs_;
}

void GoldenPort::TakeArrived() {
  const sim::Bytes arrived = line_.TakeDue(clock_.Ms());
  input_.insert(input_.end(), arrived.begin(), arrived.end());
}
