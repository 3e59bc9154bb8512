#include "chart/MaturityChart.h"

#include "core/Conversions.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <optional>

namespace stolvar {

namespace {

constexpr int kLeastDaysShown = 30;
constexpr double kDayTick = 10.0;
constexpr double kSumTick = 100.0;

struct RunStyle {
    const char16_t* name;
    QColor colour;
    Qt::PenStyle pen;
};

RunStyle StyleOf(CurveKind kind)
{
    switch (kind) {
    case CurveKind::Stored:
        return {u"已记录", QColor(0x1f, 0x4e, 0x9c), Qt::SolidLine};
    case CurveKind::Forecast:
        return {u"预报", QColor(0x3a, 0x8f, 0xd6), Qt::DashLine};
    case CurveKind::Projected:
        return {u"推算", QColor(0x70, 0x70, 0x70), Qt::DotLine};
    }
    return {u"", Qt::black, Qt::SolidLine};
}

QLineSeries* Line(const QString& name, const QColor& colour, Qt::PenStyle style, const QList<QPointF>& points)
{
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(colour, 2.0, style);
    series->setPen(pen);
    series->replace(points);
    return series;
}

// The range of the climate's years, 10th to 90th percentile, shaded under the lines.
void AddBand(QChart* chart, const MaturityCurve& curve)
{
    if (curve.bandLow.isEmpty())
        return;
    auto* upper = new QLineSeries(chart);
    upper->replace(curve.bandHigh);
    auto* lower = new QLineSeries(chart);
    lower->replace(curve.bandLow);
    auto* band = new QAreaSeries(upper, lower);
    band->setName(QStringLiteral("气候范围（10%～90%）"));
    band->setColor(QColor(0x70, 0x70, 0x70, 0x40));
    band->setBorderColor(QColor(0x70, 0x70, 0x70, 0x60));
    chart->addSeries(band);
}

// One legend entry per kind of run, however often the line changes kind.
void AddRuns(QChart* chart, const MaturityCurve& curve)
{
    QList<CurveKind> named;
    for (const CurveRun& run : curve.runs) {
        const RunStyle style = StyleOf(run.kind);
        QLineSeries* series = Line(QString::fromUtf16(style.name), style.colour, style.pen, run.points);
        chart->addSeries(series);
        if (named.contains(run.kind))
            chart->legend()->markers(series).constFirst()->setVisible(false);
        named.append(run.kind);
    }
}

// The sum axis: from below the lowest sum (a winter with frost days sums below zero) to
// above the highest and 600 ℃·d, in whole hundreds.
struct SumRange {
    double bottom = 0;
    double top = 0;
};

// Whether the due day comes by the 60-day cap: no sum up to it reaches 600 ℃·d.
bool DueByCap(const MaturityCurve& curve)
{
    for (const CurveRun& run : curve.runs) {
        for (const QPointF& p : run.points) {
            if (p.x() <= curve.dueDay && p.y() - maturity::kThreshold >= -maturity::kTolerance)
                return false;
        }
    }
    return true;
}

// "送检日（第26天）"; by the cap, the 60th day with its date, as the panel names it.
QString DueDayName(const MaturityCurve& curve)
{
    if (!DueByCap(curve))
        return QStringLiteral("送检日（第%1天）").arg(curve.dueDay);
    return QStringLiteral("送检日（第%1天，%2）")
        .arg(maturity::kDayCap)
        .arg(FormatLongDate(WallTime(curve.castingDay.addDays(curve.dueDay))));
}

void AddMarkerLines(QChart* chart, const MaturityCurve& curve, double lastDay, const SumRange& sums)
{
    chart->addSeries(Line(QStringLiteral("600℃·d"), QColor(0xc0, 0x30, 0x30), Qt::SolidLine,
                          {QPointF(0, maturity::kThreshold), QPointF(lastDay, maturity::kThreshold)}));
    if (curve.dueDay >= 0)
        chart->addSeries(Line(DueDayName(curve), QColor(0xe0, 0x80, 0x00), Qt::DashDotLine,
                              {QPointF(curve.dueDay, sums.bottom), QPointF(curve.dueDay, sums.top)}));
    if (curve.minimumDay >= 0)
        chart->addSeries(Line(QStringLiteral("国标14天"), QColor(0x2e, 0x8b, 0x57), Qt::DashDotDotLine,
                              {QPointF(curve.minimumDay, sums.bottom), QPointF(curve.minimumDay, sums.top)}));
}

// Whole tens of days, so that the day ticks and the date ticks above them coincide.
double LastDayShown(const MaturityCurve& curve)
{
    double last = std::max(kLeastDaysShown, curve.dueDay + 1);
    for (const CurveRun& run : curve.runs)
        last = std::max(last, run.points.constLast().x() + 1);
    if (!curve.bandHigh.isEmpty())
        last = std::max(last, curve.bandHigh.constLast().x() + 1);
    return std::ceil(last / kDayTick) * kDayTick;
}

SumRange SumsShown(const MaturityCurve& curve)
{
    double top = maturity::kThreshold;
    double bottom = 0;
    for (const CurveRun& run : curve.runs) {
        for (const QPointF& p : run.points) {
            top = std::max(top, p.y());
            bottom = std::min(bottom, p.y());
        }
    }
    for (const QPointF& p : curve.bandHigh)
        top = std::max(top, p.y());
    for (const QPointF& p : curve.bandLow)
        bottom = std::min(bottom, p.y());
    return {std::floor(bottom * 1.05 / kSumTick) * kSumTick, std::ceil(top * 1.05 / kSumTick) * kSumTick};
}

int TickCount(double range, double tick)
{
    return int(std::lround(range / tick)) + 1;
}

// Days between ticks: tens of days, as many as the width lets the dates stand apart.
double DayStep(double lastDay, int plotWidth)
{
    constexpr int kDateLabelWidth = 64;   // "12月31日" with room on both sides
    const int labels = std::max(2, plotWidth / kDateLabelWidth);
    double step = kDayTick;
    while (lastDay / step + 1 > labels)
        step += kDayTick;
    return step;
}

void AttachAxes(QChart* chart, const MaturityCurve& curve, double lastDay, const SumRange& sums, int plotWidth)
{
    const double step = DayStep(lastDay, plotWidth);
    const double shownDays = std::ceil(lastDay / step) * step;
    auto* days = new QValueAxis;
    days->setTitleText(QStringLiteral("成型后天数"));
    days->setRange(0, shownDays);
    days->setLabelFormat(QStringLiteral("%d"));
    days->setTickCount(TickCount(shownDays, step));
    auto* sum = new QValueAxis;
    sum->setTitleText(QStringLiteral("累计温度（℃·d）"));
    sum->setRange(sums.bottom, sums.top);
    sum->setLabelFormat(QStringLiteral("%d"));
    sum->setTickCount(TickCount(sums.top - sums.bottom, kSumTick));
    auto* dates = new QDateTimeAxis;
    dates->setFormat(QStringLiteral("M月d日"));
    const QDateTime from = WallTime(curve.castingDay);
    dates->setRange(from, AddDays(from, int(shownDays)));
    dates->setTickCount(TickCount(shownDays, step));
    chart->addAxis(days, Qt::AlignBottom);
    chart->addAxis(dates, Qt::AlignTop);
    chart->addAxis(sum, Qt::AlignLeft);
    for (QAbstractSeries* series : chart->series()) {
        series->attachAxis(days);
        series->attachAxis(sum);
    }
}

// The chart's view remembers what it shows: the curve page asks for the curve each time it
// is shown and after every edit, mostly for the one already drawn, and rebuilding the
// series, axes and legend costs several milliseconds of layout each time.
class MaturityChartView : public QChartView
{
public:
    using QChartView::QChartView;

