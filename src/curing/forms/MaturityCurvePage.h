#pragma once

#include <QString>

class QGraphicsView;
class QWidget;

namespace stolvar {

struct CurveChart;
struct CuringWidgets;
struct MaturityCurve;

// The fifth page of the tab control, "成熟度曲线" (成熟度曲线页). Its chart (成熟度图) comes
// from the curve chart module when the page is first shown or the curve first printed.
QWidget* BuildMaturityCurvePage(CuringWidgets& ui);

// The page's chart, made first if need be; null when the module cannot be loaded: the page
// then says why (成熟度曲线提示), and so does `error`.
QGraphicsView* CurveViewOfPage(CuringWidgets& ui, QString* error = nullptr);

// The same with the module given: the page's chart made by `chart`, or, when it is null,
// `reason` on the page.
QGraphicsView* CurveViewOf(CuringWidgets& ui, const CurveChart* chart, const QString& reason);

// Shows the curve on the page, making its chart first if need be; false when there is none.
bool ShowCurveOnPage(CuringWidgets& ui, const MaturityCurve& curve, const QString& title);

// The title: project, position and strength grade.
QString MaturityCurveTitle(const QString& project, const QString& position, const QString& grade);

} // namespace stolvar
