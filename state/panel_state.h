#pragma once

#include "state/bound_values.h"
#include "state/control_model.h"
#include "state/machine_readings.h"
#include "state/write_gate.h"

// Everything the panel shows and keeps, in its groups. The event log's pointers belong
// to the log follower, beside it.
struct PanelState {
  ControlModel controls;
  BoundValues values;
  MachineReadings machine;
  WriteGate gate;
};
