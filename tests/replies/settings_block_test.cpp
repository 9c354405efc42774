#include "replies/settings_block.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "resources/control_ids.h"
#include "state/control_model.h"

namespace {

struct WriteRuleCase {
  const char* name;
  PayloadBytes machine;
  // What the operator changed after the machine's settings arrived.
  std::function<void(ControlModel&)> change;
  PayloadBytes sent;
};

class SettingsWriteRule : public ::testing::TestWithParam<WriteRuleCase> {};

// Write changes on the machine only what the operator changed on the panel.
TEST_P(SettingsWriteRule, SendsTheMachinesBitsForEveryUnchangedField) {
  const WriteRuleCase& c = GetParam();
  ControlModel controls;
  controls.FillComboLists();
  ShowSettings(controls, c.machine);
  if (c.change) c.change(controls);
  EXPECT_EQ(SettingsToWrite(controls, c.machine), c.sent);
}

void Toggle(ControlModel& m, int id) {
  m.SetCheck(id, m.IsChecked(id) ? 0 : 1);
}

constexpr PayloadBytes kUnusual = {21, 70, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF};
constexpr PayloadBytes kRounded = {10, 25, 0x03, 0x02, 0x20, 0x91, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsWriteRule,
    ::testing::Values(
        // A run time past the list, bits no control shows, bytes 9 to 11.
        WriteRuleCase{"NothingTouched", kUnusual, nullptr, kUnusual},
        // 10 degrees shows as "17", run time 25 as "+20"; bits 5 and 1 of byte 7 unread.
        WriteRuleCase{"RoundedValuesGoBackUnrounded", kRounded, nullptr, kRounded},
        WriteRuleCase{"ReselectingTheShownEntry", kRounded,
                      [](ControlModel& m) { m.SetSelection(ids::kRunTimeCombo, 2); }, kRounded},
        WriteRuleCase{"RunTimeChanged",
                      kUnusual,
                      [](ControlModel& m) { m.SetSelection(ids::kRunTimeCombo, 3); },
                      {21, 30, 0xA3, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}},
        WriteRuleCase{"LocalTempChanged",
                      kRounded,
                      [](ControlModel& m) { m.SetSelection(ids::kLocalTempCombo, 10); },
                      {27, 25, 0x03, 0x02, 0x20, 0x91, 0, 0, 0}},
        WriteRuleCase{"FanKeepsItsUpperNibble",
                      kUnusual,
                      [](ControlModel& m) { m.SetSelection(ids::kEvapFanCombo, 5); },
                      {21, 70, 0xA5, 0x52, 0x84, 0x63, 0xDE, 0xAD, 0xBF}},
        WriteRuleCase{"PumpMinKeepsItsUpperNibble",
                      kUnusual,
                      [](ControlModel& m) { m.SetSelection(ids::kPumpMinCombo, 8); },
                      {21, 70, 0xA3, 0x58, 0x84, 0x63, 0xDE, 0xAD, 0xBF}},
        WriteRuleCase{"PumpMaxKeepsTheRunFlags",
                      kUnusual,
                      [](ControlModel& m) { m.SetSelection(ids::kPumpMaxCombo, 2); },
                      {21, 70, 0xA3, 0x52, 0x84, 0x23, 0xDE, 0xAD, 0xBF}},
        WriteRuleCase{"TypedComboTextKeepsTheMachinesByte", kRounded,
                      [](ControlModel& m) {
                        m.TypeComboText(ids::kRunTimeCombo, "+25");
                        m.TypeComboText(ids::kLocalTempCombo, "hot");
                      },
                      kRounded},
        // Unchecking N/C of the main fault sets both of its bits.
        WriteRuleCase{"ContactGroupChanged",
                      kUnusual,
                      [](ControlModel& m) { Toggle(m, ids::kMainFaultNcCheck); },
                      {21, 70, 0xA3, 0x52, 0xB4, 0x63, 0xDE, 0xAD, 0xBF}},
        // Changed and changed back: the machine's bit 5 comes back with it.
        WriteRuleCase{"ContactGroupChangedBack", kRounded,
                      [](ControlModel& m) {
                        Toggle(m, ids::kMainFaultNcCheck);
                        Toggle(m, ids::kMainFaultNcCheck);
                      },
                      kRounded},
        WriteRuleCase{"LatchingChanged",
                      kRounded,
                      [](ControlModel& m) { Toggle(m, ids::kMainFaultLatchingCheck); },
                      {10, 25, 0x03, 0x02, 0x23, 0x91, 0, 0, 0}},
        WriteRuleCase{"IdleEnableChanged",
                      kUnusual,
                      [](ControlModel& m) { Toggle(m, ids::kIdleEnableCheck); },
                      {21, 70, 0xA3, 0x52, 0x80, 0x63, 0xDE, 0xAD, 0xBF}},
        WriteRuleCase{"RunFlagChanged",
                      kUnusual,
                      [](ControlModel& m) {
                        Toggle(m, ids::kCompressorRunCheck);
                        Toggle(m, ids::kUsbSaiOffCheck);
                      },
                      {21, 70, 0xA3, 0x52, 0x84, 0x6A, 0xDE, 0xAD, 0xBF}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CalibrationWriteBlock, ChangedValuesInBytes3To6AndTheMachinesBytesElsewhere) {
  EXPECT_EQ(CalibrationToWrite({250, 0, 7, 255}, {false, true, false, false},
                               {12, 4, 20, 45, 1, 2, 3, 4, 5}),
            (PayloadBytes{250, 4, 7, 255, 1, 2, 3, 4, 5}));
}

}  // namespace
