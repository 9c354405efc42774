// kelo-batch: the panel without a window, driven by a script of operator actions and
// printing a trace of everything the panel shows and every frame on the line.

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <thread>

#include "batch_host.h"
#include "batch_runner.h"
#include "batch_script.h"
#include "link/posix_serial_port.h"
#include "panel/ini_profile.h"
#include "panel/panel_dialog.h"
#include "trace.h"

namespace {

constexpr int kScriptError = 2;

void PrintUsage() {
  std::cerr << "usage: kelo-batch SCRIPT   (- reads the script from standard input)\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    PrintUsage();
    return kScriptError;
  }
  const std::string scriptPath = argv[1];
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
  runner.Run(std::get<std::vector<Action>>(parsed));
  return 0;
}
