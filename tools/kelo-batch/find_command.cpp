#include "find_command.h"

#include <string>
#include <string_view>
#include <thread>

#include "batch_host.h"
#include "link/posix_serial_port.h"
#include "panel/panel_dialog.h"
#include "trace.h"

namespace {

// The batch host that keeps the port line to itself: the window's words ("press Connect")
// are not a shell's.
class QuietHost : public BatchHost {
 public:
  using BatchHost::BatchHost;
  void ShowPortLine(std::string_view text, PortLineTone /*tone*/) override { portLine = text; }
  std::string portLine;
};

// A headless panel, only to ask its port chooser; nothing of it is traced.
struct Chooser {
  explicit Chooser(Profile& profile) : trace(quiet), host(trace, profile) {}
  std::ostream quiet{nullptr};
  Trace trace;
  QuietHost host;
  PosixSerialPort port;
  CKeloConfigurationDlg panel{host, port};
};

}  // namespace

std::vector<std::string> PortListing(const std::vector<SerialDevice>& detected, Profile& profile) {
  Chooser chooser(profile);
  std::vector<std::string> lines;
  for (const SerialDevice& device : chooser.panel.chooser().Offered(detected)) {
    lines.push_back(DeviceLabel(device) + "\t" + StableName(device));
  }
  return lines;
}

int FindMachine(const std::vector<SerialDevice>& detected, Profile& profile, std::ostream& out,
                std::ostream& err) {
  Chooser chooser(profile);
  PortChooser& ports = chooser.panel.chooser();
  ports.FindMachine(detected);
  while (ports.finding()) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ports.OnFindTick();
  }
  // The same choice as the window's: one answer is kept under [Ports]. Every device that
  // answered is printed; when none did, the reason is.
  if (ports.found().empty()) err << "kelo-batch: " << chooser.host.portLine << "\n";
  if (ports.found().size() > 1) err << "kelo-batch: the machine answered on more than one device\n";
  for (const SerialDevice& device : ports.Offered(detected)) {
    for (const std::string& node : ports.found()) {
      if (node == device.node) out << StableName(device) << "\n";
    }
  }
  return ports.found().size() == 1 ? 0 : 1;
}
