#pragma once

// What Write and Read look at before they queue: the progress run of the other
// (each animates bar 1021 for 20 link ticks, whatever the replies do).
struct WriteGate {
  bool txInProgress = false;  // a Write run
  bool rxInProgress = false;  // a Read run
};
