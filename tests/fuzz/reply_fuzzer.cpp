// Feeds arbitrary 12-byte replies, any codes in any order, to a connected panel through
// the link cycle, as a machine on the line could send them. Byte 0 of a reply, which
// the panel never reads, also picks an operator action taken between two ticks,
// so that Get All, Clear, Save, Ref Cal, Read and Write interleave with the replies.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "panel/operator_events.h"
#include "resources/control_ids.h"
#include "support/panel_fixture.h"

namespace {

constexpr std::size_t kReplySize = 12;

enum Action : uint8_t {
  kGetAll = 0xA1,
  kClearLog = 0xA2,
  kToggleRefCal = 0xA3,
  kSaveLogFails = 0xA4,
  kSaveLogCancelled = 0xA5,
  kRead = 0xA6,
  kWrite = 0xA7,
};

void TakeAction(PanelFixture& panel, uint8_t action) {
  CKeloConfigurationDlg& dlg = panel.dlg;
  switch (action) {
    case kGetAll:
      OperatorClicked(dlg, ids::kGetAllButton);
      break;
    case kClearLog:
      OperatorClicked(dlg, ids::kClearLogButton);
      break;
    case kToggleRefCal:
      OperatorClicked(dlg, ids::kRefCalCheck);
      break;
    case kSaveLogFails:
      panel.host.savePaths.emplace_back("/nonexistent-kelo-fuzz/events.txt");
      OperatorClicked(dlg, ids::kSaveLogButton);
      break;
    case kSaveLogCancelled:
      OperatorClicked(dlg, ids::kSaveLogButton);
      break;
    case kRead:
      OperatorClicked(dlg, ids::kReadButton);
      break;
    case kWrite:
      // Write sends back whatever settings and calibration values the replies brought.
      OperatorClicked(dlg, ids::kWriteButton);
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

  PanelFixture panel;
  int pendingAction = -1;
  panel.port.responder = [&](const FakeSerialPort::Frame&) {
    if (replies.empty()) return std::vector<uint8_t>{};
    std::vector<uint8_t> reply = std::move(replies.front());
    replies.pop_front();
    pendingAction = reply.empty() ? -1 : reply[0];
    return reply;
  };
  panel.Connect();

  // Two ticks per transaction and a refill tick now and then; should the link stop,
  // the run ends early.
  const std::size_t tickLimit = 3 * (size / kReplySize) + 8;
  for (std::size_t tick = 0; tick < tickLimit && panel.dlg.link().IsOpen(); ++tick) {
    panel.LinkTicks(1);
    if (pendingAction >= 0) {
      TakeAction(panel, static_cast<uint8_t>(pendingAction));
      pendingAction = -1;
    }
  }
  return 0;
}
