#pragma once

#include <QList>
#include <QStringList>
#include <QWidget>

#include "app/panel_window.h"
#include "support/panel_fixture.h"

// The panel's window over the one panel fixture: the panel has started on a scripted
// host and an in-memory port, so message boxes answer at once and no real timer or
// device is involved; the window is built over it as its view.
struct WindowFixture {
  PanelFixture panel;
  PanelWindow window{panel.dlg};

  ControlModel& model() { return panel.dlg.controls(); }

  template <typename Widget>
  Widget* Get(int id) const {
    return qobject_cast<Widget*>(window.Control(id));
  }

  // Codes waiting on the link, the next to be sent first.
  QList<int> QueuedCodes() const {
    const std::vector<int> codes = panel.QueuedCodes();
    return QList<int>(codes.begin(), codes.end());
  }

  QStringList Messages() const {
    QStringList texts;
    for (const std::string& text : panel.host.MessageTexts()) {
      texts.append(QString::fromStdString(text));
    }
    return texts;
  }
};
