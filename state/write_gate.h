#pragma once

#include "link/frames.h"

// What Write and Read look at before they queue: the progress run of the other (each
// animates bar 1021 for 20 link ticks, whatever the replies do). And what the last Write
// sends, fixed when it was pressed: requests 4 and 8 carry these blocks.
struct WriteGate {
  bool txInProgress = false;  // a Write run
  bool rxInProgress = false;  // a Read run
  PayloadBytes settingsToSend{};
  PayloadBytes calibrationToSend{};
};
