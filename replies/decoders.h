#pragma once

#include "link/frames.h"

struct PanelState;

// The decoders of the machine's replies: each takes a complete reply frame and writes
// what it means into the panel's state (readings, controls, bound values). None of the
// changes counts as the operator's, so no operator handler runs. The event log's
// replies (5, 17, 21) are the log follower's.

void DecodeStatus(const Frame& reply, PanelState& panel);          // 1
void DecodeSettings(const Frame& reply, PanelState& panel);        // 3
void DecodeCalibration(const Frame& reply, PanelState& panel);     // 7
void DecodeNameFirstHalf(const Frame& reply, PanelState& panel);   // 9
void DecodeNameSecondHalf(const Frame& reply, PanelState& panel);  // 11
void DecodeServiceDate(const Frame& reply, PanelState& panel);     // 13
void DecodeClock(const Frame& reply, PanelState& panel);           // 15
void DecodeFirmware(const Frame& reply, PanelState& panel);        // 19
void DecodeCalProgress(const Frame& reply, PanelState& panel);     // 23
void DecodeTemperatures(const Frame& reply, PanelState& panel);    // 25
void DecodePressures(const Frame& reply, PanelState& panel);       // 27
