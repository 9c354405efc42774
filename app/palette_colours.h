#pragma once

#include <QColor>

class QPalette;
class QWidget;

// Colours for text that has to stand out, taken from the palette in use, so that they
// keep their contrast on light and dark themes alike.

// The WCAG contrast ratio of two colours: 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// Text that warns (a link not live, the reason a port cannot be opened, a recording):
// a red with at least 4.5:1 against the window's background, or the window's own text
// colour where no red has it.
QColor WarningText(const QPalette& palette);

// Text that tells of success (a Write the machine's read-back verified): a green with at
// least 4.5:1 against the window's background, or the window's own text colour.
QColor SuccessText(const QPalette& palette);

// Draws `widget`'s text in the warning colour of its palette.
void ShowAsWarning(QWidget& widget);
