#include "app/template_group_box.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionGroupBox>

namespace {

// In the widget's font: the frame starts half a line down, the title half a line in,
// with a fifth of a line clear on either side of it.
constexpr double kFrameTopLines = 0.5;
constexpr double kTitleIndentLines = 0.5;
constexpr double kTitlePaddingLines = 0.2;
constexpr int kCornerRadius = 2;

enum Corner { kTopLeft, kTopRight, kBottomLeft, kBottomRight };

// An eighth of a circle at a corner, in degrees.
struct Arc {
  Corner corner;
  int startDegrees;
  int spanDegrees;
};

// Each side is a straight line between the corners and, at either end, the eighth of
// the corner's circle that meets it. The antialiased ends of two eighths overlap in the
// middle of a corner, which gives the corners the weight the panel has always shown;
// the sides are drawn in this order, bottom first, so every pixel is blended as it was.
enum Side { kBottom, kRight, kLeft, kTop };
struct SideShape {
  Side side;
  Arc ends[2];
};
constexpr SideShape kSides[] = {
    {kBottom, {{kBottomLeft, -90, -45}, {kBottomRight, -90, 45}}},
    {kRight, {{kTopRight, 45, -45}, {kBottomRight, 315, 45}}},
    {kLeft, {{kTopLeft, 135, 45}, {kBottomLeft, 180, 45}}},
    {kTop, {{kTopLeft, 135, -45}, {kTopRight, 45, 45}}},
};

QRectF Straight(Side side, const QRect& frame) {
  constexpr int r = kCornerRadius;
  switch (side) {
    case kBottom:
      return {qreal(frame.left() + r), qreal(frame.bottom()), qreal(frame.width() - 2 * r), 1};
    case kRight:
      return {qreal(frame.right()), qreal(frame.top() + r), 1, qreal(frame.height() - 2 * r)};
    case kLeft:
      return {qreal(frame.left()), qreal(frame.top() + r), 1, qreal(frame.height() - 2 * r)};
    case kTop:
      break;
  }
  return {qreal(frame.left() + r), qreal(frame.top()), qreal(frame.width() - 2 * r), 1};
}

void DrawFrame(QPainter& painter, const QRect& frame, const QColor& colour) {
  constexpr int r = kCornerRadius;
  painter.setRenderHint(QPainter::Antialiasing);
  // The arcs run through the middle of the frame's outermost pixels.
  const QSizeF box(2 * r - 1, 2 * r - 1);
  const qreal nearX = frame.left() + 0.5;
  const qreal nearY = frame.top() + 0.5;
  const qreal farX = frame.right() + 1.5 - 2 * r;
  const qreal farY = frame.bottom() + 1.5 - 2 * r;
  const QPointF corners[] = {{nearX, nearY}, {farX, nearY}, {nearX, farY}, {farX, farY}};
  const QPen pen(colour, 1, Qt::SolidLine, Qt::SquareCap);
  for (const SideShape& side : kSides) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawRect(Straight(side.side, frame));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    for (const Arc& arc : side.ends) {
      painter.drawArc(QRectF(corners[arc.corner], box), arc.startDegrees * 16,
                      arc.spanDegrees * 16);
    }
  }
}

}  // namespace

void TemplateGroupBox::paintEvent(QPaintEvent* /*event*/) {
  QStyleOptionGroupBox option;
  initStyleOption(&option);
  const int line = option.fontMetrics.height();
  const int padding = qRound(line * kTitlePaddingLines);
  const QRect frame = rect().adjusted(0, qRound(line * kFrameTopLines), 0, 0);
  // The title's place is as wide as its text and one space, the text centred in it.
  const int titleWidth =
      option.fontMetrics.size(Qt::TextShowMnemonic, title() + QLatin1Char(' ')).width();
  const QRect titlePlace =
      QStyle::visualRect(layoutDirection(), rect(),
                         QRect(qRound(line * kTitleIndentLines) + padding, 0, titleWidth, line));

  QPainter painter(this);
  painter.save();
  painter.setClipRegion(QRegion(rect()) - titlePlace.adjusted(-padding, 0, padding, 0));
  DrawFrame(painter, frame, palette().color(QPalette::Mid));
  painter.restore();

  // The style may give group-box titles a colour of their own.
  QPalette palette = option.palette;
  if (option.textColor.isValid()) palette.setColor(QPalette::WindowText, option.textColor);
  int alignment = Qt::AlignCenter | Qt::TextShowMnemonic;
  if (style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this) == 0) {
    alignment |= Qt::TextHideMnemonic;
  }
  style()->drawItemText(&painter, titlePlace, alignment, palette,
                        option.state.testFlag(QStyle::State_Enabled), title(),
                        QPalette::WindowText);
}
