#include "link/link_engine.h"

namespace {

constexpr int32_t kReplyTicks = 2;
constexpr int64_t kBreakMicros = 6'000;

}  // namespace

LinkEngine::LinkEngine(SerialPort& port, LinkClock& clock, RequestSource& source,
                       LinkListener& listener)
    : port_(port), clock_(clock), source_(source), listener_(listener) {}

void LinkEngine::Tick() {
  if (replyCountdown_ == 0) {
    if (!open_) return;  // stopped: nothing is sent or refilled
    if (stack_.GetCount() > 0) {
      SendNextRequest();
    } else {
      listener_.OnIdle();
    }
  } else if (--replyCountdown_ == 0) {
    ReadReply();
    if (stack_.GetCount() > 0) SendNextRequest();
  }
}

void LinkEngine::Queue(int32_t code) {
  stack_.Push(code);
}

LinkEngine::OpenResult LinkEngine::Open(const std::string& device) {
  openFailure_.reset();
  device_ = device;
  closedByOperator_ = false;
  if (!port_.OpenPort(device)) {
    open_ = false;
    openFailure_ = port_.LastFailure();
    return OpenResult::kOpenFailed;
  }
  if (!port_.ConfigurePort()) {
    open_ = false;
    openFailure_ = port_.LastFailure();
    port_.ClosePort();
    return OpenResult::kConfigureFailed;
  }
  open_ = true;
  return OpenResult::kOpened;
}

void LinkEngine::Close() {
  open_ = false;
  closedByOperator_ = true;
  port_.ClosePort();
}

bool LinkEngine::DropAwaitedReply() {
  const bool awaited = replyCountdown_ > 0;
  replyCountdown_ = 0;
  return awaited;
}

void LinkEngine::SendNextRequest() {
  if (!open_ || port_.Handle() == PortHandle::kNone) return;
  port_.PurgeTx();
  port_.PurgeRx();
  if (stack_.GetCount() == 0) return;
  SendBreak();
  const Frame& request = builder_.Build(stack_.Pop(), source_);
  replyCountdown_ = kReplyTicks;
  // Nothing received before or during the break is taken for the reply.
  port_.PurgeRx();
  for (int32_t slot : request) {
    if (!port_.WritePortByte(slot & 0xFF)) break;
  }
  listener_.OnRequestSent(request);
}

void LinkEngine::SendBreak() {
  port_.SetBreak();
  // The machine needs at least 6 ms of break on the wire, counted from the moment the
  // break is on. The thread sleeps through it.
  const int64_t end = clock_.MonotonicMicros() + kBreakMicros;
  while (clock_.MonotonicMicros() < end) clock_.SleepUntilMicros(end);
  port_.ClearBreak();
}

void LinkEngine::ReadReply() {
  int received = 0;
  for (int32_t& slot : replyFrame_) {
    const int byte = port_.ReadPortByte();
    if (byte < 0 || byte > 0xFF) {
      // A byte missing: the transmit purge tells a lost port from a silent machine.
      if (!port_.PurgeTx()) {
        TakePortAsLost();
      } else {
        listener_.OnNoReply(received);
      }
      return;
    }
    slot = byte;
    ++received;
  }
  listener_.OnReplyComplete(replyFrame_);
}

void LinkEngine::TakePortAsLost() {
  open_ = false;
  // Closed rather than dropped, so the exclusive hold on the device is released and a
  // later Connect can open it again.
  if (port_.Handle() != PortHandle::kNone) port_.ClosePort();
  stack_.Clear();
  listener_.OnPortGone(closedByOperator_ ? PortGone::kClosed : PortGone::kLost);
}
