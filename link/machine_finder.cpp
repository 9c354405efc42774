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
  opening_.clear();
  trying_.clear();
  answered_.clear();
  skipped_.clear();
  silent_.clear();
}

bool MachineFinder::Step() {
  if (!trying_.empty()) {
    Listen();
    return Running();
  }
  if (port_ == nullptr && next_ < devices_.size()) {
    opening_ = devices_[next_++];
    port_ = makePort_();
  }
  if (port_ != nullptr && port_->PrepareOpen(opening_)) Probe();
  return Running();
}

void MachineFinder::Probe() {
  std::unique_ptr<SerialPort> port = std::move(port_);
  const std::string device = std::move(opening_);
  opening_.clear();
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

// Byte by byte, each checked: a device that streams without pause would otherwise keep
// this step reading for ever.
void MachineFinder::Listen() {
  constexpr auto kReplySize = static_cast<std::size_t>(kFrameSize);
  for (int byte = port_->ReadPortByte(); byte != kNoByte; byte = port_->ReadPortByte()) {
    // Twelve bytes and no more: a device that sends more is not the machine.
    if (reply_.size() == kReplySize) return Finish(false);
    reply_.push_back(static_cast<uint8_t>(byte));
    if (clock_.MonotonicMicros() >= deadline_) break;
  }
  if (reply_.size() == kReplySize) return Finish(reply_[2] == cmd::kReadStatus);
  if (clock_.MonotonicMicros() >= deadline_) Finish(false);
}

void MachineFinder::Finish(bool answered) {
  (answered ? answered_ : silent_).push_back(trying_);
  trying_.clear();
  port_->ClosePort();
  port_.reset();
}
