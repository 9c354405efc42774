#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

class ControlModel;

// The five values the panel exchanges with its edits as decimal text.
struct BoundValues {
  int32_t calValue = 157;  // Cal Value, edit 1002
  int32_t sHt = 2;         // S_Ht, edit 1003
  int32_t tMax = 10;       // T_Max, edit 1005
  int32_t commPort = 2;    // COM port number, edit 1024
  int32_t tMin = 15;       // T_Min, edit 1004
};

// One value, its edit and the range checked when the edit is read.
struct BoundField {
  const char* name;
  int32_t BoundValues::*value;
  int editId;
  int32_t min;
  int32_t max;
};

// In exchange order.
std::span<const BoundField> BoundFields();

// "Show the panel": every value into its edit, in exchange order, unchecked.
void ShowBoundValues(const BoundValues& values, ControlModel& controls);

// Why reading the panel stopped: what the operator is told, and the edit to put the
// focus on.
struct ExchangeFault {
  std::string message;
  int editId;
};

// "Read the panel": the edits in exchange order; each value is stored as soon as its
// text parses as an integer, then checked against its range. Stops at the first text
// that is not an integer or value out of range; what was stored before stays stored.
std::optional<ExchangeFault> ReadBoundValues(BoundValues& values, const ControlModel& controls);
