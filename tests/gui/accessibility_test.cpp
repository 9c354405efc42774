// For screen readers, the keyboard and the eye, offscreen: every control that takes the
// focus has a name, the names are what the operator reads beside each control, every
// command of the window's menus has a keyboard path, and warnings, successes and dimmed
// readouts keep their contrast on the light Fusion palette and a dark one, at start-up
// and after a switch of theme.

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>
#include <memory>

#include "app/link_status_bar.h"
#include "app/palette_colours.h"
#include "app/port_picker.h"
#include "resources/control_ids.h"
#include "window_fixture.h"

namespace {

QString NameOf(QObject* object) {
  return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

const std::pair<int, QString> kNames[] = {
    {1003, "S_Ht (C)"},        {1004, "T_Min (C)"},       {1005, "T_Max (C)"},
    {1002, "Cal Value"},       {1024, "USB port number"}, {1055, "Event log"},
    {1052, "Run Time"},        {1062, "PUMP ADJUST Min"}, {1046, "PUMP ADJUST Max"},
    {1061, "EVAP FAN ADJUST"}, {1045, "Local Temp' (C)"}, {1008, "Ready: off"},
    {1067, "Compressor Run"},  {1, "Exit"}};

QPalette Light() {
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(QStringLiteral("Fusion")));
  return fusion->standardPalette();
}

// As dark themes have it, with disabled text too faint to read.
QPalette Dark() {
  QPalette dark = Light();
  for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
    dark.setColor(role, QColor(0x35, 0x35, 0x35));
  }
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    dark.setColor(role, QColor(0xee, 0xee, 0xee));
  }
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x50, 0x50, 0x50));
  return dark;
}

double Contrast(const QWidget& widget, QPalette::ColorGroup group) {
  const QPalette& palette = widget.palette();
  return ContrastRatio(palette.color(group, QPalette::WindowText),
                       palette.color(group, QPalette::Window));
}

// The reason line in each tone and the link's state as drawn; the dimmed readouts.
void CheckColours(WindowFixture& f, const QString& palette) {
  QLabel* line = f.window.portPicker().line();
  QList<QColor> drawn;
  for (PortLineTone tone : {PortLineTone::kProblem, PortLineTone::kFound}) {
    f.window.portPicker().ShowLine(QStringLiteral("/dev/ttyUSB0"), tone);
    drawn.append(line->palette().color(QPalette::WindowText));
    QVERIFY2(Contrast(*line, QPalette::Active) >= 4.5, qPrintable(palette));
  }
  QVERIFY2(drawn[0] != drawn[1], qPrintable(palette));  // success is not the warning colour
  QVERIFY2(Contrast(*f.window.statusBar().linkState(), QPalette::Active) >= 4.5,
           qPrintable(palette));
  int dimmed = 0;
  for (QWidget* control : f.window.ControlWidgets()) {
    if (control->isEnabled() || !control->isVisibleTo(&f.window)) continue;
    ++dimmed;
    QVERIFY2(Contrast(*control, QPalette::Disabled) >= 3.0, qPrintable(palette));
  }
  QCOMPARE(dimmed, 14);  // the shown readouts
}

}  // namespace

class AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void namesEveryControlAsTheOperatorReadsIt() {
    WindowFixture f;
    f.window.show();
    for (QWidget* widget : f.window.findChildren<QWidget*>()) {
      if (!widget->isVisibleTo(&f.window) || !(widget->focusPolicy() & Qt::TabFocus)) continue;
      QVERIFY2(!NameOf(widget).isEmpty(), widget->metaObject()->className());
    }
    for (const auto& [id, name] : kNames) QCOMPARE(NameOf(f.window.Control(id)), name);
    auto* runTime = QAccessible::queryAccessibleInterface(f.window.Control(ids::kRunTimeCombo));
    QCOMPARE(runTime->text(QAccessible::Value), QStringLiteral("+50"));
    QCOMPARE(QAccessible::queryAccessibleInterface(&f.window.statusBar())->role(),
             QAccessible::StatusBar);

