#pragma once

#include "model/maturity/Projection.h"

#include <QString>

class QChartView;
class QWidget;

namespace stolvar {

// The chart of a group's accumulated degree-days (成熟度图), empty until a curve is shown.
QChartView* CreateMaturityChartView(QWidget* parent);

// Replaces the chart with the curve: stored days solid, forecast days dashed, the
// projection dotted, the 600 ℃·d line, the due day and, when given, the 14-day minimum.
// Axes: days since casting (bottom) and dates (top). An empty curve leaves only the title.
// A view made by CreateMaturityChartView keeps its chart when it is shown the same curve
// and title again at the same width.
void ShowMaturityCurve(QChartView* view, const MaturityCurve& curve, const QString& title);

} // namespace stolvar
