#pragma once

#include "support/fake_port.h"
#include "tools/brumo-sim/machine.h"

// The simulated machine at the far end of an in-memory port: each request the port
// takes is answered at once with the machine's full reply. Its clock stands still
// unless one is given.
FakeSerialPort::Responder MachineResponder(const sim::MachineSetup& setup = {},
                                           sim::MilliClock clock = {});
