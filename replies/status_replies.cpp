// Replies that report the machine's running state: status (fog status byte, mains,
// inverter output) and reference-calibration progress.

#include <string>

#include "replies/decoders.h"
#include "replies/reply_bytes.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

struct StatusBit {
  int mask;
  int indicatorId;
};

// FOG STATUS indicators by bit of the fog status byte.
constexpr StatusBit kStatusBits[] = {
    {0x01, ids::kReadyIndicator},   {0x02, ids::kMainsOkIndicator}, {0x04, ids::kReady2Indicator},
    {0x08, ids::kHeat2Indicator},   {0x10, ids::kHeatIndicator},    {0x20, ids::kRdmIndicator},
    {0x40, ids::kFluidOkIndicator}, {0x80, ids::kDmxIndicator},
};

// The inverter's output in hertz: byte 6 scaled so that 208 is 70 Hz, truncated.
constexpr int32_t kOutputHzPerStep = 70;
constexpr int32_t kOutputStepsPerScale = 208;
constexpr int kCalibrationDone = 100;

}  // namespace

namespace {

// Replaces whatever the operator typed into T_Max and has not stored.
void ShowFogStatus(PanelState& panel) {
  panel.controls.SetText(ids::kTMaxEdit, std::to_string(panel.values.tMax));
  for (const StatusBit& bit : kStatusBits) {
    panel.controls.SetCheck(bit.indicatorId, (panel.machine.fogStatusByte & bit.mask) != 0 ? 1 : 0);
  }
}

}  // namespace

void DecodeStatus(const Frame& reply, PanelState& panel) {
  MachineReadings& machine = panel.machine;
  machine.fogStatusByte = ReplyByte(reply, 7);
  machine.mainsValue = ReplyByte(reply, 8);
  machine.outputFrequency = ReplyByte(reply, 6) * kOutputHzPerStep / kOutputStepsPerScale;
  ShowFogStatus(panel);
}

void DecodeCalProgress(const Frame& reply, PanelState& panel) {
  ControlModel& controls = panel.controls;
  const int progress = ReplyByte(reply, 3);
  if (progress < kCalibrationDone) {
    controls.SetProgress(ids::kCalProgress, progress);
  } else if (controls.IsChecked(ids::kRefCalCheck)) {
    // Done: unchecking Ref Cal also takes code 23 out of the poll set.
    controls.SetProgress(ids::kCalProgress, 0);
    controls.SetCheck(ids::kRefCalCheck, 0);
  }
}
