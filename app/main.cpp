#include <QApplication>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"
#include "app/keloconfiguration_app.h"
#include "app/qt_host.h"

namespace {

constexpr int kWrongCommandLine = 2;
constexpr int kNoDisplay = 1;

constexpr const char* kUsage =
    "Usage: kelo-configuration [--help] [--version] [Qt options]\n"
    "Configures and monitors a Brumo fog machine over a USB serial adapter (2400 baud 8N2).\n"
    "Qt's own options are taken, such as -platform offscreen, -style Fusion or -reverse.\n"
    "The port number and the adapters chosen are kept in\n"
    "$XDG_CONFIG_HOME/kelo-configuration.ini (or ~/.config/kelo-configuration.ini).\n"
    "F1 opens the manual (kelo manual.pdf in the current folder).\n";

// --help, --version, a wrong command line and a missing display are answered without a
// window, before Qt starts (Qt itself would abort without a display).
std::optional<int> AnswerWithoutWindow(int argc, char* argv[]) {
  const CommandLine line = ReadCommandLine(std::vector<std::string_view>(argv + 1, argv + argc));
  if (!line.error.empty()) {
    std::fprintf(stderr, "%s: %s\n%s", kApplicationName, line.error.c_str(), kUsage);
    return kWrongCommandLine;
  }
  if (line.help) {
    std::printf("%s", kUsage);
    return 0;
  }
  if (line.version) {
    std::printf("%s %s\n", kApplicationName, KELO_VERSION);
    return 0;
  }
  const std::string noDisplay =
      NoDisplayReason(line, [](const char* name) { return std::getenv(name); });
  if (!noDisplay.empty()) {
    std::fprintf(stderr, "%s: %s\n", kApplicationName, noDisplay.c_str());
    return kNoDisplay;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const auto answered = AnswerWithoutWindow(argc, argv)) return *answered;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
  // QApplication takes the C library's locale from the environment. The panel formats
  // numbers and dates with the C library and shows them as the machine's own tool
  // does: in the "C" locale (dates MM/DD/YY, decimal point).
  std::setlocale(LC_ALL, "C");
  CKeloConfigurationApp app;
  app.InitInstance();
  return 0;
}
