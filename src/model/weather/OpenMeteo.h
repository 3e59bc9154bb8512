#pragma once

#include "model/temperatures/ClimateStore.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QUrl>
#include <QVector>

#include <optional>

namespace stolvar {

// The Open-Meteo services: a place search (geocoding) and an hourly/daily forecast.
// Reading their JSON answers is pure logic; the run that fetches them is elsewhere.

// A place as the geocoding service names it; what a run needs to ask for its forecast.
struct MeteoPlace {
    QString name;       // 郑州
    QString province;   // admin1: 河南
    double latitude = 0;
    double longitude = 0;
    QString timezone;   // Asia/Shanghai
};

// One place of a search with what tells places of one name apart: its county (admin3,
// else admin2).
struct PlaceChoice {
    MeteoPlace place;
    QString county;
};

// The answer of a place search: a place, no place (the city is unknown) or a broken answer.
struct PlaceAnswer {
    std::optional<MeteoPlace> place;   // the first the service lists
    QVector<PlaceChoice> places;       // every one it lists (up to the count asked for)
    QString error;   // non-empty: the answer could not be read
};
PlaceAnswer ReadPlaceAnswer(const QByteArray& json);

// The reason an error answer gives ({"error":true,"reason":"…"}); empty when it gives none.
QString ReadServiceReason(const QByteArray& json);
QString ServiceRefusedText(const QString& reason);   // 天气服务拒绝了请求：…

// One day of a forecast answer: the mean of its 24 hourly values, maximum and minimum.
struct MeteoDay {
    QDate day;
    double mean = 0;
    double high = 0;
    double low = 0;
};

// A forecast answer read: only the complete days (all 24 hourly values and both daily
// extremes given). Any broken part of the answer rejects it all: `error` says what.
struct ForecastAnswer {
    QVector<MeteoDay> days;   // ascending by day
    QString error;
};
ForecastAnswer ReadForecastAnswer(const QByteArray& json);

// An archive answer read: the daily means of the years asked for, ascending. A day whose
// mean is null (the newest days of the archive) is left out; any broken part rejects it all.
struct ClimateAnswer {
    QVector<ClimateDay> days;
    QString error;
};
ClimateAnswer ReadClimateAnswer(const QByteArray& json);

// Request addresses. The key goes only to the customer hosts ("customer-…") that take one;
// the free hosts get none, whatever is set. Places are asked for in Chinese, in China, up
// to kPlaceSearchCount of them.
inline constexpr int kPlaceSearchCount = 10;
QUrl PlaceSearchUrl(const QUrl& geocodingService, const QString& city, const QString& key);
QUrl ForecastUrl(const QUrl& forecastService, const MeteoPlace& place, const QString& key);
// The daily means of whole calendar years, from the archive's full address (…/v1/archive).
QUrl ClimateUrl(const QUrl& archiveService, const MeteoPlace& place, int firstYear, int lastYear, const QString& key);

// The service gives up to 16 forecast days; all of them are stored as forecasts.
inline constexpr int kForecastDays = 16;

// The location line: 郑州，河南（北纬34.76°，东经113.65°）.
QString PlaceText(const MeteoPlace& place);

} // namespace stolvar
