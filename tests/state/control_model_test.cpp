#include "state/control_model.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "resources/control_ids.h"

namespace {

// Records every change a view would be told of.
class Recorder : public ControlObserver {
 public:
  void TextChanged(int id, const std::string& text) override {
    events.push_back("text " + std::to_string(id) + " " + text);
  }
  void CheckChanged(int id, int check) override {
    events.push_back("check " + std::to_string(id) + " " + std::to_string(check));
  }
  void SelectionChanged(int id, int index) override {
    events.push_back("select " + std::to_string(id) + " " + std::to_string(index));
  }
  void ProgressChanged(int id, int position) override {
    events.push_back("progress " + std::to_string(id) + " " + std::to_string(position));
  }
  void LineAdded(int id, const std::string& line) override {
    events.push_back("add " + std::to_string(id) + " " + line);
  }
  void ListCleared(int id) override { events.push_back("clear " + std::to_string(id)); }
  std::vector<std::string> events;
};

TEST(ControlModel, HoldsEveryControlOfTheTemplateWithCaptionAndVisibility) {
  ControlModel model;
  struct Row {
    int id;
    ControlKind kind;
    const char* caption;
    bool shown;
    bool enabled;
  };
  const Row rows[] = {
      {ids::kExitButton, ControlKind::kDefaultPushButton, "Exit", true, true},
      {ids::kStatusLine, ControlKind::kStatic, "CURRENT STATUS:- Not Connected", true, true},
      {ids::kServiceDueLine, ControlKind::kStatic, "xx Days to next service", true, true},
      {ids::kMainsOkIndicator, ControlKind::kIndicator, "MainsOk", false, true},
      {ids::kMonitorButton, ControlKind::kPushButton, "Monitor", false, false},
      {ids::kHelpButton, ControlKind::kPushButton, "Help", false, true},
      {ids::kNameEdit, ControlKind::kEdit, "", false, true},
      {ids::kRefCalCheck, ControlKind::kCheckBox, "Ref Cal", true, true},
      {ids::kUsbSaiOffCheck, ControlKind::kCheckBox, "USB SAI Off", false, true},
      {ids::kEventList, ControlKind::kListBox, "", true, true},
      {ids::kCalProgress, ControlKind::kProgressBar, "", true, true},
      {ids::kOutputLine, ControlKind::kStatic, "Static", true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.id);
    const ControlState* state = model.Find(row.id);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->kind, row.kind);
    EXPECT_EQ(state->text, row.caption);
    EXPECT_EQ(state->shown, row.shown);
    EXPECT_EQ(state->enabled, row.enabled);
  }
  const DialogRect list = model.Find(ids::kEventList)->rect;
  EXPECT_EQ((std::array{list.x, list.y, list.width, list.height}), (std::array{157, 86, 277, 53}));
  EXPECT_EQ(model.All().size(), 60u);  // every control that has an ID
}

TEST(ControlModel, ComboListsAreFilledInTheirOrder) {
  ControlModel model;
  model.FillComboLists();
  using Entries = std::vector<std::string>;
  const Entries adjust = {"0", "+1", "+2", "+3", "+4", "+5", "+6", "+7", "+8"};
  EXPECT_EQ(model.Find(ids::kLocalTempCombo)->entries,
            (Entries{"17", "18", "19", "20", "21", "22", "23", "24", "25", "26", "27"}));
  EXPECT_EQ(model.Find(ids::kRunTimeCombo)->entries,
            (Entries{"+0", "+10", "+20", "+30", "+40", "+50"}));
  EXPECT_EQ(model.Find(ids::kEvapFanCombo)->entries, adjust);
  EXPECT_EQ(model.Find(ids::kPumpMinCombo)->entries, adjust);
  EXPECT_EQ(model.Find(ids::kPumpMaxCombo)->entries, adjust);
  EXPECT_TRUE(model.Find(ids::kUnusedCombo)->entries.empty());
}