    struct Shown {
        MaturityCurve curve;
        QString title;
        int width = -1;   // the day ticks are spaced for the width
        bool operator==(const Shown&) const = default;
    };
    std::optional<Shown> shown;
};

// The chart holds nothing to activate or focus. Its view is hidden and shown again with its
// page, and each time Qt tells the scene that its window was deactivated and activated:
// the chart then lays out and repaints all its items again, 4–7 ms of each page switch.
class IgnoreWindowActivation : public QObject
{
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate;
    }
};

} // namespace

QChartView* CreateMaturityChartView(QWidget* parent)
{
    auto* view = new MaturityChartView(parent);
    view->setObjectName(QStringLiteral("成熟度图"));
    view->setRenderHint(QPainter::Antialiasing);
    view->scene()->installEventFilter(new IgnoreWindowActivation(view));
    view->chart()->legend()->setAlignment(Qt::AlignBottom);
    return view;
}

void ShowMaturityCurve(QChartView* view, const MaturityCurve& curve, const QString& title)
{
    if (auto* remembering = dynamic_cast<MaturityChartView*>(view)) {
        MaturityChartView::Shown next{curve, title, view->width()};
        if (remembering->shown == next)
            return;
        remembering->shown = std::move(next);
    }
    QChart* chart = view->chart();
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(title);
    if (curve.runs.isEmpty() || !curve.castingDay.isValid())
        return;
    const double lastDay = LastDayShown(curve);
    const SumRange sums = SumsShown(curve);
    AddBand(chart, curve);
    AddRuns(chart, curve);
    AddMarkerLines(chart, curve, lastDay, sums);
    // Room on the right for half of the last date label, which stands centred on its tick.
    chart->setMargins(QMargins(8, 8, 28, 8));
    AttachAxes(chart, curve, lastDay, sums, view->width() - 120);
}

} // namespace stolvar
