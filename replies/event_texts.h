#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The texts of one event-log record, as the list and the log file show them.

// The text of an event type 1..24, with its trailing spaces; " ??? " for any other.
std::string_view EventText(int type);

// "Event = " + text + local date + " " + local time. A time before 1970 gives empty
// date and time texts, so the line then ends in the text and one space.
std::string EventLine(int type, int64_t time);

// The line shown under the event line: the inputs for type 8, the status for type 9,
// empty for every other type.
std::string EventDetailLine(int type, int bits);
