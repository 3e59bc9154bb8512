#pragma once

#include "model/maturity/Projection.h"

#include <QString>

class QChartView;
class QWidget;

namespace stolvar {

struct CuringWidgets;

// The fifth page of the tab control, "成熟度曲线": a chart of the selected group's
// accumulated degree-days (page 成熟度曲线页, chart view 成熟度图).
QWidget* BuildMaturityCurvePage(CuringWidgets& ui);

// Replaces the chart with the curve: stored days solid, forecast days dashed, the
// projection dotted, the 600 ℃·d line, the due day and, when given, the 14-day minimum.
// Axes: days since casting (bottom) and dates (top). An empty curve leaves only the title.
void ShowMaturityCurve(QChartView* view, const MaturityCurve& curve, const QString& title);
// The title: project, position and strength grade.
QString MaturityCurveTitle(const QString& project, const QString& position, const QString& grade);

} // namespace stolvar
