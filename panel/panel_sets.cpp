// The start-up set (window creation) and the default set (Set Defaults).

#include "panel/panel_dialog.h"

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

void CKeloConfigurationDlg::ApplyStartUpSet() {
  controls_.SetText(ids::kNameEdit, kDefaultNameText);
  controls_.SetText(ids::kStatusLine, "STATUS: Link is stopped");
  for (const Selection& s : kStartUpSelections) controls_.SetSelection(s.comboId, s.index);
  for (const CheckValue& c : kCheckSet) controls_.SetCheck(c.id, c.check);
}

void CKeloConfigurationDlg::ApplyDefaultSet() {
  controls_.SetText(ids::kNameEdit, kDefaultNameText);
  for (const Selection& s : kDefaultSelections) controls_.SetSelection(s.comboId, s.index);
  for (const CheckValue& c : kCheckSet) controls_.SetCheck(c.id, c.check);
  tMin = 15;
  tMax = 10;
  sHt = 2;
  calValue = 157;
  ShowPanel();
}
