#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The command line of kelo-configuration, read before Qt starts: the program's own options,
// and those Qt takes for itself (-platform offscreen, -style Fusion, -reverse, ...), which
// are left to Qt. Anything else is a mistake, told before any window opens.
struct CommandLine {
  bool help = false;
  bool version = false;
  std::string platform;       // as -platform names it; empty when it does not
  bool namesDisplay = false;  // -display names the X display
  std::string error;          // not empty when the command line is wrong
};

CommandLine ReadCommandLine(const std::vector<std::string_view>& args);

// Why the window has nowhere to show, or empty when it has. A platform other than xcb and
// wayland (offscreen, say), named by -platform or QT_QPA_PLATFORM, needs no display; the
// others need DISPLAY or WAYLAND_DISPLAY. `environment` looks a variable up, as getenv does.
std::string NoDisplayReason(const CommandLine& line,
                            const std::function<const char*(const char*)>& environment);
