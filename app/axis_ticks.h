#pragma once

// Round tick values for a value axis that fits its data.
struct AxisTicks {
  double low;
  double high;
  int count;  // ticks from low to high, both included
};

// The smallest step of 1, 2 or 5 times a power of ten whose multiples cover [low, high]
// with no more than `mostTicks` ticks (at least 3 are allowed, as a range across zero
// may need them). A range of a single value is widened by one either side first.
AxisTicks RoundTicks(double low, double high, int mostTicks);
