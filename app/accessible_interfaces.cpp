#include "app/accessible_interfaces.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace {

// A combo without a name of its own is still named by its entry, as Qt names it.
class NamedCombo : public QAccessibleWidget {
 public:
  explicit NamedCombo(QComboBox* combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

  QString text(QAccessible::Text type) const override {
    const bool named = !combo()->accessibleName().isEmpty();
    if (type == QAccessible::Value || (type == QAccessible::Name && !named)) {
      return combo()->currentText();
    }
    return QAccessibleWidget::text(type);
  }
  QStringList actionNames() const override {
    return QAccessibleWidget::actionNames() << showMenuAction();
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction()) {
      combo()->showPopup();
    } else {
      QAccessibleWidget::doAction(action);
    }
  }

 private:
  QComboBox* combo() const { return qobject_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* PanelInterface(const QString& className, QObject* object) {
  if (className == QLatin1String("QComboBox")) {
    return new NamedCombo(qobject_cast<QComboBox*>(object));
  }
  if (className == QLatin1String("LinkStatusBar")) {
    return new QAccessibleWidget(qobject_cast<QWidget*>(object), QAccessible::StatusBar);
  }
  return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
  QAccessible::installFactory(PanelInterface);
}
