#pragma once

#include <string>

#include "link/command_queue.h"
#include "link/frames.h"
#include "link/link_clock.h"
#include "link/link_listener.h"
#include "link/msg_stack.h"
#include "link/request_builder.h"
#include "link/serial_port.h"

// The transaction engine between the panel and the machine, driven by the link tick.
// It takes one queued code at a time, sends its request after a line break, reads the
// reply two ticks later without waiting, and tells its listener what came. There is
// one transaction in flight at a time, no retry, and no matching of a reply to its
// request: the reply's own code (byte 2) says what it is.
class LinkEngine : public CommandQueue {
 public:
  enum class OpenResult { kOpened, kOpenFailed, kConfigureFailed };

  LinkEngine(SerialPort& port, LinkClock& clock, RequestSource& source, LinkListener& listener);

  // One link tick: send the next request, read an awaited reply (and send the next
  // request on the same tick), or tell the listener the link is idle.
  void Tick();
  // Queues a code; at capacity it is dropped without notice.
  void Queue(int32_t code) override;
  void ClearQueue() { stack_.Clear(); }
  bool IsOpen() const { return open_; }

  // The open's slow part, a step at a time, while the port is closed; true once Open(device)
  // can answer at once (SerialPort::PrepareOpen).
  bool PrepareOpen(const std::string& device) { return open_ || port_.PrepareOpen(device); }
  // Lets go of a prepared open that is not coming.
  void CancelOpen() {
    if (!open_) port_.CancelOpen();
  }
  // Opens and configures the port; a port that opens but cannot be configured is
  // closed again, so that the next try can open it. Why it failed: openFailure().
  OpenResult Open(const std::string& device);
  const Outcome& openFailure() const { return openFailure_; }
  // Closes the port. A reply still awaited is read on its tick all the same, finds the
  // port closed and takes the lost-port path, told as closed rather than lost.
  void Close();
  // Forgets the reply still awaited from before a Close, so that its read tick cannot
  // empty the queue of the next Connect. False when none was awaited.
  bool DropAwaitedReply();
  // The device last opened.
  const std::string& device() const { return device_; }

  // For inspection.
  const MsgStack& queue() const { return stack_; }
  int32_t replyCountdown() const { return replyCountdown_; }
  const Frame& requestFrame() const { return builder_.frame(); }
  const Frame& replyFrame() const { return replyFrame_; }

 private:
  void SendNextRequest();
  void SendBreak();
  void ReadReply();
  void TakePortAsLost();

  SerialPort& port_;
  LinkClock& clock_;
  RequestSource& source_;
  LinkListener& listener_;
  MsgStack stack_;
  RequestBuilder builder_;
  Frame replyFrame_{};
  int32_t replyCountdown_ = 0;
  bool open_ = false;
  bool closedByOperator_ = false;
  std::string device_;
  Outcome openFailure_;
};
