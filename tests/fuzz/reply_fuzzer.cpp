// Feeds arbitrary 12-byte replies, any codes in any order, to a connected panel through
// the link cycle, as a machine on the line could send them. Byte 0 of a reply, which
// the panel never reads, also picks an operator action taken between two ticks,
// so that Get All, Clear, Save and Ref Cal interleave with the replies.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_port.h"

namespace {

constexpr std::size_t kReplySize = 12;

enum Action : uint8_t {
  kGetAll = 0xA1,
  kClearLog = 0xA2,
  kToggleRefCal = 0xA3,
  kSaveLogFails = 0xA4,
  kSaveLogCancelled = 0xA5,
};

void TakeAction(CKeloConfigurationDlg& panel, FakeHost& host, uint8_t action) {
  switch (action) {
    case kGetAll:
      panel.OnGetAllClicked();
      break;
    case kClearLog:
      panel.OnClearLogClicked();
      break;
    case kToggleRefCal:
      panel.controls().SetCheck(ids::kRefCalCheck,
                                panel.controls().IsChecked(ids::kRefCalCheck) ? 0 : 1);
      break;
    case kSaveLogFails:
      host.savePaths.emplace_back("/nonexistent-kelo-fuzz/events.txt");
      panel.OnSaveLogClicked();
      break;
    case kSaveLogCancelled:
      panel.OnSaveLogClicked();
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  std::deque<std::vector<uint8_t>> replies;
  for (std::size_t at = 0; at < size; at += kReplySize) {
    const std::size_t end = at + kReplySize < size ? at + kReplySize : size;
    replies.emplace_back(data + at, data + end);  // the last one may be cut short
  }

  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg panel(host, port);
  panel.OnInitDialog();
  panel.OnConnectClicked();
  panel.ConnectStep();

  int pendingAction = -1;
  port.responder = [&](const FakeSerialPort::Frame&) {
    if (replies.empty()) return std::vector<uint8_t>{};
    std::vector<uint8_t> reply = std::move(replies.front());
    replies.pop_front();
    pendingAction = reply.empty() ? -1 : reply[0];
    return reply;
  };

  // Two ticks per transaction and a refill tick now and then; a reply that leaves the
  // link stopped (a lost port) ends the run early.
  const std::size_t tickLimit = 3 * (size / kReplySize) + 8;
  for (std::size_t tick = 0; tick < tickLimit && panel.portOpen; ++tick) {
    panel.LinkStep();
    if (pendingAction >= 0) {
      TakeAction(panel, host, static_cast<uint8_t>(pendingAction));
      pendingAction = -1;
    }
  }
  return 0;
}
