#include "model/weather/WeatherPage.h"

#include "core/Conversions.h"
#include "core/Gbk.h"

#include <boost/regex.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace stolvar {

namespace {

// The page is decoded from GBK and matched as text: the same matches as on the GBK
// bytes, without the false hits a byte pattern can find inside a two-byte character.
// "." also crosses line breaks, since the blocks of the page span many lines.
boost::wregex PagePattern(const QString& pattern)
{
    return boost::wregex(pattern.toStdWString(),
                         boost::regex_constants::perl | boost::regex_constants::mod_s);
}

const boost::wregex& TodayPattern()
{
    static const boost::wregex pattern = PagePattern(QStringLiteral(
        "今天白天.*?<li><.*?>(.*?)℃.*?今天夜间.*?<li><.*?>(.*?)℃.*?"));
    return pattern;
}

const boost::wregex& LocationPattern()
{
    static const boost::wregex pattern =
        PagePattern(QStringLiteral("右侧主内容.*?<h3>(.*?)<span.*?>(.*?)</span>.*?>(.*?)<"));
    return pattern;
}

const boost::wregex& ForecastDayPattern()
{
    static const boost::wregex pattern = PagePattern(QStringLiteral(
        "<h4>(.*?)</h4>.*?白天.*?<li class=.*?>(.*?)℃</li>.*?夜间.*?<li class=.*?>(.*?)℃</li>.*?"));
    return pattern;
}

QString Group(const boost::wsmatch& match, int group)
{
    return QString::fromStdWString(match[group].str());
}

DayReading MakeDay(QString heading, QString high, QString low)
{
    DayReading day{std::move(heading), std::move(high), std::move(low), true};
    if (day.low.isEmpty()) {
        day.low = NotAvailableText();
        day.lowRead = false;
    }
    return day;
}

// The matcher gives up (throws) on a page whose lazy patterns would take too long;
// such a page reads as one without the part searched for.
bool SearchPage(const std::wstring& page, boost::wsmatch& m, const boost::wregex& pattern)
{
    try {
        return boost::regex_search(page, m, pattern);
    } catch (const std::runtime_error&) {
        return false;
    }
}

DayReading ReadToday(const std::wstring& page)
{
    boost::wsmatch m;
    if (!SearchPage(page, m, TodayPattern()))
        return MakeDay({}, {}, {});
    return MakeDay({}, Group(m, 1), Group(m, 2));
}

QString ReadLocation(const std::wstring& page)
{
    boost::wsmatch m;
    if (!SearchPage(page, m, LocationPattern()))
        return {};
    return Group(m, 1) + Group(m, 2) + Group(m, 3);
}

// The forecast part runs from "未来" (future) to "订阅天气短信" (the subscription box
// below it); without that end mark the page is not trusted to hold forecast days.
std::wstring ForecastSection(const QString& page)
{
    const qsizetype start = page.indexOf(QStringLiteral("未来"));
    const qsizetype end = page.indexOf(QStringLiteral("订阅天气短信"), start);
    if (start < 0 || end < 0)
        return {};
    return page.mid(start, end - start).toStdWString();
}

QVector<DayReading> ReadFutures(const std::wstring& section)
{
    QVector<DayReading> days;
    try {
        boost::wsregex_iterator it(section.begin(), section.end(), ForecastDayPattern());
        for (; it != boost::wsregex_iterator() && days.size() < 4; ++it)
            days.append(MakeDay(Group(*it, 1), Group(*it, 2), Group(*it, 3)));
    } catch (const std::runtime_error&) {
        // The days matched before the matcher gave up are kept.
    }
    return days;
}

void TakeReading(DayValues& day, const DayReading& reading)
{
    day.high = reading.high;
    day.low = reading.low;
    if (reading.lowRead) {
        const double mean = (ParseNumberText(day.high) + ParseNumberText(day.low)) / 2.0;
        // Digits beyond any single-precision value are no temperature: the minimum
        // counts as not given, so the day keeps its mean and is not stored.
        if (std::fabs(mean) <= double(std::numeric_limits<float>::max()))
            day.mean = float(mean);
        else
            day.low = NotAvailableText();
    }
    day.readThisRun = true;
}

QString TemperatureLines(const DayValues& day, const QString& unit)
{
    return QStringLiteral("\r\n\r\n最高温度") + day.high + unit + QStringLiteral("\r\n\r\n最低温度")
        + day.low + unit + QStringLiteral("\r\n\r\n平均温度") + FormatNumber(day.mean)
        + QStringLiteral("℃");
}

} // namespace

QString UnknownCityText()
{
    return QStringLiteral("对不起，无法查询到您所输入的地名，请检查后重新输入。例如：郑州（输入郑州即可，不要输入郑州市）");
}

QString TodayLabelText(const DayValues& day)
{
    return QStringLiteral("【今天温度】") + TemperatureLines(day, QStringLiteral("℃"));
}

// The forecast labels carry no unit after the maximum and minimum.
QString FutureLabelText(int daysAhead, const QString& heading, const DayValues& day)
{
    QString caption = heading;
    if (daysAhead == 1)
        caption = QStringLiteral("【明天温度】");
    else if (daysAhead == 2)
        caption = QStringLiteral("【后天温度】");
    return caption + TemperatureLines(day, QString());
}

WeatherReading ReadWeatherPage(const QByteArray& gbkPage)
{
    const QString text = DecodeGbk(gbkPage);
    const std::wstring page = text.toStdWString();
    WeatherReading reading;
    reading.today = ReadToday(page);
    reading.cityFound = text.contains(QStringLiteral("未来"));
    if (!reading.cityFound)
        return reading;
    reading.location = ReadLocation(page);
    reading.futures = ReadFutures(ForecastSection(text));
    return reading;
}

WeatherView ApplyWeatherReading(const WeatherReading& reading, const WeatherDays& previous)
{
    WeatherView view;
    view.days = previous;
    for (DayValues& day : view.days)
        day.readThisRun = false;
    TakeReading(view.days[0], reading.today);
    view.todayLabel = TodayLabelText(view.days[0]);
    view.cityFound = reading.cityFound;
    if (!reading.cityFound) {
        view.locationText = UnknownCityText();
        return view;
    }
    view.locationText = reading.location;
    // Handled from the furthest day back to tomorrow; the view holds four days ahead.
    const qsizetype ahead = std::min<qsizetype>(reading.futures.size(), qsizetype(view.futureLabels.size()));
    for (auto k = ahead - 1; k >= 0; --k) {
        DayValues& day = view.days[size_t(k) + 1];
        TakeReading(day, reading.futures[k]);
        view.futureLabels[size_t(k)] = FutureLabelText(int(k) + 1, reading.futures[k].heading, day);
    }
    return view;
}

} // namespace stolvar
