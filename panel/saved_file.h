#pragma once

#include <string>
#include <string_view>

#include "link/failure.h"

// Line end of every file the operator saves, whichever computer writes it.
inline constexpr std::string_view kFileLineEnd = "\r\n";

// Permissions of a new file: the usual ones, 0666 less the umask.
inline constexpr unsigned kUsualFileMode = 0666;

// Writes content to path as a whole: a temporary file beside it, then a rename, so a
// failure never leaves a partial file and an existing file is replaced only by a
// complete one. A path that names a symbolic link writes the file it points to (and
// creates it when the link dangles). An existing file is replaced only when it is a
// regular file the user may write, and keeps its permission bits; a new one gets
// newFileMode less the umask.
Outcome SaveFileWhole(const std::string& path, std::string_view content,
                      unsigned newFileMode = kUsualFileMode);

// As SaveFileWhole, and the saved file stays open for writing on at its end: keptOpen is
// its descriptor, which the caller closes. Left as it was on failure.
Outcome SaveFileWholeKeptOpen(const std::string& path, std::string_view content, int& keptOpen);

// The message the operator gets when a file could not be written.
std::string SaveFailedMessage(const std::string& path, const Failure& failure);
