#pragma once

#include <QString>

struct TelemetrySample;

// The time of a sample and its values, each written as the panel writes it on its line
// ("Ei = -5.00", "P_LOW = +30.00 PSI", "Mains Value = 230"): what the Trends window shows
// for the sample nearest the mouse.
QString SampleReadout(const TelemetrySample& sample);
