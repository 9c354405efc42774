#include <QApplication>
#include <clocale>
#include <cstdio>
#include <optional>
#include <string_view>

#include "app/app_icon.h"
#include "app/keloconfiguration_app.h"
#include "app/qt_host.h"

namespace {

constexpr const char* kUsage =
    "Usage: kelo-configuration [--help] [--version] [Qt options]\n"
    "Configures and monitors a Brumo fog machine over a USB serial adapter (2400 baud 8N2).\n"
    "The port number and the adapters chosen are kept in\n"
    "$XDG_CONFIG_HOME/kelo-configuration.ini (or ~/.config/kelo-configuration.ini).\n"
    "F1 opens the manual (kelo manual.pdf in the current folder).\n";

// --help and --version are answered without a window; Qt takes the rest.
std::optional<int> AnswerWithoutWindow(int argc, char* argv[]) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::printf("%s", kUsage);
      return 0;
    }
    if (argument == "--version") {
      std::printf("%s %s\n", kApplicationName, KELO_VERSION);
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (const auto answered = AnswerWithoutWindow(argc, argv)) return *answered;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QString::fromLatin1(kApplicationName));
  QApplication::setWindowIcon(AppIcon());
  // QApplication takes the C library's locale from the environment. The panel formats
  // numbers and dates with the C library and shows them as the machine's own tool
  // does: in the "C" locale (dates MM/DD/YY, decimal point).
  std::setlocale(LC_ALL, "C");
  CKeloConfigurationApp app;
  app.InitInstance();
  return 0;
}
