#pragma once

#include <string>
#include <string_view>

#include "replies/telemetry_history.h"

// The machine's telemetry as CSV text for a spreadsheet (RFC 4180): fields separated by
// commas, every record ending in CR LF, UTF-8, a point as the decimal separator whatever
// the process locale.

// A field as RFC 4180 wants it: quoted, with its quotes doubled, only when it holds a
// comma, a quote or a line break.
std::string CsvField(std::string_view text);

// The column names, in order, as one record.
std::string TelemetryCsvHeader();

// One sample as one record: the PC's time (local, with milliseconds and the UTC offset,
// "2026-12-07T12:10:47.123+01:00"), the machine's clock in the same form without
// milliseconds (an empty field when it is negative or cannot be converted), the seven
// measured values with the digits the panel shows but without the plus sign ("50.20",
// "-0.25"), then mains, output frequency and fog status as decimal integers.
std::string TelemetryCsvRow(const TelemetrySample& sample);

// The header and every sample of the ring, oldest first: the exported file's content.
std::string TelemetryCsv(const TelemetryRing& ring);
