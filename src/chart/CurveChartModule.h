#pragma once

// What the curve chart module (stolvar-curve-chart) exports. Qt Charts, the OpenGL libraries
// it brings and the chart itself come with the module when the curve page is first shown:
// made at every start, they took a fifth of the start-up and over 2 MB.

class QGraphicsView;
class QString;
class QWidget;

namespace stolvar {

struct MaturityCurve;

// Raised whenever the functions below or MaturityCurve change; a module of another version
// is refused.
inline constexpr int kCurveChartInterface = 1;

using CurveChartInterfaceFunction = int (*)();
using CreateCurveViewFunction = QGraphicsView* (*)(QWidget* parent);
using ShowCurveFunction = void (*)(QGraphicsView* view, const MaturityCurve& curve, const QString& title);

inline constexpr char kCurveChartModule[] = "stolvar-curve-chart";
inline constexpr char kCurveChartInterfaceSymbol[] = "stolvar_curve_chart_interface";
inline constexpr char kCreateCurveViewSymbol[] = "stolvar_create_curve_view";
inline constexpr char kShowCurveSymbol[] = "stolvar_show_curve";

} // namespace stolvar
