#include "app/command_line.h"

#include <algorithm>
#include <array>

namespace {

struct QtOption {
  std::string_view name;
  bool takesValue;
};

// The options QGuiApplication and QApplication take from the command line.
constexpr std::array<QtOption, 21> kQtOptions = {{
    {"platform", true},
    {"platformpluginpath", true},
    {"platformtheme", true},
    {"plugin", true},
    {"qwindowgeometry", true},
    {"geometry", true},
    {"qwindowicon", true},
    {"icon", true},
    {"qwindowtitle", true},
    {"title", true},
    {"session", true},
    {"display", true},
    {"name", true},
    {"style", true},
    {"stylesheet", true},
    {"qmljsdebugger", true},
    {"reverse", false},
    {"widgetcount", false},
    {"nograb", false},
    {"dograb", false},
    {"testability", false},
}};

const QtOption* FindQtOption(std::string_view name) {
  const auto* found = std::find_if(kQtOptions.begin(), kQtOptions.end(),
                                   [name](const QtOption& option) { return option.name == name; });
  return found == kQtOptions.end() ? nullptr : found;
}

// The platforms whose windows need a display server.
bool IsDisplayPlatform(std::string_view name) {
  return name == "xcb" || name.starts_with("wayland");
}

// Whether some platform in a list such as "wayland;xcb" ("name:options" each) draws without a
// display server.
bool HasPlatformWithoutDisplay(std::string_view platforms) {
  while (!platforms.empty()) {
    const std::size_t end = platforms.find(';');
    const std::string_view entry = platforms.substr(0, end);
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (!name.empty() && !IsDisplayPlatform(name)) return true;
    if (end == std::string_view::npos) break;
    platforms.remove_prefix(end + 1);
  }
  return false;
}

bool IsSet(const char* value) {
  return value != nullptr && *value != '\0';
}

}  // namespace

CommandLine ReadCommandLine(const std::vector<std::string_view>& args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (arg == "--help" || arg == "-h") {
      line.help = true;
      continue;
    }
    if (arg == "--version") {
      line.version = true;
      continue;
    }
    if (arg.size() < 2 || arg[0] != '-') {
      line.error = "unexpected argument " + std::string(arg);
      return line;
    }
    // Qt reads -name and --name alike, and -name=value for a value.
    std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
    const std::size_t equals = name.find('=');
    const bool valueAttached = equals != std::string_view::npos;
    std::string_view value = valueAttached ? name.substr(equals + 1) : std::string_view();
    name = name.substr(0, equals);
    const QtOption* option = FindQtOption(name);
    if (option == nullptr || (valueAttached && !option->takesValue)) {
      line.error = "unknown option " + std::string(arg);
      return line;
    }
    if (option->takesValue && !valueAttached) {
      if (i + 1 == args.size()) {
        line.error = std::string(arg) + " needs a value";
        return line;
      }
      value = args[++i];
    }
    if (name == "platform") line.platform = value;
    if (name == "display") line.namesDisplay = true;
  }
  return line;
}

std::string NoDisplayReason(const CommandLine& line,
                            const std::function<const char*(const char*)>& environment) {
  const char* fromEnvironment = environment("QT_QPA_PLATFORM");
  const std::string platform = !line.platform.empty()       ? line.platform
                               : fromEnvironment != nullptr ? fromEnvironment
                                                            : "";
  if (HasPlatformWithoutDisplay(platform) || line.namesDisplay) return {};
  if (IsSet(environment("DISPLAY")) || IsSet(environment("WAYLAND_DISPLAY")) ||
      IsSet(environment("WAYLAND_SOCKET"))) {
    return {};
  }
  return "no display to show the window on: neither DISPLAY nor WAYLAND_DISPLAY is set";
}
