#include "state/control_model.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kProgressMin = 0;
constexpr int kProgressMax = 100;

bool IsButtonLike(ControlKind kind) {
  return kind == ControlKind::kCheckBox || kind == ControlKind::kIndicator;
}

}  // namespace

ControlModel::ControlModel() {
  for (const ControlSpec& entry : PanelControls()) {
    if (entry.id == kNoControlId) continue;
    ControlState state;
    state.id = entry.id;
    state.kind = entry.kind;
    state.text = std::string(entry.caption);
    state.rect = entry.rect;
    state.shown = entry.shown;
    state.enabled = entry.enabled;
    indexById_[entry.id] = controls_.size();
    controls_.push_back(std::move(state));
  }
}

void ControlModel::Subscribe(ControlObserver* observer) {
  observers_.push_back(observer);
}

void ControlModel::Unsubscribe(ControlObserver* observer) {
  std::erase(observers_, observer);
}

template <typename Notify>
void ControlModel::NotifyAll(Notify notify) {
  for (ControlObserver* observer : observers_) notify(*observer);
}

void ControlModel::FillComboLists() {
  for (const ComboListSpec& list : PanelComboLists()) {
    ControlState* combo = FindKind(list.comboId, ControlKind::kCombo);
    if (combo == nullptr) continue;
    for (std::string_view entry : list.entries) combo->entries.emplace_back(entry);
    NotifyAll([&](ControlObserver& o) { o.ComboEntriesChanged(list.comboId); });
  }
}

const ControlState* ControlModel::Find(int id) const {
  const auto found = indexById_.find(id);
  return found == indexById_.end() ? nullptr : &controls_[found->second];
}

ControlState* ControlModel::FindKind(int id, ControlKind kind) {
  // One lookup serves both: the model owns the state it finds.
  return const_cast<ControlState*>(  // NOLINT(cppcoreguidelines-pro-type-const-cast)
      std::as_const(*this).FindKind(id, kind));
}

const ControlState* ControlModel::FindKind(int id, ControlKind kind) const {
  const ControlState* state = Find(id);
  if (state == nullptr) return nullptr;
  if (state->kind == kind) return state;
  if (kind == ControlKind::kCheckBox && IsButtonLike(state->kind)) return state;
  if (kind == ControlKind::kPushButton && state->kind == ControlKind::kDefaultPushButton) {
    return state;
  }
  return nullptr;
}

void ControlModel::SetText(int id, std::string_view text) {
  const auto found = indexById_.find(id);
  if (found == indexById_.end()) return;
  ControlState& state = controls_[found->second];
  // A combo's field holds text that selects no entry, and its observers hear of both.
  if (state.kind == ControlKind::kCombo) return TypeComboText(id, text);
  if (state.text == text) return;
  state.text = std::string(text);
  NotifyAll([&](ControlObserver& o) { o.TextChanged(id, state.text); });
}

std::string ControlModel::GetText(int id) const {
  const ControlState* state = Find(id);
  return state == nullptr ? std::string() : state->text;
}

void ControlModel::SetCheck(int id, int check) {
  ControlState* state = FindKind(id, ControlKind::kCheckBox);
  if (state == nullptr || state->check == check) return;
  state->check = check;
  NotifyAll([&](ControlObserver& o) { o.CheckChanged(id, check); });
}

bool ControlModel::IsChecked(int id) const {
  const ControlState* state = FindKind(id, ControlKind::kCheckBox);
  return state != nullptr && state->check != 0;
}

int ControlModel::GetSelection(int id) const {
  const ControlState* state = FindKind(id, ControlKind::kCombo);
  return state == nullptr ? -1 : state->selection;
}

void ControlModel::SetSelection(int id, int index) {
  ControlState* state = FindKind(id, ControlKind::kCombo);
  if (state == nullptr) return;
  const bool inList = index >= 0 && static_cast<std::size_t>(index) < state->entries.size();
  const int selection = inList ? index : -1;
  const std::string field = inList ? state->entries[static_cast<std::size_t>(index)] : "";
  const bool textChanges = state->text != field;
  const bool selectionChanges = state->selection != selection;
  state->selection = selection;
  state->text = field;
  if (textChanges) NotifyAll([&](ControlObserver& o) { o.TextChanged(id, state->text); });
  if (selectionChanges) NotifyAll([&](ControlObserver& o) { o.SelectionChanged(id, selection); });
}

void ControlModel::TypeComboText(int id, std::string_view text) {
  ControlState* state = FindKind(id, ControlKind::kCombo);
  if (state == nullptr) return;
  const bool textChanges = state->text != text;
  const bool selectionChanges = state->selection != -1;
  state->text = std::string(text);
  state->selection = -1;
  if (textChanges) NotifyAll([&](ControlObserver& o) { o.TextChanged(id, state->text); });
  if (selectionChanges) NotifyAll([&](ControlObserver& o) { o.SelectionChanged(id, -1); });
}

int ControlModel::GetProgress(int id) const {
  const ControlState* state = FindKind(id, ControlKind::kProgressBar);
  return state == nullptr ? 0 : state->position;
}

void ControlModel::SetProgress(int id, int position) {
  ControlState* state = FindKind(id, ControlKind::kProgressBar);
  if (state == nullptr) return;
  position = std::clamp(position, kProgressMin, kProgressMax);
  if (state->position == position) return;
  state->position = position;
  NotifyAll([&](ControlObserver& o) { o.ProgressChanged(id, position); });
}

void ControlModel::AddLine(int id, std::string line) {
  ControlState* state = FindKind(id, ControlKind::kListBox);
  if (state == nullptr) return;
  state->lines.push_back(std::move(line));
  NotifyAll([&](ControlObserver& o) { o.LineAdded(id, state->lines.back()); });
}

void ControlModel::ResetList(int id) {
  ControlState* state = FindKind(id, ControlKind::kListBox);
  if (state == nullptr) return;
  state->lines.clear();
  state->topIndex = 0;
  NotifyAll([&](ControlObserver& o) { o.ListCleared(id); });
}

int ControlModel::LineCount(int id) const {
  const ControlState* state = FindKind(id, ControlKind::kListBox);
  return state == nullptr ? 0 : static_cast<int>(state->lines.size());
}

std::string ControlModel::Line(int id, int index) const {
  const ControlState* state = FindKind(id, ControlKind::kListBox);
  if (state == nullptr || index < 0 || static_cast<std::size_t>(index) >= state->lines.size()) {
    return {};
  }
  return state->lines[static_cast<std::size_t>(index)];
}

void ControlModel::SetTopIndex(int id, int index) {
  ControlState* state = FindKind(id, ControlKind::kListBox);
  if (state == nullptr || index < 0 || state->topIndex == index) return;
  state->topIndex = index;
  NotifyAll([&](ControlObserver& o) { o.TopIndexChanged(id, index); });
}

int ControlModel::TopIndex(int id) const {
  const ControlState* state = FindKind(id, ControlKind::kListBox);
  return state == nullptr ? 0 : state->topIndex;
}

void ControlModel::SelectAllText(int id) {
  if (FindKind(id, ControlKind::kEdit) == nullptr) return;
  NotifyAll([&](ControlObserver& o) { o.TextSelectedAll(id); });
}

void ControlModel::SetFocus(int id) {
  if (Find(id) == nullptr) return;
  focus_ = id;
  NotifyAll([&](ControlObserver& o) { o.FocusRequested(id); });
}
