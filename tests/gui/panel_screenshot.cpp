// Renders the panel to PNG files, to look at the layout: at start-up, and with texts
// of a running link in every line that changes (scripts/screenshot.sh).
//
//   panel-screenshot STARTUP.png LIVE.png PORT.png PICKER.png STATUS.png TRENDS.png STALE.png
//                    COMPARE.png
//
// PORT.png shows the line beside the port with why the port cannot be opened,
// PICKER.png the picker's menu with two adapters, STATUS.png the panel after some
// minutes of talking to the simulated machine, with the link's health in the status bar,
// TRENDS.png the Trends window over those minutes, and STALE.png the panel after the
// machine has gone silent: readouts dimmed, the status bar saying why. COMPARE.png is the
// Compare dialog over the file of another machine that differs in five settings.

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <cstdio>
#include <fstream>
#include <memory>

#include "app/link_status_bar.h"
#include "app/panel_window.h"
#include "app/port_picker.h"
#include "app/settings_compare_dialog.h"
#include "link/serial_devices.h"
#include "panel/panel_dialog.h"
#include "resources/control_ids.h"
#include "support/fake_host.h"
#include "support/fake_machine.h"
#include "support/fake_port.h"
#include "support/ftdi_adapter.h"

namespace {

void ShowRunningLink(ControlModel& model) {
  model.SetText(ids::kStatusLine, "STATUS: Link is live  (Firmware Rev = 1v23ABCD)");
  model.SetText(ids::kClockLine, "Time:12/31/23 23:59:59");
  model.SetText(ids::kServiceDueLine, "Next due 12/30/24");
  model.SetText(ids::kConnectButton, "Close");
  model.SetText(ids::kEiLine, "Ei = -8192.00");
  model.SetText(ids::kEoLine, "Eo = +25.00");
  model.SetText(ids::kCiLine, "Ci = +31.75");
  model.SetText(ids::kCoLine, "Co = -0.25");
  model.SetText(ids::kPwmLine, "PWM = +100.00%");
  model.SetText(ids::kPLowLine, "P_LOW = -18.78 PSI");
  model.SetText(ids::kPHighLine, "P_HIGH = +500.00 PSI");
  model.SetText(ids::kMainsLine, "Mains Value = 255");
  model.SetText(ids::kOutputLine, "OutPut = 65535Hz");
  for (int id : {ids::kReadyIndicator, ids::kDmxIndicator, ids::kHeatIndicator}) {
    model.SetCheck(id, 1);
  }
  model.SetCheck(ids::kRefCalCheck, 1);
  model.SetProgress(ids::kLinkProgress, 60);
  model.SetProgress(ids::kCalProgress, 35);
  model.AddLine(ids::kEventList, "Event = Zonesensor Activation at 12/31/23 23:59:59");
  model.AddLine(ids::kEventList, "Event = Power On                12/31/23 08:00:00");
  model.AddLine(ids::kEventList, " * Input detail line");
  model.AddLine(ids::kEventList, "Event =  ???  ");
  model.AddLine(ids::kEventList, "Event = Fluid Low               12/30/23 17:45:12");
}

// About three minutes of polling the simulated machine, whose clock runs 12 s ahead and
// whose readings wander, over a line that drops one reply in 170. The PC's clock and
// the machine's run on with the link ticks.
void RunLinkTicks(CKeloConfigurationDlg& panel, FakeHost& host, int ticks) {
  const int64_t startMs = host.CurrentTimeMs();
  for (int tick = 1; tick <= ticks; ++tick) {
    host.now = (startMs + int64_t{tick} * kLinkTickMs) / 1000;
    panel.OnTimer(kLinkTimerId);
  }
}

void TalkToMachine(CKeloConfigurationDlg& panel, FakeHost& host, FakeSerialPort& port) {
  const int64_t startS = host.now;
  auto elapsedMs = std::make_shared<int64_t>(0);
  sim::MachineSetup setup;
  setup.clockStart = startS + 12;
  setup.wander = true;
  port.responder = [machine = MachineResponder(setup, [elapsedMs] { return *elapsedMs; }),
                    requests = 0](const FakeSerialPort::Frame& request) mutable {
    return ++requests % 170 == 0 ? std::vector<uint8_t>{} : machine(request);
  };
  panel.connection().OnConnectClicked();
  panel.OnTimer(kConnectTimerId);
  for (int tick = 0; tick < 1500; ++tick) {
    *elapsedMs += kLinkTickMs;
    host.now = startS + *elapsedMs / 1000;
    panel.OnTimer(kLinkTimerId);
  }
}

bool Save(QWidget& window, const char* path) {
  QApplication::processEvents();
  if (window.grab().save(QString::fromLocal8Bit(path))) return true;
  std::fprintf(stderr, "panel-screenshot: cannot write %s\n", path);
  return false;
}

// Another machine's file, with a run time the panel shows rounded, a line edited by hand
// and a name this program does not know.
bool SaveCompare(CKeloConfigurationDlg& panel, QWidget& window, const char* path) {
  const QTemporaryDir folder;
  const std::string file = folder.filePath(QStringLiteral("other.brumo")).toStdString();
  std::string text = SettingsFileText({"FOGGER-TWO", "2v15", "2026-12-07 14:03:22", "Kelo 1.4"},
                                      {{23, 25, 0x13, 2, 0x84, 0x73, 0, 0, 0}, {40, 4, 20, 45}});
  text.replace(text.find("Pump Run = checked"), 18, "Pump Run = unchecked\r\nFog Colour = blue");
  std::ofstream(file, std::ios::binary) << text;
  const std::optional<Comparison> comparison = panel.settingsFiles().CompareWithFile(file);
  if (!comparison) return false;
  SettingsCompareDialog dialog(*comparison, &window);
  dialog.show();
  return Save(dialog, path);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  qputenv("KELO_MODULE_DIR", KELO_BUILT_MODULE_DIR);
  if (argc != 9) {
    std::fprintf(stderr,
                 "usage: panel-screenshot STARTUP.png LIVE.png PORT.png PICKER.png STATUS.png "
                 "TRENDS.png STALE.png COMPARE.png\n");
    return 2;
  }
  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg panel(host, port);
  PanelWindow window(panel);
  window.InitDialog();
  window.show();
  if (!Save(window, argv[1])) return 1;
  ShowRunningLink(panel.controls());
  if (!Save(window, argv[2])) return 1;

  PortPicker& picker = window.portPicker();
  picker.ShowLine(QString::fromUtf8(
      "Permission denied: /dev/ttyUSB0 — add yourself to the dialout group: sudo usermod "
      "-aG dialout $USER, then log in again"));
  if (!Save(window, argv[3])) return 1;
  picker.SetDetector([] {
    const SerialDevice ftdi = FtdiAdapter("/dev/ttyUSB0");
    SerialDevice acm;
    acm.node = "/dev/ttyACM0";
    acm.product = "USB Serial";
    acm.vendorId = "2341";
    return std::vector<SerialDevice>{ftdi, acm};
  });
  picker.FillMenu();
  picker.menu()->popup(window.mapToGlobal(picker.button()->geometry().bottomLeft()));
  QApplication::processEvents();
  const bool saved = picker.menu()->grab().save(QString::fromLocal8Bit(argv[4]));
  if (!saved) std::fprintf(stderr, "panel-screenshot: cannot write %s\n", argv[4]);
  picker.menu()->hide();
  picker.ShowLine(QString());

  TalkToMachine(panel, host, port);
  LinkStatusBar& bar = window.statusBar();
  bar.SetClock([&host] { return host.CurrentTimeMs() + 200; });
  bar.Refresh();
  if (!saved || !Save(window, argv[5])) return 1;

  bar.ShowTrends();
  if (bar.trendsWindow() == nullptr) {
    std::fprintf(stderr, "panel-screenshot: Trends did not open from %s\n", KELO_BUILT_MODULE_DIR);
    return 1;
  }
  QWidget& trends = *bar.trendsWindow();
  trends.findChild<QComboBox*>(QStringLiteral("range"))->setCurrentIndex(0);  // 5 minutes
  // As an engineer would size it, but never past the screen it opened on.
  trends.resize(QSize(900, 720).boundedTo(trends.screen()->availableGeometry().size()));
  // The replot and its layout run from the event loop.
  for (int pass = 0; pass < 5; ++pass) QApplication::processEvents();
  if (!Save(trends, argv[6])) return 1;
  trends.close();
  if (!SaveCompare(panel, window, argv[8])) return 1;

  port.responder = nullptr;  // the machine falls silent for twelve seconds
  RunLinkTicks(panel, host, 100);
  bar.Refresh();
  return Save(window, argv[7]) ? 0 : 1;
}
