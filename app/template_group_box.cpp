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

// Each rounded corner is two eighths of a circle, one from each side that meets there.
// Their antialiased ends overlap in the middle of the corner, which gives the corners
// the weight the panel has always shown.
struct Arc {
  Corner corner;
  int startDegrees;
  int spanDegrees;
};
constexpr Arc kCornerArcs[] = {
    {kBottomLeft, -90, -45}, {kBottomRight, -90, 45}, {kTopRight, 45, -45}, {kBottomRight, 315, 45},
    {kTopLeft, 135, 45},     {kBottomLeft, 180, 45},  {kTopLeft, 135, -45}, {kTopRight, 45, 45},
};

void DrawFrame(QPainter& painter, const QRect& frame, const QColor& colour) {
  constexpr int r = kCornerRadius;
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(colour);
  const int straightWidth = frame.width() - 2 * r;
  const int straightHeight = frame.height() - 2 * r;
  painter.drawRect(QRectF(frame.left() + r, frame.bottom(), straightWidth, 1));
  painter.drawRect(QRectF(frame.right(), frame.top() + r, 1, straightHeight));
  painter.drawRect(QRectF(frame.left(), frame.top() + r, 1, straightHeight));
  painter.drawRect(QRectF(frame.left() + r, frame.top(), straightWidth, 1));

  painter.setPen(QPen(colour, 1, Qt::SolidLine, Qt::SquareCap));
  painter.setBrush(Qt::NoBrush);
  // The arcs run through the middle of the frame's outermost pixels.
  const QSizeF box(2 * r - 1, 2 * r - 1);
  const qreal nearX = frame.left() + 0.5;
  const qreal nearY = frame.top() + 0.5;
  const qreal farX = frame.right() + 1.5 - 2 * r;
  const qreal farY = frame.bottom() + 1.5 - 2 * r;
  const QPointF corners[] = {{nearX, nearY}, {farX, nearY}, {nearX, farY}, {farX, farY}};
  for (const Arc& arc : kCornerArcs) {
    painter.drawArc(QRectF(corners[arc.corner], box), arc.startDegrees * 16, arc.spanDegrees * 16);
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
