// The start-up set (window creation) and the default set (Set Defaults).

#include "panel/panel_sets.h"

#include <array>

#include "panel/exchange.h"
#include "resources/control_ids.h"
#include "state/panel_state.h"

namespace {

struct CheckValue {
  int id;
  int check;
};

// Both sets apply the check boxes in this order, with these marks.
constexpr std::array<CheckValue, 11> kCheckSet = {{
    {ids::kPumpRunCheck, 0},
    {ids::kCompressorRunCheck, 0},
    {ids::kMainFaultNcCheck, 1},
    {ids::kMainFaultLatchingCheck, 0},
    {ids::kTrigRelayNcCheck, 1},
    {ids::kIdleEnableCheck, 1},
    {ids::kAuxOutNcCheck, 1},
    {ids::kAuxOutLatchingCheck, 0},
    {ids::kFaultSuppressCheck, 0},
    {ids::kRefCalCheck, 0},
    {ids::kUsbSaiOffCheck, 0},
}};

struct Selection {
  int comboId;
  int index;
};

constexpr std::array<Selection, 5> kStartUpSelections = {{
    {ids::kRunTimeCombo, 5},
    {ids::kLocalTempCombo, 3},
    {ids::kEvapFanCombo, 0},
    {ids::kPumpMinCombo, 0},
    {ids::kPumpMaxCombo, 1},
}};

constexpr std::array<Selection, 5> kDefaultSelections = {{
    {ids::kRunTimeCombo, 5},
    {ids::kEvapFanCombo, 5},
    {ids::kPumpMinCombo, 5},
    {ids::kPumpMaxCombo, 4},
    {ids::kLocalTempCombo, 5},
}};

constexpr const char* kDefaultNameText = "Insert name here";

}  // namespace

void ApplyStartUpSet(ControlModel& controls) {
  controls.SetText(ids::kNameEdit, kDefaultNameText);
  controls.SetText(ids::kStatusLine, "STATUS: Link is stopped");
  for (const Selection& s : kStartUpSelections) controls.SetSelection(s.comboId, s.index);
  for (const CheckValue& c : kCheckSet) controls.SetCheck(c.id, c.check);
}

void ApplyDefaultSet(PanelState& panel) {
  ControlModel& controls = panel.controls;
  controls.SetText(ids::kNameEdit, kDefaultNameText);
  for (const Selection& s : kDefaultSelections) controls.SetSelection(s.comboId, s.index);
  for (const CheckValue& c : kCheckSet) controls.SetCheck(c.id, c.check);
  BoundValues& values = panel.values;
  values.tMin = 15;
  values.tMax = 10;
  values.sHt = 2;
  values.calValue = 157;
  ShowPanel(panel);
}
