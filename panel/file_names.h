#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The name a save dialog suggests: the machine's name, what the file holds and today's
// date, "FOGGER-ONE settings 2026-12-07.txt". From the machine's name, bidirectional
// marks and C1 controls are dropped, and leading dots and dashes; other control bytes and
// bytes that are not UTF-8 are shown escaped ("\x1b"), and "/" becomes "_". A machine
// without a name is "Brumo". Without `what`, "FOGGER-ONE 2026-12-07.zip".
std::string SuggestedFileName(std::string_view machineName, std::string_view what, int64_t now,
                              std::string_view extension = ".txt");
