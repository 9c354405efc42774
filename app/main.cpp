#include <QApplication>
#include <clocale>

#include "app/app_icon.h"
#include "app/keloconfiguration_app.h"
#include "app/qt_host.h"

int main(int argc, char* argv[]) {
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
