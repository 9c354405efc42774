// Read-back of the machine's settings (reply 3) and calibration values (reply 7) into
// the panel. Both are kept as received: Write sends the machine's own bits back for
// every field the operator has not changed, and waits until both have arrived.

#include "replies/decoders.h"
#include "replies/reply_bytes.h"
#include "replies/settings_block.h"
#include "state/panel_state.h"

namespace {

PayloadBytes PayloadOf(const Frame& frame) {
  PayloadBytes payload{};
  for (std::size_t i = 0; i < payload.size(); ++i) {
    payload[i] = ReplyByte(frame, static_cast<int>(i) + 3);
  }
  return payload;
}

}  // namespace

void DecodeSettings(const Frame& reply, PanelState& panel) {
  panel.machine.machineSettings = PayloadOf(reply);
  ShowSettings(panel.controls, *panel.machine.machineSettings);
}

void DecodeCalibration(const Frame& reply, PanelState& panel) {
  panel.machine.machineCalibration = PayloadOf(reply);
  BoundValues& values = panel.values;
  values.calValue = ReplyByte(reply, 3);
  values.sHt = ReplyByte(reply, 4);
  values.tMin = ReplyByte(reply, 5);
  values.tMax = ReplyByte(reply, 6);
  ShowBoundValues(values, panel.controls);
  panel.machine.calibrationShown = ShownCalibration(panel.controls);
}
