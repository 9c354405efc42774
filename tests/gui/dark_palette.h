#pragma once

#include <QPalette>

// A dark palette for the Fusion style, as a dark desktop theme gives one: light text on
// dark grey, with a blue highlight.
inline QPalette DarkFusionPalette() {
  const QColor text(0xee, 0xee, 0xee);
  const QColor window(0x35, 0x35, 0x35);
  QPalette palette(text, window, QColor(0x50, 0x50, 0x50), QColor(0x1e, 0x1e, 0x1e),
                   QColor(0x24, 0x24, 0x24), text, Qt::white, QColor(0x2a, 0x2a, 0x2a), window);
  palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
  return palette;
}
