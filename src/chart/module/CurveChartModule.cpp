#include "chart/CurveChartModule.h"
#include "chart/MaturityChart.h"

#include <QChartView>

#include <type_traits>

using namespace stolvar;

// The entry points keep C names, so that the program finds them by name; the view passed
// back to the module is always one the module made.
extern "C" {

Q_DECL_EXPORT int stolvar_curve_chart_interface()
{
    return kCurveChartInterface;
}

Q_DECL_EXPORT QGraphicsView* stolvar_create_curve_view(QWidget* parent)
{
    return CreateMaturityChartView(parent);
}

Q_DECL_EXPORT void stolvar_show_curve(QGraphicsView* view, const MaturityCurve& curve, const QString& title)
{
    ShowMaturityCurve(static_cast<QChartView*>(view), curve, title);
}

} // extern "C"

// The function types the program casts the symbols to are these functions' types.
static_assert(std::is_same_v<decltype(&stolvar_curve_chart_interface), CurveChartInterfaceFunction>);
static_assert(std::is_same_v<decltype(&stolvar_create_curve_view), CreateCurveViewFunction>);
static_assert(std::is_same_v<decltype(&stolvar_show_curve), ShowCurveFunction>);
