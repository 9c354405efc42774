#include "state/bound_values.h"

#include <array>
#include <charconv>
#include <cstdio>

#include "resources/control_ids.h"
#include "state/control_model.h"

namespace {

constexpr std::array<BoundField, 5> kBoundFields = {{
    {"calValue", &BoundValues::calValue, ids::kCalValueEdit, 0, 255},
    {"sHt", &BoundValues::sHt, ids::kSHtEdit, 0, 65000},
    {"tMax", &BoundValues::tMax, ids::kTMaxEdit, 0, 6500},
    {"commPort", &BoundValues::commPort, ids::kPortEdit, 1, 30},
    {"tMin", &BoundValues::tMin, ids::kTMinEdit, 0, 6500},
}};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

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

std::span<const BoundField> BoundFields() {
  return kBoundFields;
}

void ShowBoundValues(const BoundValues& values, ControlModel& controls) {
  for (const BoundField& field : kBoundFields) {
    controls.SetText(field.editId, std::to_string(values.*field.value));
  }
}

std::optional<ExchangeFault> ReadBoundValues(BoundValues& values, const ControlModel& controls) {
  for (const BoundField& field : kBoundFields) {
    const std::optional<int32_t> parsed = ParseInteger(controls.GetText(field.editId));
    if (!parsed) return ExchangeFault{"Please enter an integer.", field.editId};
    values.*field.value = *parsed;
    if (*parsed < field.min || *parsed > field.max) {
      char message[80];
      std::snprintf(message, sizeof message, "Please enter an integer between %d and %d.",
                    field.min, field.max);
      return ExchangeFault{message, field.editId};
    }
  }
  return std::nullopt;
}
