#pragma once

#include <QIcon>

// The application's icon (window, taskbar, About box), from the Qt resource that the
// program and its GUI tests compile in (resources/kelo-configuration.qrc).
QIcon AppIcon();
