#include "app/palette_colours.h"

#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kLeastTextContrast = 4.5;  // WCAG 2.1 AA for text
const QColor kDarkRed(0xa4, 0x00, 0x00);
const QColor kLightRed(0xff, 0x8a, 0x80);
const QColor kDarkGreen(0x1b, 0x5e, 0x20);
const QColor kLightGreen(0x81, 0xc7, 0x84);

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) +
         0.0722 * Linear(colour.blueF());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor WarningText(const QPalette& palette) {
  const QColor background = palette.color(QPalette::Window);
  for (const QColor& red : {kDarkRed, kLightRed}) {
    if (ContrastRatio(red, background) >= kLeastTextContrast) return red;
  }
  return palette.color(QPalette::WindowText);
}

QColor SuccessText(const QPalette& palette) {
  const QColor background = palette.color(QPalette::Window);
  for (const QColor& green : {kDarkGreen, kLightGreen}) {
    if (ContrastRatio(green, background) >= kLeastTextContrast) return green;
  }
  return palette.color(QPalette::WindowText);
}

void ShowAsWarning(QWidget& widget) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::WindowText, WarningText(palette));
  widget.setPalette(palette);
}
