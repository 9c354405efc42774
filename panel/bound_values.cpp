// Exchange of the five bound values with their edits.

#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>

#include "panel/panel_dialog.h"

namespace {

struct BoundField {
  BoundValue value;
  int editId;
  int32_t min;
  int32_t max;
};

// Exchange order and the ranges checked on reading.
constexpr std::array<BoundField, 5> kBoundFields = {{
    {BoundValue::kCalValue, ids::kCalValueEdit, 0, 255},
    {BoundValue::kSHt, ids::kSHtEdit, 0, 65000},
    {BoundValue::kTMax, ids::kTMaxEdit, 0, 6500},
    {BoundValue::kCommPort, ids::kPortEdit, 1, 30},
    {BoundValue::kTMin, ids::kTMinEdit, 0, 6500},
}};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Decimal integer with optional sign, blanks allowed around it. Anything else, or
// a value that does not fit 32 bits, is not an integer.
std::optional<int32_t> ParseInteger(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  if (begin < end && text[begin] == '+') {
    ++begin;
    if (begin == end || text[begin] == '-') return std::nullopt;
  }
  int32_t value = 0;
  const char* first = text.data() + begin;
  const char* last = text.data() + end;
  const auto [stop, error] = std::from_chars(first, last, value);
  if (error != std::errc() || stop != last) return std::nullopt;
  return value;
}

}  // namespace

int32_t& CKeloConfigurationDlg::Bound(BoundValue which) {
  switch (which) {
    case BoundValue::kCalValue:
      return calValue;
    case BoundValue::kSHt:
      return sHt;
    case BoundValue::kTMax:
      return tMax;
    case BoundValue::kCommPort:
      return commPort;
    case BoundValue::kTMin:
      break;
  }
  return tMin;
}

void CKeloConfigurationDlg::ShowPanel() {
  for (const BoundField& field : kBoundFields) {
    controls_.SetText(field.editId, std::to_string(Bound(field.value)));
  }
}

bool CKeloConfigurationDlg::ReadPanel() {
  for (const BoundField& field : kBoundFields) {
    const std::optional<int32_t> parsed = ParseInteger(controls_.GetText(field.editId));
    if (!parsed) {
      host_.ShowMessage("Please enter an integer.", MessageButtons::kOk);
      controls_.SetFocus(field.editId);
      return false;
    }
    Bound(field.value) = *parsed;
    if (*parsed < field.min || *parsed > field.max) {
      char message[80];
      std::snprintf(message, sizeof message, "Please enter an integer between %d and %d.",
                    field.min, field.max);
      host_.ShowMessage(message, MessageButtons::kOk);
      controls_.SetFocus(field.editId);
      return false;
    }
  }
  return true;
}
