#include "app/app_icon.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Watches one widget for its first paint, then leaves.
class FirstPaintWatch : public QObject {
 public:
  explicit FirstPaintWatch(QWidget& painted) : QObject(&painted) {
    painted.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      // A zero timer fires after the paint pass, which paints the whole window at once.
      QTimer::singleShot(0, qApp, [] { QApplication::setWindowIcon(AppIcon()); });
      deleteLater();
    }
    return false;
  }
};

}  // namespace

QIcon AppIcon() {
  return QIcon(QStringLiteral(":/kelo-configuration.png"));
}

void SetAppIconAfterFirstPaint(QWidget& painted) {
  new FirstPaintWatch(painted);
}
