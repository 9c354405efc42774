// kelo-batch: the panel without a window, driven by a script of operator actions and
// printing a trace of everything the panel shows and every frame on the line.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "batch_host.h"
#include "batch_runner.h"
#include "batch_script.h"
#include "find_command.h"
#include "link/posix_serial_port.h"
#include "link/serial_devices.h"
#include "panel/ini_profile.h"
#include "panel/panel_dialog.h"
#include "trace.h"

namespace {

constexpr int kScriptError = 2;

constexpr const char* kUsage =
    "Usage: kelo-batch [--csv FILE] SCRIPT\n"
    "                                run a script of operator actions (- reads standard input);\n"
    "                                --csv records the telemetry to FILE as it comes\n"
    "       kelo-batch --list-ports  list the serial adapters this computer has\n"
    "       kelo-batch --find        ask each adapter for the machine; prints the device it\n"
    "                                answers on (exit status 0), or says on standard error\n"
    "                                why none did (1)\n"
    "       kelo-batch --help | --version\n"
    "\n"
    "Runs the Kelo Configuration panel without a window and prints a trace of everything it\n"
    "shows and every frame on the line; the profile is $XDG_CONFIG_HOME/kelo-configuration.ini\n"
    "(or ~/.config). The script's actions and the trace's lines are in the README.\n";

int RunScript(const std::string& scriptPath, const std::string& csvPath) {
  std::ifstream file;
  if (scriptPath != "-") {
    file.open(scriptPath);
    if (!file) {
      std::cerr << "kelo-batch: cannot read " << scriptPath << "\n";
      return kScriptError;
    }
  }
  std::istream& in = scriptPath == "-" ? std::cin : file;
  ParsedScript parsed = ParseScript(in);
  if (const auto* error = std::get_if<ScriptError>(&parsed)) {
    std::cerr << "kelo-batch: line " << error->line << ": " << error->message << "\n";
    return kScriptError;
  }

  IniFileProfile profile(ProfilePathFromEnvironment());
  PosixSerialPort serialPort;
  Trace trace(std::cout);
  BatchHost host(trace, profile);
  TracingPort port(serialPort, trace);
  CKeloConfigurationDlg panel(host, port);
  trace.Attach(panel);
  BatchRunner runner(panel, host, trace, [&host](long long ms) {
    const long long wait = ms - host.ElapsedMs();
    if (wait > 0) std::this_thread::sleep_for(std::chrono::milliseconds(wait));
  });
  std::vector<Action> actions = std::get<std::vector<Action>>(std::move(parsed));
  if (!csvPath.empty()) {
    Action record;
    record.kind = ActionKind::kRecord;
    record.text = csvPath;
    actions.insert(actions.begin(), record);  // at tick 0, before the script's first action
  }
  runner.Run(actions);
  return 0;
}

int ListPorts() {
  IniFileProfile profile(ProfilePathFromEnvironment());
  for (const std::string& line : PortListing(ListSerialDevices(), profile)) {
    std::cout << line << "\n";
  }
  return 0;
}

bool IsOption(std::string_view argument) {
  return argument.size() > 1 && argument[0] == '-';  // "-" alone is standard input
}

// A wrong command line: what is wrong, then the usage, on standard error.
int WrongCommandLine(const std::vector<std::string_view>& args) {
  std::string problem = "no script given";
  if (!args.empty()) problem = "unexpected argument " + std::string(args.back());
  if (!args.empty() && args[0] == "--csv") problem = "--csv needs a file and a script";
  for (const std::string_view argument : args) {
    const bool known = argument == "--csv" || argument == "--help" || argument == "-h" ||
                       argument == "--version" || argument == "--list-ports" ||
                       argument == "--find";
    if (IsOption(argument) && !known) {
      problem = "unknown option " + std::string(argument);
      break;
    }
  }
  std::cerr << "kelo-batch: " << problem << "\n" << kUsage;
  return kScriptError;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.size() == 3 && args[0] == "--csv" && !IsOption(args[2])) {
    return RunScript(std::string(args[2]), std::string(args[1]));
  }
  if (args.size() != 1) return WrongCommandLine(args);
  const std::string_view argument = args[0];
  if (argument == "--help" || argument == "-h") {
    std::cout << kUsage;
    return 0;
  }
  if (argument == "--version") {
    std::cout << "kelo-batch " << KELO_VERSION << "\n";
    return 0;
  }
  if (argument == "--list-ports") return ListPorts();
  if (argument == "--find") {
    IniFileProfile profile(ProfilePathFromEnvironment());
    return FindMachine(ListSerialDevices(), profile, std::cout, std::cerr);
  }
  if (IsOption(argument)) return WrongCommandLine(args);
  return RunScript(std::string(argument), {});
}
