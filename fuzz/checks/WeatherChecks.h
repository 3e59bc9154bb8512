#pragma once

// Invariants of reading a forecast page of arbitrary bytes, shared by the fuzz target
// and the replay test. The check returns what broke, or an empty text.

#include "model/weather/WeatherPage.h"

#include <QByteArray>
#include <QString>

#include <cmath>

namespace stolvar::fuzz {

inline WeatherDays EarlierWeatherDays()
{
    WeatherDays days;
    for (size_t i = 0; i < days.size(); ++i)
        days[i] = {QString::number(20 + i), QString::number(10 + i), float(15 + i), true};
    return days;
}

inline QString CheckReadingShape(const WeatherReading& reading)
{
    if (reading.futures.size() > 4)
        return QStringLiteral("more than four forecast days");
    if (!reading.cityFound && (!reading.location.isEmpty() || !reading.futures.isEmpty()))
        return QStringLiteral("a page without forecast part gave a location or forecast days");
    if (reading.today.low.isEmpty())
        return QStringLiteral("today's minimum is empty instead of the not-available text");
    return {};
}

// A day the page gave is taken with a finite mean; a day it did not give keeps the
// values of the earlier run.
inline QString CheckDay(const DayValues& day, const DayValues& earlier, bool read)
{
    if (day.readThisRun != read)
        return QStringLiteral("a day is marked read or unread wrongly");
    if (!std::isfinite(day.mean))
        return QStringLiteral("a day's mean is not finite: %1 / %2").arg(day.high, day.low);
    if (!read && (day.high != earlier.high || day.low != earlier.low || day.mean != earlier.mean))
        return QStringLiteral("a day the page did not give lost its earlier values");
    return {};
}

inline QString CheckWeatherPage(const QByteArray& input)
{
    const WeatherReading reading = ReadWeatherPage(input);
    if (QString shape = CheckReadingShape(reading); !shape.isEmpty())
        return shape;
    const WeatherDays earlier = EarlierWeatherDays();
    const WeatherView view = ApplyWeatherReading(reading, earlier);
    if (!view.todayLabel.startsWith(QStringLiteral("【今天温度】")))
        return QStringLiteral("today's label lacks its caption");
    if (!reading.cityFound && view.locationText != UnknownCityText())
        return QStringLiteral("an unknown city is not reported");
    for (size_t d = 0; d < view.days.size(); ++d) {
        const bool read = d == 0 || qsizetype(d) <= reading.futures.size();
        if (QString broken = CheckDay(view.days[d], earlier[d], read); !broken.isEmpty())
            return broken;
        if (d > 0 && view.futureLabels[d - 1].has_value() != read)
            return QStringLiteral("a forecast label is set for a day not read, or not set for a day read");
    }
    return {};
}

} // namespace stolvar::fuzz
