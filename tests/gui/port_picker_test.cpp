// The adapter picker beside the port number, offscreen: the list as the menu shows it,
// a choice taking effect in the port field and its tooltip, and the line under the USB
// group.

#include "app/port_picker.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QToolButton>
#include <QtTest>

#include "app/link_status_bar.h"
#include "link/serial_devices.h"
#include "resources/control_ids.h"
#include "support/ftdi_adapter.h"
#include "window_fixture.h"

class PortPickerTest : public QObject {
  Q_OBJECT

 private slots:
  void listsTheAdaptersAndAChoiceSetsThePortNumber() {
    WindowFixture f;
    PortPicker& picker = f.window.portPicker();
    picker.SetDetector([] { return std::vector<SerialDevice>{FtdiAdapter("/dev/ttyUSB4")}; });
    f.window.show();
    QVERIFY(picker.button()->isVisible());
    QVERIFY(f.window.rect().contains(picker.button()->geometry()));

    picker.FillMenu();
    QStringList texts;
    for (QAction* action : picker.menu()->actions()) texts.append(action->text());
    QCOMPARE(texts, (QStringList{QString::fromUtf8("FTDI FT232R USB UART (A1B2C3) — /dev/ttyUSB4"),
                                 QString(), QStringLiteral("Find machine")}));
    QVERIFY(!picker.menu()->actions().front()->isChecked());  // port 1 is /dev/ttyUSB0

    picker.menu()->actions().front()->trigger();
    auto* port = f.Get<QLineEdit>(ids::kPortEdit);
    QCOMPARE(port->text(), QStringLiteral("1"));
    QCOMPARE(port->toolTip(),
             QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3-if00-port0"));
    QCOMPARE(QString::fromStdString(f.panel.host.profileStore.values["Ports/COM1"]),
             port->toolTip());
    // The status bar names the device chosen at once, though the port number is the same.
    QCoreApplication::processEvents();
    QVERIFY(f.window.statusBar().summary()->text().startsWith(port->toolTip() + " "));
    picker.FillMenu();
    QVERIFY(picker.menu()->actions().front()->isChecked());
    QVERIFY(picker.menu()->actions().back()->isEnabled());

    // While the port is open, Find machine is not offered.
    f.panel.Connect();
    picker.FillMenu();
    QVERIFY(!picker.menu()->actions().back()->isEnabled());
  }

  void lineShowsTheFirstLineAndHidesWhenEmpty() {
    WindowFixture f;
    f.window.show();
    PortPicker& picker = f.window.portPicker();
    QVERIFY(!picker.line()->isVisible());
    picker.ShowLine(QStringLiteral("/dev/ttyUSB0 is in use by brltty (PID 812)\nhint"));
    QVERIFY(picker.line()->isVisible());
    QCOMPARE(picker.line()->text(), QStringLiteral("/dev/ttyUSB0 is in use by brltty (PID 812)"));
    QCOMPARE(picker.line()->toolTip(),
             QStringLiteral("/dev/ttyUSB0 is in use by brltty (PID 812)\nhint"));
    // In the free strip under the top row of groups: it covers no control.
    for (QWidget* control : f.window.ControlWidgets()) {
      if (control->isVisible() && control->inherits("QGroupBox")) continue;
      QVERIFY2(!control->isVisible() || !control->geometry().intersects(picker.line()->geometry()),
               qPrintable(control->objectName()));
    }
    picker.ShowLine(QString());
    QVERIFY(!picker.line()->isVisible());
  }
};

QTEST_MAIN(PortPickerTest)
#include "port_picker_test.moc"
