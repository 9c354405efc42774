#pragma once

#include <QColor>
#include <QPalette>

// A dark palette for the Fusion style, as a dark desktop theme gives one: light text on
// dark grey, with a blue highlight.
inline QPalette DarkFusionPalette() {
  QPalette palette;
  const QColor window(0x35, 0x35, 0x35);
  const QColor base(0x2a, 0x2a, 0x2a);
  const QColor text(0xee, 0xee, 0xee);
  const QColor dimmed(0x80, 0x80, 0x80);
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Button, QPalette::AlternateBase}) {
    palette.setColor(role, window);
  }
  palette.setColor(QPalette::Base, base);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                   QPalette::BrightText, QPalette::ToolTipText}) {
    palette.setColor(role, text);
  }
  palette.setColor(QPalette::ToolTipBase, base);
  palette.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
  palette.setColor(QPalette::Midlight, QColor(0x42, 0x42, 0x42));
  palette.setColor(QPalette::Mid, QColor(0x24, 0x24, 0x24));
  palette.setColor(QPalette::Dark, QColor(0x1e, 0x1e, 0x1e));
  palette.setColor(QPalette::Shadow, QColor(0x14, 0x14, 0x14));
  palette.setColor(QPalette::Highlight, QColor(0x2a, 0x82, 0xda));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xff));
  palette.setColor(QPalette::PlaceholderText, dimmed);
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Disabled, role, dimmed);
  }
  return palette;
}
