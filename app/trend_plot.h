#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsItem>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "replies/trend_decimation.h"

// What a trend chart shows inside its plot area.
struct TrendPicture {
  struct Range {
    double low;
    double high;
  };
  struct Line {
    const char* name;
    QColor colour;
    std::size_t axis;  // index into axes
    std::vector<TrendPoint> points;
  };
  struct Gap {
    int64_t fromMs;
    int64_t toMs;
    QString label;  // what the panel knows of why
  };

  int64_t fromMs = 0;
  int64_t toMs = 0;
  std::vector<Range> axes;
  std::vector<Line> lines;
  std::vector<Gap> gaps;
  std::optional<int64_t> cursorMs;  // the sample the readout shows
};

// Draws a chart's TrendPicture over its plot area: each gap shaded and, where its label
// fits across or along it, labelled; each line as runs of points joined only within a
// run (Qt Charts' own series join every point to the next, across any gap), a run of one
// point as a short dash; the cursor's moment as a dashed rule.
class TrendPlot : public QGraphicsItem {
 public:
  struct Colours {
    QColor gap;   // the shade over a gap
    QColor text;  // a gap's label and the cursor
  };

  explicit TrendPlot(QGraphicsItem* chart);

  // The chart's plot area, in the chart's coordinates.
  void SetArea(const QRectF& plotArea);
  void Show(TrendPicture picture);
  void SetCursor(std::optional<int64_t> ms);
  void SetColours(const Colours& colours, const QFont& labelFont);
  const TrendPicture& picture() const { return picture_; }

  QRectF boundingRect() const override { return {QPointF(), size_}; }
  void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

 private:
  double X(int64_t ms) const;
  QPointF At(const TrendPoint& point, const TrendPicture::Range& range) const;
  void PaintGaps(QPainter& painter) const;
  void PaintLabel(QPainter& painter, const QRectF& gap, const QString& label) const;
  void PaintLine(QPainter& painter, const TrendPicture::Line& line) const;
  void PaintCursor(QPainter& painter) const;

  QSizeF size_;
  TrendPicture picture_;
  Colours colours_;
  QFont font_;
};