    // Names that change with what they say: an indicator's state, the reason line and
    // the link's health whole, however much of them fits.
    f.model().SetCheck(ids::kReadyIndicator, 1);
    QCOMPARE(NameOf(f.window.Control(ids::kReadyIndicator)), QStringLiteral("Ready: on"));
    const QString reason = QString::fromUtf8(
        "Permission denied: /dev/ttyUSB0 — add yourself to the dialout group: sudo usermod -aG "
        "dialout $USER, then log in again");
    f.window.portPicker().ShowLine(reason + "\nhint", PortLineTone::kProblem);
    QCOMPARE(NameOf(f.window.portPicker().line()), reason);
    QVERIFY(f.window.portPicker().line()->text() != reason);  // elided on the screen
    const HealthLine* health = f.window.statusBar().summary();
    QVERIFY(!health->text().isEmpty());
    QCOMPARE(NameOf(const_cast<HealthLine*>(health)), health->text());
  }

  void everyMenuCommandHasAKeyboardPath() {
    WindowFixture f;
    f.window.show();
    f.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    QMenu menu;
    f.window.PopulateWindowMenu(menu);
    QStringList shown;
    for (QAction* action : menu.actions()) {
      if (!action->isSeparator()) shown.append(action->text() + " " + action->shortcut().toString());
    }
    QCOMPARE(shown, (QStringList{"&About Kelo Configuration... ", "Trends Ctrl+T",
                                 QString::fromUtf8("Record… Ctrl+R"),
                                 QString::fromUtf8("Export CSV… Ctrl+E"),
                                 QString::fromUtf8("Service bundle… Ctrl+B")}));
    // With no menu open, from an edit, which has keys of its own; Trends last, as it
    // takes the focus to its window.
    f.Get<QLineEdit>(ids::kSHtEdit)->setFocus();
    for (Qt::Key key : {Qt::Key_R, Qt::Key_E, Qt::Key_B, Qt::Key_T}) {
      QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    }
    QCOMPARE(f.panel.host.suggestedNames.size(), 3U);  // the save dialogs asked
    QVERIFY(f.window.statusBar().trendsWindow() != nullptr);

    // About by the menu key (the desktop's context menu request) or Shift+F10, which
    // open the window menu under the focused control, an edit's own menu aside.
    QStringList opened;
    const auto openWith = [&](const std::function<void(QWidget*)>& press, QWidget* control) {
      f.window.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&f.window));
      control->setFocus();
      QTimer::singleShot(0, [&opened, control] {
        auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (popup == nullptr) return;
        const bool under = popup->pos() == control->mapToGlobal(control->rect().bottomLeft());
        opened.append(popup->actions().front()->text() + (under ? " under" : " elsewhere"));
        popup->close();
      });
      press(control);
    };
    openWith(
        [](QWidget* control) {
          QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
          QApplication::sendEvent(control, &request);
        },
        f.Get<QLineEdit>(ids::kTMinEdit));
    openWith([](QWidget* control) { QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier); },
             f.window.Control(ids::kWriteButton));
    QCOMPARE(opened, QStringList(2, "&About Kelo Configuration... under"));
  }

  void textColoursReadOnLightAndDarkThemes() {
    for (const auto& [built, switched] : {std::pair{Light(), Dark()}, std::pair{Dark(), Light()}}) {
      QApplication::setPalette(built);
      WindowFixture f;
      f.panel.ConnectToMachine();
      f.Get<QPushButton>(ids::kConnectButton)->click();  // Close: the readouts are dimmed
      f.window.statusBar().Refresh();
      CheckColours(f, QStringLiteral("built"));
      QApplication::setPalette(switched);
      QCoreApplication::processEvents();
      CheckColours(f, QStringLiteral("switched"));
    }
  }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
