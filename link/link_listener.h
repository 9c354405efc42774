#pragma once

#include "link/frames.h"

// Why a read tick found the port gone.
enum class PortGone {
  kLost,    // the adapter pulled, the far end closed
  kClosed,  // the operator closed it while the reply was awaited
};

// What the link tells the panel, on the tick it happens.
class LinkListener {
 public:
  virtual ~LinkListener() = default;

  // A request went out.
  virtual void OnRequestSent(const Frame& request) = 0;
  // All twelve bytes of a reply arrived on its read tick.
  virtual void OnReplyComplete(const Frame& reply) = 0;
  // The read tick found fewer than twelve bytes (`received` of them) and the port is
  // still there: the machine was silent or cut short. The partial frame is dropped.
  virtual void OnNoReply(int received) = 0;
  // The read tick found the port gone. The link has closed it and emptied its queue.
  virtual void OnPortGone(PortGone why) = 0;
  // The link is open, nothing is awaited and nothing is queued: the point at which the
  // panel queues the next poll pass. Nothing is sent on this tick.
  virtual void OnIdle() = 0;
};
