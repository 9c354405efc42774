#pragma once

#include <QList>
#include <QWidget>

#include "app/panel_window.h"
#include "panel/panel_dialog.h"
#include "support/fake_host.h"
#include "support/fake_port.h"

// The panel with its window, on a scripted host and an in-memory port, so that message
// boxes answer at once and no real timer or device is involved.
struct PanelFixture {
  FakeHost host;
  FakeSerialPort port;
  CKeloConfigurationDlg panel{host, port};
  PanelWindow window{panel};

  ControlModel& model() { return panel.controls(); }

  template <typename Widget>
  Widget* Get(int id) const {
    return qobject_cast<Widget*>(window.Control(id));
  }

  // The command stack from the oldest code to the next one to be sent.
  QList<int> Stack() const {
    QList<int> codes;
    for (int i = 1; i <= panel.msgStack.GetCount(); ++i) codes.append(panel.msgStack.SlotAt(i));
    return codes;
  }

  QStringList Messages() const {
    QStringList texts;
    for (const std::string& text : host.MessageTexts()) texts.append(QString::fromStdString(text));
    return texts;
  }
};
