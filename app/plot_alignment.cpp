#include "app/plot_alignment.h"

#include <QChart>
#include <QMargins>
#include <algorithm>
#include <cmath>

namespace {

// What lies between a chart's margins and its plot area on either side: its axes, and
// a legend placed beside the plot.
struct AxisWidths {
  double left;
  double right;
};

AxisWidths AxisWidthsOf(const QChart& chart) {
  const QRectF plot = chart.plotArea();
  const QMargins margins = chart.margins();
  const QRectF frame = chart.rect();
  return {plot.left() - frame.left() - margins.left(),
          frame.right() - plot.right() - margins.right()};
}

}  // namespace

void AlignPlotAreas(const QList<QChart*>& charts, int baseMargin) {
  for (const QChart* chart : charts) {
    if (chart->plotArea().isEmpty()) return;
  }
  AxisWidths widest{0, 0};
  for (const QChart* chart : charts) {
    const AxisWidths widths = AxisWidthsOf(*chart);
    widest.left = std::max(widest.left, widths.left);
    widest.right = std::max(widest.right, widths.right);
  }
  for (QChart* chart : charts) {
    const AxisWidths widths = AxisWidthsOf(*chart);
    QMargins margins = chart->margins();
    margins.setLeft(baseMargin + static_cast<int>(std::lround(widest.left - widths.left)));
    margins.setRight(baseMargin + static_cast<int>(std::lround(widest.right - widths.right)));
    if (margins != chart->margins()) chart->setMargins(margins);
  }
}
