#pragma once

#include <cstdint>
#include <string>

// The text of a time (seconds since 1970-01-01 00:00:00 UTC) in local time, formatted
// with a strftime pattern in the C locale ("%x" gives MM/DD/YY, "%X" 24-hour time).
// Empty for a negative time, a time the conversion cannot take, or an empty result.
std::string FormatTime(int64_t time, const char* pattern);
