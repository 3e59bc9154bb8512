#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace stolvar {

// What a forecast page says about one day: the texts as the page gives them.
struct DayReading {
    QString heading;   // the page's caption of a forecast day; empty for today
    QString high;      // "" when the page gives none
    QString low;       // "暂无" when the page gives none
    bool lowRead = false;
};

// One forecast page (GBK HTML) read: today, the location header and up to four
// forecast days counted from tomorrow.
struct WeatherReading {
    DayReading today;
    bool cityFound = false;       // the page has a "未来" (forecast) part at all
    QString location;             // location and date header of the page
    QVector<DayReading> futures;  // at most four
};

// The forecast texts use this for a minimum the page does not give.
inline QString NotAvailableText() { return QStringLiteral("暂无"); }
QString UnknownCityText();

WeatherReading ReadWeatherPage(const QByteArray& gbkPage);

// What the collector remembers of one day for the whole program run. The mean is only
// replaced when the day's minimum was read, so a day a run cannot read keeps its
// earlier values; `readThisRun` tells which days the latest run read from the page.
struct DayValues {
    QString high;
    QString low;
    float mean = 0.0f;
    bool readThisRun = false;
};
using WeatherDays = std::array<DayValues, 5>;   // today and the four days ahead

// The texts of the "温度提示" box after one page was read.
struct WeatherView {
    WeatherDays days;
    QString todayLabel;
    std::array<std::optional<QString>, 4> futureLabels;   // nullopt: the label keeps its text
    QString locationText;
    bool cityFound = false;   // false: hide the day labels, show the location text in red
};

WeatherView ApplyWeatherReading(const WeatherReading& reading, const WeatherDays& previous);

// The label texts of the box: today's, and a forecast day's (1 = tomorrow; from the third
// day on the caption is the heading of the day).
QString TodayLabelText(const DayValues& day);
QString FutureLabelText(int daysAhead, const QString& heading, const DayValues& day);

} // namespace stolvar
