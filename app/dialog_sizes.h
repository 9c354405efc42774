#pragma once

#include <QHash>
#include <QObject>
#include <QSize>

// Keeps every dialog of the program on its screen: each opens no larger than the screen's
// available geometry, and one the user can resize opens at the size it was last given
// in this session. Watches the dialogs' show and hide through an event filter on the
// application, so no dialog needs to know of it.
class DialogSizes : public QObject {
 public:
  explicit DialogSizes(QObject* parent = nullptr) : QObject(parent) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QHash<QByteArray, QSize> remembered_;  // by the dialog's class
};
