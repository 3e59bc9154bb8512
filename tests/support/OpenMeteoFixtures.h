#pragma once

// Answers shaped like those of the Open-Meteo services, built in code so that every test
// states the temperatures it expects.

#include <QByteArray>
#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>

#include <functional>

namespace stolvar::test {

inline QByteArray PlaceJson(const QString& name = QStringLiteral("郑州"), double latitude = 34.75778,
                            double longitude = 113.64861)
{
    QJsonObject place{{QStringLiteral("id"), 1784658},
                      {QStringLiteral("name"), name},
                      {QStringLiteral("latitude"), latitude},
                      {QStringLiteral("longitude"), longitude},
                      {QStringLiteral("country"), QStringLiteral("中国")},
                      {QStringLiteral("admin1"), QStringLiteral("河南")},
                      {QStringLiteral("timezone"), QStringLiteral("Asia/Shanghai")}};
    return QJsonDocument(QJsonObject{{QStringLiteral("results"), QJsonArray{place}},
                                     {QStringLiteral("generationtime_ms"), 0.5}})
        .toJson(QJsonDocument::Compact);
}

inline QByteArray UnknownPlaceJson()
{
    return R"({"generationtime_ms":0.3})";
}

// Hour h of day d (0 = first day) is `hourly(d, h)`; daily extremes are the extremes of
// the hours. Twelve days from `first`, as past_days=7 and forecast_days=5 give.
using HourlyValue = std::function<QJsonValue(int day, int hour)>;

inline HourlyValue SteadyDays(double base = 10.0)
{
    // Each day: base + day, swinging ±4 ℃ around it (mean exactly base + day).
    return [base](int day, int hour) {
        return QJsonValue(base + day + (hour < 12 ? -4.0 : 4.0));
    };
}

inline QByteArray ForecastJson(const QDate& first, const HourlyValue& hourly, int days = 12)
{
    QJsonArray times, temperatures, dayTimes, highs, lows;
    for (int d = 0; d < days; ++d) {
        double high = -1000, low = 1000;
        bool anyNull = false;
        for (int h = 0; h < 24; ++h) {
            times.append(first.addDays(d).toString(Qt::ISODate) + QStringLiteral("T%1:00").arg(h, 2, 10, QLatin1Char('0')));
            const QJsonValue value = hourly(d, h);
            temperatures.append(value);
            anyNull = anyNull || value.isNull();
            if (value.isDouble()) {
                high = std::max(high, value.toDouble());
                low = std::min(low, value.toDouble());
            }
        }
        dayTimes.append(first.addDays(d).toString(Qt::ISODate));
        highs.append(high < -999 ? QJsonValue() : QJsonValue(high));
        lows.append(low > 999 ? QJsonValue() : QJsonValue(low));
    }
    QJsonObject root{{QStringLiteral("latitude"), 34.75},
                     {QStringLiteral("longitude"), 113.625},
                     {QStringLiteral("timezone"), QStringLiteral("Asia/Shanghai")},
                     {QStringLiteral("hourly_units"), QJsonObject{{QStringLiteral("temperature_2m"), QStringLiteral("°C")}}},
                     {QStringLiteral("hourly"), QJsonObject{{QStringLiteral("time"), times},
                                                           {QStringLiteral("temperature_2m"), temperatures}}},
                     {QStringLiteral("daily"), QJsonObject{{QStringLiteral("time"), dayTimes},
                                                          {QStringLiteral("temperature_2m_max"), highs},
                                                          {QStringLiteral("temperature_2m_min"), lows}}}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

// An archive answer of daily means from 1 January `firstYear` to 31 December `lastYear`.
inline QByteArray ClimateJson(int firstYear, int lastYear, const std::function<QJsonValue(const QDate&)>& meanOn)
{
    QJsonArray times, means;
    for (QDate d(firstYear, 1, 1); d <= QDate(lastYear, 12, 31); d = d.addDays(1)) {
        times.append(d.toString(Qt::ISODate));
        means.append(meanOn(d));
    }
    QJsonObject root{{QStringLiteral("latitude"), 34.75},
                     {QStringLiteral("longitude"), 113.625},
                     {QStringLiteral("timezone"), QStringLiteral("Asia/Shanghai")},
                     {QStringLiteral("daily_units"), QJsonObject{{QStringLiteral("temperature_2m_mean"), QStringLiteral("°C")}}},
                     {QStringLiteral("daily"), QJsonObject{{QStringLiteral("time"), times},
                                                          {QStringLiteral("temperature_2m_mean"), means}}}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

} // namespace stolvar::test
