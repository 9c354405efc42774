#pragma once

#include <QRect>

#include "resources/panel_template.h"

class QFont;

// Dialog units scale with the dialog's font: a horizontal unit is a quarter of the
// font's average character width, a vertical unit an eighth of its height. For the
// 8-point template font at 96 dpi the base units are 6 x 13 pixels, so a unit is
// 1.5 px across and 1.625 px down.
struct DialogBaseUnits {
  int x;
  int y;
  bool operator==(const DialogBaseUnits&) const = default;
};

// From the width of the 52 letters A-Z a-z and the font's line height, rounded as
// the original window system rounds them.
DialogBaseUnits BaseUnitsFromTextExtent(int widthOfAlphabet, int fontHeight);
DialogBaseUnits BaseUnitsOf(const QFont& font);

// Pixels of a position or extent in dialog units, rounded to nearest.
int DialogUnitsToPixelsX(int units, DialogBaseUnits base);
int DialogUnitsToPixelsY(int units, DialogBaseUnits base);

// Maps each edge separately, so that adjacent rectangles stay adjacent.
QRect MapDialogRect(const DialogRect& rect, DialogBaseUnits base);
