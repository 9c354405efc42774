// The baseline of the process measurements: an empty Qt dialog, run modally, built
// with the same settings as the panel.

#include <QApplication>
#include <QDialog>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QDialog dialog;
  return dialog.exec();
}
