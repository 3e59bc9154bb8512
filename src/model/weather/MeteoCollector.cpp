#include "model/weather/MeteoCollector.h"

#include "core/Conversions.h"

namespace stolvar {

namespace {

constexpr int kPastDays = 7;
constexpr int kDaysShown = 5;

// 12月3日 星期四, as the forecast page heads a day.
QString DayHeading(const QDate& day)
{
    static const char16_t* const names[] = {u"一", u"二", u"三", u"四", u"五", u"六", u"日"};
    return QStringLiteral("%1月%2日 星期").arg(day.month()).arg(day.day())
        + QString::fromUtf16(names[day.dayOfWeek() - 1]);
}

DayValues ValuesOf(const MeteoDay& day)
{
    return {FormatNumber(day.high), FormatNumber(day.low), float(day.mean), true};
}

} // namespace

QString SeveralPlacesText(const QString& city)
{
    return QStringLiteral("找到多个名为“%1”的地点，请选择").arg(city);
}

QString ServiceUnreachableText()
{
    return QStringLiteral("天气服务没有正常回答，请检查网络配置或稍后再试。");
}

MeteoView ViewMeteoDays(const QVector<MeteoDay>& days, const QDate& today, const WeatherDays& previous)
{
    MeteoView view;
    view.days = previous;
    for (DayValues& day : view.days)
        day.readThisRun = false;
    for (const MeteoDay& day : days) {
        const qint64 ahead = today.daysTo(day.day);
        if (ahead < 0 || ahead >= kDaysShown)
            continue;
        DayValues& values = view.days[size_t(ahead)];
        values = ValuesOf(day);
        if (ahead > 0)
            view.futureLabels[size_t(ahead - 1)] = FutureLabelText(int(ahead), DayHeading(day.day), values);
    }
    view.todayLabel = TodayLabelText(view.days[0]);
    return view;
}

QVector<SourcedDay> ServiceDaysToStore(const QVector<MeteoDay>& days, const QDate& today)
{
    QVector<SourcedDay> stored;
    for (const MeteoDay& day : days) {
        const qint64 ahead = today.daysTo(day.day);
        if (ahead < -kPastDays || ahead >= kForecastDays)
            continue;
        stored.append({day.day, day.mean, day.high, day.low, ahead < 0 ? DaySource::Observed : DaySource::Forecast});
    }
    return stored;
}

DayPlan PlanServiceDayAt(std::optional<DaySource> existing, const SourcedDay& day, const QDate& today)
{
    return PlanServiceDay(existing, day.day < today);
}

} // namespace stolvar
