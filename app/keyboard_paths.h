#pragma once

#include <QObject>

class PanelWindow;
class QWidget;

// The keyboard's ways to what the window adds around the original panel. Tab reaches the
// adapter picker and the status bar's buttons after the original's controls, whose order
// stays as it was. The menu key (the desktop sends it to the focused control as a context
// menu request) and Shift+F10 open the window menu at the focused control, whichever it
// is: an edit's own menu stays the mouse's.
class KeyboardPaths : public QObject {
 public:
  // After the window has set the original's tab order.
  explicit KeyboardPaths(PanelWindow& window);

  // The window menu under the control that has the focus.
  void OpenWindowMenu();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AppendTabStops();

  PanelWindow& window_;
};