TEST(ControlModel, SelectionBeyondTheListLeavesNoSelectionAndAnEmptyField) {
  ControlModel model;
  model.FillComboLists();
  const struct {
    int index;
    int selection;
    const char* field;
  } rows[] = {{0, 0, "+0"}, {5, 5, "+50"}, {6, -1, ""}, {7, -1, ""}, {-1, -1, ""}, {1000, -1, ""}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.index);
    model.SetSelection(ids::kRunTimeCombo, 2);
    model.SetSelection(ids::kRunTimeCombo, row.index);
    EXPECT_EQ(model.GetSelection(ids::kRunTimeCombo), row.selection);
    EXPECT_EQ(model.GetText(ids::kRunTimeCombo), row.field);
  }
}

TEST(ControlModel, TypedComboTextSelectsNothingEvenWhenItMatchesAnEntry) {
  ControlModel model;
  model.FillComboLists();
  model.SetSelection(ids::kRunTimeCombo, 3);
  model.TypeComboText(ids::kRunTimeCombo, "+45");
  EXPECT_EQ(model.GetSelection(ids::kRunTimeCombo), -1);
  EXPECT_EQ(model.GetText(ids::kRunTimeCombo), "+45");
  model.SetSelection(ids::kRunTimeCombo, 3);
  model.TypeComboText(ids::kRunTimeCombo, "+10");
  EXPECT_EQ(model.GetSelection(ids::kRunTimeCombo), -1);
}

TEST(ControlModel, TellsObserversOfEachRealChangeOnce) {
  ControlModel model;
  model.FillComboLists();
  Recorder recorder;
  model.Subscribe(&recorder);
  model.SetText(ids::kStatusLine, "STATUS: Port Open");
  model.SetText(ids::kStatusLine, "STATUS: Port Open");  // no change
  model.SetCheck(ids::kRefCalCheck, 1);
  model.SetCheck(ids::kRefCalCheck, 1);
  model.SetSelection(ids::kPumpMaxCombo, 4);
  model.SetProgress(ids::kLinkProgress, 250);
  model.AddLine(ids::kEventList, "Event = x");
  model.ResetList(ids::kEventList);
  EXPECT_EQ(recorder.events, (std::vector<std::string>{
                                 "text 1071 STATUS: Port Open",
                                 "check 1029 1",
                                 "text 1046 +4",
                                 "select 1046 4",
                                 "progress 1021 100",
                                 "add 1055 Event = x",
                                 "clear 1055",
                             }));
  model.Unsubscribe(&recorder);
  model.SetText(ids::kStatusLine, "other");
  EXPECT_EQ(recorder.events.size(), 7u);
}

TEST(ControlModel, OperationsOnAbsentOrMismatchedControlsDoNothing) {
  ControlModel model;
  model.SetText(9999, "x");
  EXPECT_EQ(model.GetText(9999), "");
  model.SetCheck(ids::kStatusLine, 1);  // a static has no check mark
  EXPECT_FALSE(model.IsChecked(ids::kStatusLine));
  model.SetSelection(ids::kCalValueEdit, 1);
  EXPECT_EQ(model.GetSelection(ids::kCalValueEdit), -1);
  model.AddLine(ids::kStatusLine, "x");
  EXPECT_EQ(model.LineCount(ids::kStatusLine), 0);
  EXPECT_EQ(model.Line(ids::kEventList, 0), "");
  EXPECT_EQ(model.Line(ids::kEventList, -1), "");
}

TEST(ControlModel, IndicatorsTakeMarksFromCodeAndProgressStaysInRange) {
  ControlModel model;
  model.SetCheck(ids::kDmxIndicator, 1);
  EXPECT_TRUE(model.IsChecked(ids::kDmxIndicator));
  model.SetCheck(ids::kDmxIndicator, 2);  // any mark other than clear counts
  EXPECT_TRUE(model.IsChecked(ids::kDmxIndicator));
  model.SetProgress(ids::kCalProgress, -5);
  EXPECT_EQ(model.GetProgress(ids::kCalProgress), 0);
  model.SetProgress(ids::kCalProgress, 55);
  EXPECT_EQ(model.GetProgress(ids::kCalProgress), 55);
}

}  // namespace
