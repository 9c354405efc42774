#pragma once

#include <string>
#include <vector>

#include "link/machine_finder.h"
#include "link/serial_devices.h"

class Host;
class LinkEngine;
struct PanelState;

// The engineer picks the adapter instead of knowing its number: from the adapters this
// computer has, or by Find machine, which asks each in turn.
class PortChooser {
 public:
  PortChooser(PanelState& panel, LinkEngine& link, Host& host, MachineFinder::PortMaker makePort);

  // What to choose from: the adapters detected, then the devices named under [Ports]
  // that exist and were not detected (a pseudo-terminal, say).
  std::vector<SerialDevice> Offered(const std::vector<SerialDevice>& detected) const;
  // The operator chose an adapter: it keeps the port number whose [Ports] entry already
  // names it, or takes the number shown, and its stable name is stored for that number.
  void Choose(const SerialDevice& device);

  // Find machine: asks the detected USB adapters and the devices named under [Ports],
  // one at a time. The find tick drives it. It is offered only while the port is closed
  // and no search runs; a connect attempt waits for it.
  void FindMachine(const std::vector<SerialDevice>& detected);
  void OnFindTick();
  bool CanFind() const;
  bool finding() const { return finder_.Running(); }
  // The devices the machine answered on in the last search.
  const std::vector<std::string>& found() const { return finder_.answered(); }

 private:
  void TellWhatWasFound();
  void TakeNumber(int number);
  std::string LabelOf(const std::string& node) const;

  PanelState& panel_;
  LinkEngine& link_;
  Host& host_;
  MachineFinder finder_;
  std::vector<SerialDevice> candidates_;
};
