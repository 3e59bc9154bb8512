#include "curing/forms/MaturityCurvePage.h"

#include "curing/CuringWidgets.h"
#include "curing/forms/CurveChartLoader.h"

#include <QGraphicsView>
#include <QLabel>
#include <QStringList>
#include <QVBoxLayout>

namespace stolvar {

QGraphicsView* CurveViewOf(CuringWidgets& ui, const CurveChart* chart, const QString& reason)
{
    if (!chart) {
        if (!ui.curveProblem) {
            ui.curveProblem = new QLabel(QStringLiteral("成熟度曲线无法显示：") + reason);
            ui.curveProblem->setObjectName(QStringLiteral("成熟度曲线提示"));
            ui.curveProblem->setWordWrap(true);
            ui.curveProblem->setAlignment(Qt::AlignCenter);
            ui.curveArea->layout()->addWidget(ui.curveProblem);
        }
        return nullptr;
    }
    if (!ui.curveView) {
        ui.curveView = chart->createView(ui.curveArea);
        // A print from the menu may come before the page was ever shown and laid out.
        ui.curveView->setGeometry(ui.curveArea->rect());
        ui.curveArea->layout()->addWidget(ui.curveView);
    }
    return ui.curveView;
}

QWidget* BuildMaturityCurvePage(CuringWidgets& ui)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("成熟度曲线页"));
    ui.curvePage = page;
    // The window scales this area with the page; the chart, made later, fills it.
    ui.curveArea = new QWidget(page);
    ui.curveArea->setObjectName(QStringLiteral("成熟度图区域"));
    ui.curveArea->setGeometry(0, 0, 600, 615);
    auto* layout = new QVBoxLayout(ui.curveArea);
    layout->setContentsMargins(0, 0, 0, 0);
    return page;
}

QGraphicsView* CurveViewOfPage(CuringWidgets& ui, QString* error)
{
    QString reason;
    QGraphicsView* view = CurveViewOf(ui, LoadCurveChart(&reason), reason);
    if (error)
        *error = reason;
    return view;
}

bool ShowCurveOnPage(CuringWidgets& ui, const MaturityCurve& curve, const QString& title)
{
    QString reason;
    const CurveChart* chart = LoadCurveChart(&reason);
    QGraphicsView* view = CurveViewOf(ui, chart, reason);
    if (view)
        chart->show(view, curve, title);
    return view != nullptr;
}

QString MaturityCurveTitle(const QString& project, const QString& position, const QString& grade)
{
    return QStringList{project, position, grade}.join(u' ').simplified();
}

} // namespace stolvar
