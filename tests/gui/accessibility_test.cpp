// Offscreen: controls named as the operator reads them, a keyboard path to every command
// of the window's menus, and text that keeps its contrast on light and dark palettes.

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QtTest>

#include "app/link_status_bar.h"
#include "app/palette_colours.h"
#include "app/port_picker.h"
#include "resources/control_ids.h"
#include "window_fixture.h"

namespace {

QString Text(QObject* object, QAccessible::Text text = QAccessible::Name) {
  return QAccessible::queryAccessibleInterface(object)->text(text);
}

const std::pair<int, QString> kNames[] = {{1003, "S_Ht (C)"},        {1004, "T_Min (C)"},
                                          {1005, "T_Max (C)"},       {1002, "Cal Value"},
                                          {1024, "USB port number"}, {1055, "Event log"},
                                          {1052, "Run Time"},        {1062, "PUMP ADJUST Min"},
                                          {1046, "PUMP ADJUST Max"}, {1061, "EVAP FAN ADJUST"},
                                          {1045, "Local Temp' (C)"}, {1008, "Ready: off"},
                                          {1067, "Compressor Run"},  {1, "Exit"}};

double Contrast(const QWidget& widget, QPalette::ColorGroup group = QPalette::Active) {
  return ContrastRatio(widget.palette().color(group, QPalette::WindowText),
                       widget.palette().color(group, QPalette::Window));
}

// The reason line as a problem and as the machine found (not in the same colour), the
// link's state in words, and the dimmed readouts, as their palettes draw them.
void CheckColours(WindowFixture& f, const char* when) {
  QLabel* line = f.window.portPicker().line();
  f.window.portPicker().ShowLine(QStringLiteral("/dev/ttyUSB0"));
  const QColor problem = line->palette().color(QPalette::WindowText);
  QVERIFY2(Contrast(*line) >= 4.5 && Contrast(*f.window.statusBar().linkState()) >= 4.5, when);
  f.window.portPicker().ShowLine(QStringLiteral("found"), PortLineTone::kFound);
  QVERIFY2(Contrast(*line) >= 4.5 && line->palette().color(QPalette::WindowText) != problem, when);
  int dimmed = 0;
  for (QWidget* control : f.window.ControlWidgets()) {
    if (control->isEnabled() || !control->isVisibleTo(&f.window)) continue;
    ++dimmed;
    QVERIFY2(Contrast(*control, QPalette::Disabled) >= 3.0, when);
  }
  QCOMPARE(dimmed, 14);  // the shown readouts
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void namesEveryControlAndReachesEveryCommandFromTheKeyboard() {
    WindowFixture f;
    f.window.show();
    for (QWidget* widget : f.window.findChildren<QWidget*>()) {
      if (!widget->isVisible() || !(widget->focusPolicy() & Qt::TabFocus)) continue;
      QVERIFY2(!Text(widget).isEmpty(), widget->metaObject()->className());
    }
    for (const auto& [id, name] : kNames) QCOMPARE(Text(f.window.Control(id)), name);
    QCOMPARE(Text(f.window.Control(ids::kRunTimeCombo), QAccessible::Value), QString("+50"));
    // Names that follow what they say, whole however much of it fits.
    f.model().SetCheck(ids::kReadyIndicator, 1);
    QCOMPARE(Text(f.window.Control(ids::kReadyIndicator)), QStringLiteral("Ready: on"));
    const QString reason(200, QLatin1Char('x'));
    f.window.portPicker().ShowLine(reason + "\nhint");
    QCOMPARE(Text(f.window.portPicker().line()), reason);

    // The menu key (the desktop's context menu request) in an edit, which has a menu of
    // its own, and Shift+F10 on a button open the window menu (not the edit's) under them.
    QList<QPoint> opened;
    QList<QPoint> under;
    for (const int id : {ids::kTMinEdit, ids::kWriteButton}) {
      QWidget* control = f.window.Control(id);
      f.window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&f.window));
      control->setFocus();
      under.append(control->mapToGlobal(control->rect().bottomLeft()));
      QTimer::singleShot(0, [&opened] {
        QWidget* popup = QApplication::activePopupWidget();
        opened.append(popup != nullptr ? popup->pos() : QPoint(-1, -1));
        if (popup != nullptr) popup->close();
      });
      QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
      if (id == ids::kTMinEdit) QApplication::sendEvent(control, &request);
      if (id == ids::kWriteButton) QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
    }
    QCOMPARE(opened, under);
    // The commands' shortcuts, with no menu open, in an edit; Trends, which takes the
    // focus to its window, last.
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    for (Qt::Key key : {Qt::Key_R, Qt::Key_E, Qt::Key_B, Qt::Key_T}) {
      QTest::keyClick(f.window.Control(ids::kSHtEdit), key, Qt::ControlModifier);
    }
    QCOMPARE(f.panel.host.suggestedNames.size(), 3U);  // the save dialogs asked
    QVERIFY(f.window.statusBar().trendsWindow() != nullptr);
  }

  // Built under one palette, then switched to the other at run time.
  void textKeepsItsContrastOnLightAndDarkPalettes() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    const QPalette light = QApplication::style()->standardPalette();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x50, 0x50, 0x50));  // faint
    for (const auto& [built, switched] : {std::pair{light, dark}, std::pair{dark, light}}) {
      QApplication::setPalette(built);
      WindowFixture f;
      f.panel.ConnectToMachine();
      f.Get<QPushButton>(ids::kConnectButton)->click();  // Close: the readouts are dimmed
      f.window.statusBar().Refresh();
      CheckColours(f, "built");
      QApplication::setPalette(switched);
      QCoreApplication::processEvents();
      CheckColours(f, "switched");
    }
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
