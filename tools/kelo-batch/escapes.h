#pragma once

#include <optional>
#include <string>
#include <string_view>

// C escapes in script texts and trace strings: \n \r \t \\ \" \xHH.

// Nothing when an escape is malformed.
std::optional<std::string> Unescape(std::string_view text);
// The text in double quotes, with the escapes above; other bytes below 0x20 and from
// 0x7F up as \xHH.
std::string Quote(std::string_view text);
