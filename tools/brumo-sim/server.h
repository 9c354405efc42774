#pragma once

#include <cstdint>
#include <optional>

#include "tools/brumo-sim/line_session.h"
#include "tools/brumo-sim/machine.h"

namespace sim {

enum class ServeEnd { kSignal, kHangup, kError };

// The event loop, on one thread: waits in poll() for request bytes from the panel, for
// a reply to come due, for the hang-up time and for SIGINT/SIGTERM (through signalFd).
ServeEnd Serve(int controllerFd, int signalFd, LineSession& session, const MilliClock& clock,
               std::optional<int64_t> hangupAfterMs, const LineSession::Logger& log);

}  // namespace sim
