#pragma once

#include <QColor>

class QPalette;
class QWidget;

// Colours for text that has to stand out or stay readable, made from the palette in use,
// so that they keep their contrast on light and dark themes alike, and made again when
// the palette changes.

// The WCAG contrast ratio of two colours: 1 (none) to 21 (black on white).
double ContrastRatio(const QColor& a, const QColor& b);

// WCAG 2.1 AA: text, and text that is drawn dimmed on purpose (a stale readout).
inline constexpr double kLeastTextContrast = 4.5;
inline constexpr double kLeastDimmedContrast = 3.0;

// Text that warns (a link not live, the reason a port cannot be opened, a recording): the
// most vivid red that keeps kLeastTextContrast against the palette's window colour.
QColor WarningText(const QPalette& palette);
// Text that tells of a success (the machine found): a green, alike.
QColor SuccessText(const QPalette& palette);
// Text of a disabled widget: the palette's own, unless that falls below
// kLeastDimmedContrast; then moved toward the window text until it reaches it.
QColor DimmedText(const QPalette& palette);

enum class TextTone { kPlain, kWarning, kSuccess };

// Draws `widget`'s text in a tone of its palette, and again after every palette change.
void ShowInTone(QWidget& widget, TextTone tone);
inline void ShowAsWarning(QWidget& widget) {
  ShowInTone(widget, TextTone::kWarning);
}
// Keeps `widget`'s text readable while it is disabled, in this palette and any after it.
void KeepReadableWhenDimmed(QWidget& widget);
