#pragma once

#include "model/temperatures/DaySources.h"
#include "model/weather/OpenMeteo.h"
#include "model/weather/WeatherPage.h"

#include <QDate>
#include <QString>
#include <QVector>

#include <array>
#include <optional>

namespace stolvar {

// The place a search found for a city, remembered in Temp.ini until the city changes.
struct RememberedPlace {
    QString city;
    MeteoPlace place;
};

// What the box shows after a forecast answer: the five day values and labels.
struct MeteoView {
    WeatherDays days;
    QString todayLabel;
    std::array<std::optional<QString>, 4> futureLabels;   // nullopt: the answer lacked the day
};
MeteoView ViewMeteoDays(const QVector<MeteoDay>& days, const QDate& today, const WeatherDays& previous);

// The days of an answer to store: the seven past days as observed weather, today and
// the 15 days ahead as forecasts (the box still shows five of them).
QVector<SourcedDay> ServiceDaysToStore(const QVector<MeteoDay>& days, const QDate& today);
DayPlan PlanServiceDayAt(std::optional<DaySource> existing, const SourcedDay& day, const QDate& today);

QString ServiceUnreachableText();   // the service did not answer
QString SeveralPlacesText(const QString& city);   // 找到多个名为“…”的地点，请选择

} // namespace stolvar
