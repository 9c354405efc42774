// The real program's parts together: the panel's window with the Qt host and the
// POSIX serial port, connected to the simulated machine on a pseudo-terminal. What a
// new user sees after pressing Connect in the demo.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <fstream>

#include "app/panel_window.h"
#include "app/qt_host.h"
#include "link/posix_serial_port.h"
#include "panel/panel_dialog.h"
#include "resources/control_ids.h"
#include "support/child_process.h"

class LivePanelTest : public QObject {
  Q_OBJECT

 private slots:
  void connectShowsALiveMachine() {
    ChildProcess sim({BRUMO_SIM_PATH, "--firmware", "4v01", "--name", "Live Unit"});
    QVERIFY(sim.Started());
    const auto device = sim.ReadLine(10'000);
    QVERIFY(device.has_value());
    QTemporaryDir config;
    const std::string profile = config.filePath("kelo-configuration.ini").toStdString();
    std::ofstream(profile) << "[Kelo Config]\nComm Port=1\n[Ports]\nCOM1=" << *device << "\n";

    QtHost host(profile);
    PosixSerialPort port;
    CKeloConfigurationDlg panel(host, port);
    PanelWindow window(panel);
    host.Attach(panel, window);
    window.InitDialog();
    window.show();
    QCOMPARE(window.Control(ids::kPortEdit)->toolTip(), QString::fromStdString(*device));

    QTest::mouseClick(static_cast<QPushButton*>(window.Control(ids::kConnectButton)),
                      Qt::LeftButton);
    auto text = [&](int id) { return static_cast<QLabel*>(window.Control(id))->text(); };
    // The connect set takes about 6 s; the first poll pass brings the telemetry.
    QTRY_COMPARE_WITH_TIMEOUT(text(ids::kPwmLine), QString("PWM = +50.20%"), 30'000);
    QCOMPARE(text(ids::kStatusLine), QString("STATUS: Link is live  (Firmware Rev = 4v01)"));
    QCOMPARE(static_cast<QPushButton*>(window.Control(ids::kConnectButton))->text(),
             QString("Close"));
    QCOMPARE(static_cast<QLineEdit*>(window.Control(ids::kNameEdit))->text(), QString("Live Unit"));
    QVERIFY(text(ids::kServiceDueLine).startsWith("Next due "));
    QVERIFY(text(ids::kServiceDueLine).size() > 9);
    QCOMPARE(panel.controls().LineCount(ids::kEventList), 7);  // five records, two details

    if (const QByteArray shot = qgetenv("KELO_LIVE_SCREENSHOT"); !shot.isEmpty()) {
      window.grab().save(QString::fromLocal8Bit(shot));
    }
    panel.OnDestroy();
    QCOMPARE(port.Handle(), PortHandle::kNone);
  }
};

QTEST_MAIN(LivePanelTest)
#include "live_panel_test.moc"
