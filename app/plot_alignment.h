#pragma once

#include <QList>

class QChart;

// Lines up the plot areas of charts stacked in one column of equal width, so that a
// moment sits at the same x in each although their axes and legends differ in width:
// each chart's margin on a side grows by what its axes and legend there take less than
// the widest chart's. Call it once every chart's layout has settled (not from within one:
// the chart's plot area moves before its frame does); once aligned it changes nothing,
// so the layouts it starts come to rest. Charts without a laid-out plot area are left.
void AlignPlotAreas(const QList<QChart*>& charts, int baseMargin);
