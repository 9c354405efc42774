#include "app/app_icon.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Watches one widget for its first paint, then sets the icon and leaves.
class FirstPaintWatch : public QObject {
 public:
  explicit FirstPaintWatch(QWidget& painted) : QObject(&painted) {
    // A zero timer fires after the paint pass, which paints the whole window at once.
    afterPaint_.setSingleShot(true);
    afterPaint_.setInterval(0);
    connect(&afterPaint_, &QTimer::timeout, this, [this] {
      QApplication::setWindowIcon(AppIcon());
      deleteLater();
    });
    painted.installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      afterPaint_.start();
    }
    return false;
  }

 private:
  QTimer afterPaint_;
};

}  // namespace

QIcon AppIcon() {
  return QIcon(QStringLiteral(":/kelo-configuration.png"));
}

void SetAppIconAfterFirstPaint(QWidget& painted) {
  new FirstPaintWatch(painted);
}
