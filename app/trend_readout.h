#pragma once

#include <QString>

struct SampleGap;
struct TelemetrySample;

// The time of a sample and its values, each written as the panel writes it on its line
// ("Ei = -5.00", "P_LOW = +30.00 PSI", "Mains Value = 230"): what the Trends window shows
// for the sample at its cursor.
QString SampleReadout(const TelemetrySample& sample);

// What follows a sample when it is a gap: "Then no sample for 37 s: Get All".
QString GapReadout(const SampleGap& gap);
