#pragma once

#include "link/frames.h"

class LogFollower;
struct PanelState;

// Hands a complete reply to the decoder of its own code (byte 2). It is not matched
// with the request just sent; a code without a decoder (0, any even code, anything
// above 27) changes nothing.
// True when the code has a decoder.
bool DispatchReply(const Frame& reply, PanelState& panel, LogFollower& log);
