#include "app/live_readouts.h"

#include <QWidget>

#include "app/palette_colours.h"
#include "app/panel_window.h"
#include "resources/control_ids.h"
#include "state/control_model.h"

namespace {

constexpr int kLiveReadouts[] = {
    ids::kReadyIndicator,   ids::kMainsOkIndicator, ids::kReady2Indicator, ids::kRdmIndicator,
    ids::kFluidOkIndicator, ids::kDmxIndicator,     ids::kHeatIndicator,   ids::kHeat2Indicator,
    ids::kEiLine,           ids::kEoLine,           ids::kCiLine,          ids::kCoLine,
    ids::kPwmLine,          ids::kPLowLine,         ids::kPHighLine,       ids::kMainsLine,
    ids::kOutputLine,       ids::kClockLine};

}  // namespace

LiveReadouts::LiveReadouts(const PanelWindow& window, const ControlModel& model)
    : window_(window), model_(model) {}

void LiveReadouts::Show(bool live) {
  everLive_ = everLive_ || live;
  const bool dim = everLive_ && !live;
  // Called on every refresh: only a change touches the widgets.
  if (dim == dimmed_) return;
  dimmed_ = dim;
  for (int id : kLiveReadouts) {
    QWidget* widget = window_.Control(id);
    const ControlState* state = model_.Find(id);
    if (widget == nullptr || state == nullptr) continue;
    // Dimmed, yet readable: the palette's disabled text is too faint on some themes.
    if (dim) KeepReadableWhenDimmed(*widget);
    widget->setEnabled(!dim && state->enabled);
  }
}
