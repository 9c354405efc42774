#include "app/app_icon.h"

QIcon AppIcon() {
  return QIcon(QStringLiteral(":/kelo-configuration.png"));
}
