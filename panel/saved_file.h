#pragma once

#include <optional>
#include <string>
#include <string_view>

// Line end of every file the operator saves, whichever computer writes it.
inline constexpr std::string_view kFileLineEnd = "\r\n";

// Permissions of a new file: the usual ones, 0666 less the umask.
inline constexpr unsigned kUsualFileMode = 0666;

// Writes content to path as a whole: a temporary file beside it, then a rename, so a
// failure never leaves a partial file and an existing file is replaced only by a
// complete one. A path that names a symbolic link writes the file it points to (and
// creates it when the link dangles). An existing file is replaced only when it is a
// regular file the user may write, and keeps its permission bits; a new one gets
// newFileMode less the umask. Returns nothing on success, otherwise the reason.
std::optional<std::string> SaveFileWhole(const std::string& path, std::string_view content,
                                         unsigned newFileMode = kUsualFileMode);

// The message the operator gets when a file could not be written.
std::string SaveFailedMessage(const std::string& path, const std::string& reason);
