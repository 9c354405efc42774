#include "app/keloconfiguration_app.h"

#include <QCoreApplication>
#include <cstdlib>

#include "app/dialog_sizes.h"
#include "app/panel_window.h"
#include "app/port_picker.h"
#include "app/qt_host.h"
#include "link/posix_serial_port.h"
#include "panel/ini_profile.h"
#include "panel/panel_dialog.h"

bool CKeloConfigurationApp::InitInstance() {
  DialogSizes dialogSizes;
  QCoreApplication::instance()->installEventFilter(&dialogSizes);
  QtHost host(ProfilePathFromEnvironment());
  PosixSerialPort port;
  CKeloConfigurationDlg panel(host, port);
  PanelWindow window(panel);
  host.Attach(panel, window);
  host.SetPortLineView([&window](const QString& text, PortLineTone tone) {
    window.portPicker().ShowLine(text, tone);
    window.RefreshPortToolTip();
  });
  window.DoModal();
  // The window is done: close the port, keep the port number, stop the ticks.
  panel.OnDestroy();
  return false;
}
