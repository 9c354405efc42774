#include "app/keyboard_paths.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLayout>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <vector>

#include "app/link_status_bar.h"
#include "app/panel_window.h"
#include "app/port_picker.h"
#include "resources/panel_template.h"

namespace {

bool TakesTab(const QWidget& widget) {
  return (widget.focusPolicy() & Qt::TabFocus) != 0;
}

}  // namespace

KeyboardPaths::KeyboardPaths(PanelWindow& window) : QObject(&window), window_(window) {
  AppendTabStops();
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (TakesTab(*widget)) widget->installEventFilter(this);
  }
  auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &window);
  connect(shiftF10, &QShortcut::activated, this, &KeyboardPaths::OpenWindowMenu);
}

// The picker beside the port number, then the status bar's buttons from left to right.
void KeyboardPaths::AppendTabStops() {
  std::vector<QWidget*> added = {window_.portPicker().button()};
  const QLayout* bar = window_.statusBar().layout();
  for (int i = 0; i < bar->count(); ++i) {
    QWidget* widget = bar->itemAt(i)->widget();
    if (widget != nullptr && TakesTab(*widget)) added.push_back(widget);
  }
  QWidget* previous = window_.Control(PanelTabOrder().back());
  for (QWidget* widget : added) {
    QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

void KeyboardPaths::OpenWindowMenu() {
  QWidget* focused = QApplication::focusWidget();
  if (focused == nullptr || focused->window() != &window_) focused = &window_;
  QMenu menu(&window_);
  window_.PopulateWindowMenu(menu);
  menu.exec(focused->mapToGlobal(focused->rect().bottomLeft()));
}

bool KeyboardPaths::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ContextMenu) return QObject::eventFilter(watched, event);
  const auto* request = dynamic_cast<QContextMenuEvent*>(event);
  if (request != nullptr && request->reason() == QContextMenuEvent::Keyboard) {
    OpenWindowMenu();
    return true;
  }
  return QObject::eventFilter(watched, event);
}
