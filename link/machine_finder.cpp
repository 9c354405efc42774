#include "link/machine_finder.h"

#include <utility>

#include "link/command_codes.h"
#include "link/frames.h"

namespace {

constexpr int64_t kBreakMicros = 6'000;
constexpr int64_t kAnswerMicros = 300'000;

}  // namespace

MachineFinder::MachineFinder(LinkClock& clock, PortMaker makePort)
    : clock_(clock), makePort_(std::move(makePort)) {}

void MachineFinder::Start(std::vector<std::string> devices) {
  devices_ = std::move(devices);
  next_ = 0;
  port_.reset();
  trying_.clear();
  answered_.clear();
  skipped_.clear();
  silent_.clear();
}

bool MachineFinder::Step() {
  if (port_ != nullptr) {
    Listen();
  } else if (next_ < devices_.size()) {
    Probe(devices_[next_++]);
  }
  return Running();
}

void MachineFinder::Probe(const std::string& device) {
  auto port = makePort_();
  if (!port->OpenPort(device) || !port->ConfigurePort()) {
    const Outcome failure = port->LastFailure();
    skipped_.push_back({device, failure ? failure->reason : "It cannot be opened"});
    port->ClosePort();
    return;
  }
  port->PurgeTx();
  port->PurgeRx();
  port->SetBreak();
  const int64_t breakEnd = clock_.MonotonicMicros() + kBreakMicros;
  while (clock_.MonotonicMicros() < breakEnd) clock_.SleepUntilMicros(breakEnd);
  port->ClearBreak();
  port->PurgeRx();
  Frame request{};
  request[2] = cmd::kReadStatus;
  for (int32_t byte : request) {
    if (!port->WritePortByte(byte)) break;
  }
  port_ = std::move(port);
  trying_ = device;
  reply_.clear();
  deadline_ = clock_.MonotonicMicros() + kAnswerMicros;
}

void MachineFinder::Listen() {
  for (int byte = port_->ReadPortByte(); byte != kNoByte; byte = port_->ReadPortByte()) {
    reply_.push_back(static_cast<uint8_t>(byte));
  }
  // Twelve bytes and no more: a device that streams is not the machine.
  if (reply_.size() > static_cast<std::size_t>(kFrameSize)) return Finish(false);
  const bool late = clock_.MonotonicMicros() >= deadline_;
  if (reply_.size() == static_cast<std::size_t>(kFrameSize)) {
    return Finish(reply_[2] == cmd::kReadStatus);
  }
  if (late) Finish(false);
}

void MachineFinder::Finish(bool answered) {
  (answered ? answered_ : silent_).push_back(trying_);
  trying_.clear();
  port_->ClosePort();
  port_.reset();
}
