#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <vector>

#include "app/dialog_units.h"
#include "panel/host.h"

class CKeloConfigurationDlg;
struct SerialDevice;
class QLabel;
class QMenu;
class QToolButton;
class QWidget;

// What the window adds beside the port number, in space the original panel leaves free:
// a small button whose menu lists the detected adapters and offers Find machine, and a
// line under the USB group that says why the port cannot be opened or what was found.
class PortPicker : public QObject {
  Q_OBJECT

 public:
  // The serial devices of this computer, as udev lists them now.
  using Detector = std::function<std::vector<SerialDevice>()>;

  PortPicker(CKeloConfigurationDlg& panel, QWidget& window, DialogBaseUnits base);

  // Where the adapters come from (udev, unless a test says otherwise).
  void SetDetector(Detector detect) { detect_ = std::move(detect); }
  QMenu* menu() const { return menu_; }
  QToolButton* button() const { return button_; }
  QLabel* line() const { return line_; }
  // The line's text, in its tone (a reason the port cannot be opened, unless told
  // otherwise); empty hides it. The whole text is in its tooltip as well, and its first
  // line, however much of it fits, is its accessible name.
  void ShowLine(const QString& text, PortLineTone tone = PortLineTone::kProblem);
  // The menu as it is when opened: the adapters found now, the chosen one checked.
  void FillMenu();

 signals:
  // The operator chose an adapter or a search ended: the port number may have changed.
  void portChosen();

 private:
  void FindMachine();

  CKeloConfigurationDlg& panel_;
  Detector detect_;
  QToolButton* button_;
  QMenu* menu_;
  QLabel* line_;
};
