// A reference beside the baseline: the empty dialog with one line of text. An empty
// dialog draws no text, so it never starts the font system; this one shows what any
// window with text pays for that before it has a control of its own.

#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QDialog dialog;
  QLabel label(QStringLiteral("STATUS: Not connected"), &dialog);
  return dialog.exec();
}
