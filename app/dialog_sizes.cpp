#include "app/dialog_sizes.h"

#include <QDialog>
#include <QEvent>
#include <QLayout>
#include <QMessageBox>
#include <QScreen>
#include <QStyle>

namespace {

// A message box sizes itself to its text; a dialog with a fixed layout cannot be resized.
bool Resizable(const QDialog& dialog) {
  if (qobject_cast<const QMessageBox*>(&dialog) != nullptr) return false;
  const QLayout* layout = dialog.layout();
  return layout == nullptr || layout->sizeConstraint() != QLayout::SetFixedSize;
}

QSize Room(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) return window.maximumSize();
  const int titleBar = window.style()->pixelMetric(QStyle::PM_TitleBarHeight);
  return screen->availableGeometry().size() - QSize(0, titleBar);
}

}  // namespace

bool DialogSizes::eventFilter(QObject* watched, QEvent* event) {
  auto* dialog = qobject_cast<QDialog*>(watched);
  if (dialog == nullptr || !dialog->isWindow()) return false;
  const QByteArray key = dialog->metaObject()->className();
  if (event->type() == QEvent::Show) {
    QSize size = dialog->size();
    if (Resizable(*dialog)) size = remembered_.value(key, size);
    const QSize room = Room(*dialog);
    dialog->setMaximumSize(dialog->maximumSize().boundedTo(room));
    dialog->resize(size.boundedTo(room));
  } else if (event->type() == QEvent::Hide && Resizable(*dialog)) {
    remembered_.insert(key, dialog->size());
  }
  return false;
}
