#pragma once

#include <QIcon>

class QWidget;

// The application's icon (window, taskbar, About box), from the Qt resource that the
// program and its GUI tests compile in (resources/kelo-configuration.qrc).
QIcon AppIcon();

// Makes AppIcon the application's window icon once `painted` has finished its first
// paint. Decoding the image takes about as long as painting the panel, and the window
// can be seen without its icon for that moment; windows without an icon of their own
// take it up when it is set.
void SetAppIconAfterFirstPaint(QWidget& painted);
