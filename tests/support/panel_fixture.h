#pragma once

#include <string>
#include <vector>

#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_machine.h"
#include "support/fake_port.h"

// The panel after window creation, on a scripted host and an in-memory port. The one
// fixture of every test of the panel: state is reached through the panel's own
// operations and the line, never by writing its fields.
struct PanelFixture {
  PanelFixture() { dlg.OnInitDialog(); }

  // Each link tick, then the event loop's turn.
  void LinkTicks(int count);
  void ConnectTicks(int count);
  // Connect pressed, then the first connect tick: the port opens and the connect set
  // waits on the link.
  void Connect();
  // Link ticks until nothing is queued or awaited (the idle tick itself not run).
  void Settle(int limit = 400);
  // The simulated machine answers on the port, and the panel has connected and read
  // its settings, calibration values and identity.
  void ConnectToMachine(const sim::MachineSetup& setup = {});

  // Codes waiting on the link, the next to be sent first.
  std::vector<int> QueuedCodes() const;
  std::string Text(int id) const { return dlg.controls().GetText(id); }
  const PanelState& state() const { return dlg.state(); }

  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg dlg{host, port};
};
