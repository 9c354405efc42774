#include "panel/port_chooser.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>

#include "link/link_engine.h"
#include "link/port_names.h"
#include "panel/exchange.h"
#include "panel/host.h"
#include "panel/panel_dialog.h"
#include "panel/profile.h"
#include "state/panel_state.h"

namespace {

constexpr const char* kPortsSection = "Ports";
constexpr int kFirstPort = 1;
constexpr int kLastPort = 30;
constexpr unsigned kFindTickMs = 10;

bool Exists(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0;
}

bool SameDevice(const SerialDevice& a, const SerialDevice& b) {
  return a.node == b.node;
}

// Whether a path names the device: its node, its by-id link, or a link that leads to it.
bool Names(const std::string& path, const SerialDevice& device) {
  if (path.empty()) return false;
  if (path == device.node || path == device.byIdLink) return true;
  return DescribeDevice(path).node == device.node;
}

// The number of a "COMn" key, if it is one of the panel's numbers.
std::optional<int> PortNumberOf(const std::string& key) {
  if (key.size() < 4 || (key.compare(0, 3, "COM") != 0 && key.compare(0, 3, "com") != 0)) {
    return std::nullopt;
  }
  int number = 0;
  const auto [end, error] = std::from_chars(key.data() + 3, key.data() + key.size(), number);
  if (error != std::errc() || end != key.data() + key.size()) return std::nullopt;
  if (number < kFirstPort || number > kLastPort) return std::nullopt;
  return number;
}

}  // namespace

PortChooser::PortChooser(PanelState& panel, LinkEngine& link, Host& host,
                         MachineFinder::PortMaker makePort)
    : panel_(panel), link_(link), host_(host), finder_(host, std::move(makePort)) {}

std::vector<SerialDevice> PortChooser::Offered(const std::vector<SerialDevice>& detected) const {
  std::vector<SerialDevice> offered = detected;
  for (const ProfileEntry& entry : host_.profile().GetProfileSection(kPortsSection)) {
    if (!PortNumberOf(entry.key) || entry.value.empty() || !Exists(entry.value)) continue;
    const SerialDevice named = DescribeDevice(entry.value);
    const bool listed = std::any_of(offered.begin(), offered.end(),
                                    [&](const SerialDevice& d) { return SameDevice(d, named); });
    if (!listed) offered.push_back(named);
  }
  return offered;
}

void PortChooser::Choose(const SerialDevice& device) {
  // A number whose entry already names the device, by whatever path, keeps its entry.
  for (const ProfileEntry& entry : host_.profile().GetProfileSection(kPortsSection)) {
    const auto named = PortNumberOf(entry.key);
    if (named && Names(entry.value, device)) return TakeNumber(*named);
  }
  int number = panel_.values.commPort;
  if (number < kFirstPort || number > kLastPort) number = kFirstPort;
  const std::string stable = StableName(device);
  if (const auto failure =
          host_.profile().WriteProfileString(kPortsSection, PortName(number), stable)) {
    host_.ShowMessage(
        "The choice of " + DeviceLabel(device) + " could not be kept:\n" + failure->reason,
        MessageButtons::kOk);
    return;
  }
  TakeNumber(number);
}

void PortChooser::TakeNumber(int number) {
  panel_.values.commPort = number;
  ShowPanel(panel_);
}

bool PortChooser::CanFind() const {
  return !finding() && !link_.IsOpen();
}

void PortChooser::FindMachine(const std::vector<SerialDevice>& detected) {
  if (!CanFind()) return;
  // A connect attempt lets go of the device it holds ready, and waits.
  link_.CancelOpen();
  candidates_.clear();
  for (const SerialDevice& device : Offered(detected)) {
    // Only USB adapters and what the profile names: an on-board port may be anything.
    const bool named = std::none_of(detected.begin(), detected.end(),
                                    [&](const SerialDevice& d) { return SameDevice(d, device); });
    if (!device.vendorId.empty() || named) candidates_.push_back(device);
  }
  std::vector<std::string> nodes;
  for (const SerialDevice& device : candidates_) nodes.push_back(device.node);
  finder_.Start(nodes);
  if (candidates_.empty()) {
    host_.ShowPortLine("Find machine: no adapter to ask", PortLineTone::kProblem);
    return;
  }
  host_.ShowPortLine("Looking for the machine…", PortLineTone::kNews);
  host_.StartTimer(kFindTimerId, kFindTickMs);
}

void PortChooser::OnFindTick() {
  if (finder_.Step()) return;
  host_.StopTimer(kFindTimerId);
  TellWhatWasFound();
}

std::string PortChooser::LabelOf(const std::string& node) const {
  for (const SerialDevice& device : candidates_) {
    if (device.node == node) return DeviceLabel(device);
  }
  return node;
}

void PortChooser::TellWhatWasFound() {
  const std::vector<std::string>& answered = finder_.answered();
  std::string chosen;
  if (answered.size() == 1) {
    chosen = answered.front();
  } else if (answered.size() > 1) {
    std::vector<std::string> labels;
    labels.reserve(answered.size());
    for (const std::string& node : answered) labels.push_back(LabelOf(node));
    const auto picked =
        host_.AskChoice("The machine answered on more than one port. Which one?", labels);
    if (picked && *picked >= 0 && static_cast<std::size_t>(*picked) < answered.size()) {
      chosen = answered[static_cast<std::size_t>(*picked)];
    }
  }
  if (!chosen.empty()) {
    for (const SerialDevice& device : candidates_) {
      if (device.node == chosen) Choose(device);
    }
    host_.ShowPortLine("The machine answered on " + LabelOf(chosen) + ": press Connect",
                       PortLineTone::kFound);
    return;
  }
  std::string text = answered.empty() ? "No machine answered" : "No port chosen";
  for (const MachineFinder::Skipped& skipped : finder_.skipped()) text += "; " + skipped.reason;
  host_.ShowPortLine(text, PortLineTone::kProblem);
}
