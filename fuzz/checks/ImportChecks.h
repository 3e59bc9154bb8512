#pragma once

// Invariants of reading the Open-Meteo answers and temperature-logger files of arbitrary
// bytes, shared by the fuzz targets and the replay test. A check returns what broke, or "".

#include "model/logger/LoggerFile.h"
#include "model/temperatures/PlausibleTemperature.h"
#include "model/weather/OpenMeteo.h"

#include <QByteArray>
#include <QString>

#include <cmath>

namespace stolvar::fuzz {

inline bool Plausible(double value)
{
    return std::isfinite(value) && IsPlausibleTemperature(value);
}

inline QString CheckPlace(const QByteArray& input)
{
    const PlaceAnswer answer = ReadPlaceAnswer(input);
    if (answer.place && !answer.error.isEmpty())
        return QStringLiteral("a place and an error at once");
    if (answer.place && (std::fabs(answer.place->latitude) > 90 || std::fabs(answer.place->longitude) > 180))
        return QStringLiteral("a place off the globe");
    return {};
}

inline QString CheckForecast(const QByteArray& input)
{
    const ForecastAnswer answer = ReadForecastAnswer(input);
    if (!answer.error.isEmpty() && !answer.days.isEmpty())
        return QStringLiteral("a refused answer still gave days");
    for (qsizetype i = 0; i < answer.days.size(); ++i) {
        const MeteoDay& day = answer.days[i];
        if (!day.day.isValid() || (i > 0 && answer.days[i - 1].day >= day.day))
            return QStringLiteral("days not valid and ascending");
        if (!Plausible(day.mean) || !Plausible(day.high) || !Plausible(day.low) || day.low > day.high)
            return QStringLiteral("an implausible day was taken");
    }
    return {};
}

// The JSON answers: the same bytes go to both readers.
inline QString CheckMeteoAnswer(const QByteArray& input)
{
    const QString place = CheckPlace(input);
    return place.isEmpty() ? CheckForecast(input) : place;
}

inline QString CheckLoggerDay(const LoggerDay& day)
{
    if (!day.day.isValid() || day.readings < 1 || day.hours < 1 || day.hours > 24 || day.hours > day.readings)
        return QStringLiteral("a day with impossible counts");
    if (!Plausible(day.high) || !Plausible(day.low) || day.low > day.high)
        return QStringLiteral("implausible extremes");
    if (!(day.mean >= day.low - 1e-9 && day.mean <= day.high + 1e-9))
        return QStringLiteral("a mean outside the extremes");
    return {};
}

inline QString CheckLoggerDays(const QVector<LoggerDay>& days, qint64 expectedReadings)
{
    qint64 readings = 0;
    for (qsizetype i = 0; i < days.size(); ++i) {
        if (QString broken = CheckLoggerDay(days[i]); !broken.isEmpty())
            return broken;
        if (i > 0 && days[i - 1].day >= days[i].day)
            return QStringLiteral("days not ascending");
        readings += days[i].readings;
    }
    if (readings != expectedReadings)
        return QStringLiteral("the day counts do not add up to the readings");
    return {};
}

// Every date order a file offers must give the same readings.
inline QString CheckLoggerFile(const QByteArray& input)
{
    const LoggerFile file = ReadLoggerFile(input);
    if (file.error.isEmpty() == file.days.isEmpty())
        return QStringLiteral("days and error disagree");
    if (file.skipped < 0 || (file.error.isEmpty() && !file.orders.contains(file.order)))
        return QStringLiteral("impossible counts or no date order");
    if (QString broken = CheckLoggerDays(file.days, file.readings); !broken.isEmpty())
        return broken;
    for (DateOrder order : file.orders) {
        if (QString broken = CheckLoggerDays(LoggerDaysInOrder(file, order), file.readings); !broken.isEmpty())
            return broken;
    }
    return {};
}

} // namespace stolvar::fuzz
