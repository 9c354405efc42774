#include "app/dialog_units.h"

#include <QFont>
#include <QFontMetrics>

namespace {

constexpr const char* kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// a * b / c rounded to nearest, halves away from zero.
int MulDivRounded(int a, int b, int c) {
  const long long product = static_cast<long long>(a) * b;
  const long long half = c / 2;
  return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

DialogBaseUnits BaseUnitsFromTextExtent(int widthOfAlphabet, int fontHeight) {
  return {(widthOfAlphabet / 26 + 1) / 2, fontHeight};
}

DialogBaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  return BaseUnitsFromTextExtent(metrics.horizontalAdvance(QString::fromLatin1(kAlphabet)),
                                 metrics.height());
}

int DialogUnitsToPixelsX(int units, DialogBaseUnits base) {
  return MulDivRounded(units, base.x, 4);
}

int DialogUnitsToPixelsY(int units, DialogBaseUnits base) {
  return MulDivRounded(units, base.y, 8);
}

QRect MapDialogRect(const DialogRect& rect, DialogBaseUnits base) {
  const int left = DialogUnitsToPixelsX(rect.x, base);
  const int top = DialogUnitsToPixelsY(rect.y, base);
  const int right = DialogUnitsToPixelsX(rect.x + rect.width, base);
  const int bottom = DialogUnitsToPixelsY(rect.y + rect.height, base);
  return {left, top, right - left, bottom - top};
}
