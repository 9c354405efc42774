#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "resources/panel_template.h"

// State of one control, whatever its kind; each kind uses the fields it has.
struct ControlState {
  int id = kNoControlId;
  ControlKind kind = ControlKind::kStatic;
  // Caption, edit text, or a combo's field, as bytes: names and revisions from the
  // machine keep every byte as received (0x01..0xFF). The window shows a text that is
  // valid UTF-8 as UTF-8 and any other byte for byte as Latin-1; what the operator
  // types comes back as UTF-8.
  std::string text;
  int check = 0;                     // 0 unchecked; anything else counts as checked
  std::vector<std::string> entries;  // combo list
  int selection = -1;                // combo selection, -1 for none
  std::vector<std::string> lines;    // list box, in insertion order
  int topIndex = 0;
  int position = 0;   // progress bar, 0..100
  DialogRect rect{};  // in dialog units of the template font
  bool shown = true;
  bool enabled = true;
};

// Told of every change of control state, whoever made it. Setting state from code
// never runs an operator handler; a view mirrors these changes.
class ControlObserver {
 public:
  virtual ~ControlObserver() = default;
  virtual void TextChanged(int /*id*/, const std::string& /*text*/) {}
  virtual void CheckChanged(int /*id*/, int /*check*/) {}
  virtual void SelectionChanged(int /*id*/, int /*index*/) {}
  virtual void ComboEntriesChanged(int /*id*/) {}
  virtual void ProgressChanged(int /*id*/, int /*position*/) {}
  virtual void LineAdded(int /*id*/, const std::string& /*line*/) {}
  virtual void ListCleared(int /*id*/) {}
  virtual void TopIndexChanged(int /*id*/, int /*index*/) {}
  virtual void TextSelectedAll(int /*id*/) {}
  virtual void FocusRequested(int /*id*/) {}
};

// Every control of the panel as state, by control ID. Operations on an ID that is not
// on the panel, or on a control of another kind, do nothing and read as empty.
class ControlModel {
 public:
  ControlModel();

  void Subscribe(ControlObserver* observer);
  void Unsubscribe(ControlObserver* observer);

  // Window creation: fills the combo lists of the template.
  void FillComboLists();

  const ControlState* Find(int id) const;
  const std::vector<ControlState>& All() const { return controls_; }

  void SetText(int id, std::string_view text);
  std::string GetText(int id) const;

  void SetCheck(int id, int check);
  bool IsChecked(int id) const;

  int GetSelection(int id) const;
  // An index beyond the list (or -1) leaves no selection and an empty field.
  void SetSelection(int id, int index);
  // The operator typed into a combo's field: the field holds the text, no entry is
  // selected.
  void TypeComboText(int id, std::string_view text);

  int GetProgress(int id) const;
  // Held within the bar's range 0..100.
  void SetProgress(int id, int position);

  void AddLine(int id, std::string line);
  void ResetList(int id);
  int LineCount(int id) const;
  std::string Line(int id, int index) const;
  void SetTopIndex(int id, int index);
  int TopIndex(int id) const;

  // Select the whole text of an edit and scroll its caret into view.
  void SelectAllText(int id);
  void SetFocus(int id);
  int FocusedControl() const { return focus_; }

 private:
  ControlState* FindKind(int id, ControlKind kind);
  const ControlState* FindKind(int id, ControlKind kind) const;
  template <typename Notify>
  void NotifyAll(Notify notify);

  std::vector<ControlState> controls_;
  std::unordered_map<int, std::size_t> indexById_;
  std::vector<ControlObserver*> observers_;
  int focus_ = kNoControlId;
};
