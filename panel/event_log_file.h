#pragma once

#include <string>
#include <vector>

// The event log file: each list line once, in order. A line is followed by ten spaces
// when the next line is a detail line (its second character is '*'), so a detail line
// shares a text line with its event; otherwise by a CR LF line end.
std::string EventLogFileContent(const std::vector<std::string>& lines);
