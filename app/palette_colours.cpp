#include "app/palette_colours.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kRedHue = 0.0;
constexpr double kGreenHue = 120.0 / 360.0;
// A little short of full, so that a light shade on a dark window does not glare.
constexpr float kSaturation = 0.8F;
constexpr int kSteps = 100;

double Linear(double channel) {
  return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

double Luminance(const QColor& colour) {
  return 0.2126 * Linear(colour.redF()) + 0.7152 * Linear(colour.greenF()) +
         0.0722 * Linear(colour.blueF());
}

// The hue, walked from its purest shade toward black on a light window
// or toward white on a dark one, until it reads. Black or white has at least 4.58:1 with
// any colour, so the walk always ends in a shade that does.
QColor Legible(double hue, const QColor& window) {
  const bool darken =
      ContrastRatio(QColor(Qt::black), window) >= ContrastRatio(QColor(Qt::white), window);
  QColor shade;
  for (int step = 0; step <= kSteps; ++step) {
    const double toward = 0.5 * step / kSteps;
    shade = QColor::fromHslF(static_cast<float>(hue), kSaturation,
                             static_cast<float>(darken ? 0.5 - toward : 0.5 + toward));
    if (ContrastRatio(shade, window) >= kLeastTextContrast) break;
  }
  return shade;
}

QColor Mix(const QColor& from, const QColor& to, double share) {
  const auto channel = [share](float a, float b) {
    return static_cast<float>(a + (b - a) * share);
  };
  return QColor::fromRgbF(channel(from.redF(), to.redF()), channel(from.greenF(), to.greenF()),
                          channel(from.blueF(), to.blueF()));
}

QColor InTone(TextTone tone, const QPalette& palette, QPalette::ColorGroup group) {
  switch (tone) {
    case TextTone::kWarning:
      return WarningText(palette);
    case TextTone::kSuccess:
      return SuccessText(palette);
    case TextTone::kPlain:
      break;
  }
  return palette.color(group, QPalette::WindowText);
}

// A widget's text colours, made from the palette it inherits and made again whenever that
// changes. Its child, so it lives as long as the widget.
class TextColours : public QObject {
 public:
  static TextColours& Of(QWidget& widget) {
    auto* colours = widget.findChild<TextColours*>(QString(), Qt::FindDirectChildrenOnly);
    return colours != nullptr ? *colours : *new TextColours(widget);
  }

  void SetTone(TextTone tone) {
    tone_ = tone;
    Apply();
  }
  void KeepDimmedReadable() {
    dimmable_ = true;
    Apply();
  }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::PaletteChange) Apply();
    return false;
  }

 private:
  explicit TextColours(QWidget& widget) : QObject(&widget), widget_(widget) {
    widget.installEventFilter(this);
  }

  // Setting the palette raises another palette change, which finds nothing to change.
  void Apply() {
    const QWidget* parent = widget_.parentWidget();
    const QPalette inherited = parent != nullptr ? parent->palette() : QApplication::palette();
    QPalette palette = widget_.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, QPalette::WindowText, InTone(tone_, inherited, group));
    }
    if (dimmable_)
      palette.setColor(QPalette::Disabled, QPalette::WindowText, DimmedText(inherited));
    if (palette != widget_.palette()) widget_.setPalette(palette);
  }

  QWidget& widget_;
  TextTone tone_ = TextTone::kPlain;
  bool dimmable_ = false;
};

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
  const double la = Luminance(a);
  const double lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor WarningText(const QPalette& palette) {
  return Legible(kRedHue, palette.color(QPalette::Window));
}

QColor SuccessText(const QPalette& palette) {
  return Legible(kGreenHue, palette.color(QPalette::Window));
}

QColor DimmedText(const QPalette& palette) {
  const QColor window = palette.color(QPalette::Disabled, QPalette::Window);
  const QColor dimmed = palette.color(QPalette::Disabled, QPalette::WindowText);
  const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
  for (int step = 0; step < kSteps; ++step) {
    const QColor shade = Mix(dimmed, text, static_cast<double>(step) / kSteps);
    if (ContrastRatio(shade, window) >= kLeastDimmedContrast) return shade;
  }
  return text;
}

void ShowInTone(QWidget& widget, TextTone tone) {
  TextColours::Of(widget).SetTone(tone);
}

void KeepReadableWhenDimmed(QWidget& widget) {
  TextColours::Of(widget).KeepDimmedReadable();
}
