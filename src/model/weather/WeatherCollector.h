#pragma once

#include "model/weather/MeteoCollector.h"
#include "model/weather/WeatherPage.h"
#include "net/Network.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace stolvar {

class Database;

// The source of the automatic temperatures (Temp.ini 网络配置/天气来源).
enum class WeatherSource { ForecastPage, OpenMeteo };

// Everything one collection run needs, taken on the UI thread when the run starts.
struct CollectionInput {
    QString city;
    NetworkAddresses addresses;
    std::shared_ptr<Database> db;   // null: nothing is stored
    QDateTime today;                // midnight of the current day
    WeatherDays previous;           // the per-day values of the earlier runs
    QNetworkInformation::Reachability system = QNetworkInformation::Reachability::Unknown;
    int timeoutMs = 10000;
    StopFlag stop;                  // raised when the program closes: the run ends at once
    WeatherSource source = WeatherSource::ForecastPage;
    std::optional<RememberedPlace> place;   // Open-Meteo: the place found for a city before
    QString climateCity;            // the city whose climate the register holds (Temp.ini)
};

// What a run hands to the UI thread. Optional texts are left as they are when unset.
struct CollectionResult {
    QString city;                   // for 地名编辑框
    bool online = false;
    QString locationText;           // 地区标签
    bool locationRed = false;       // turn 地区标签 red (it stays red)
    std::optional<bool> dayLabelsVisible;
    std::optional<QString> todayLabel;
    std::array<std::optional<QString>, 4> futureLabels;
    WeatherDays days;               // keep for the next run
    QString storeMessage;           // also shown in locationText; "" when all went well
    bool startVersionCheck = false; // the run reached the network
    std::optional<RememberedPlace> placeFound;   // a new place search answered: remember it
    // Several places answer to the city: the clerk picks one, then the run is repeated.
    QVector<PlaceChoice> placeChoices;
    std::optional<QString> climateStoredFor;   // the city whose 30 years were stored this run
};

QString NoNetworkText();
QString MissingYesterdayText();
QString StoreFailedText();
// A weather service's answer larger than its limit (2 MB for the forecast page, 16 MB for
// Open-Meteo): nothing of it is read or stored.
QString AnswerTooLargeText();
// What the location line says when a weather service gave no usable answer.
QString FetchFailedText(FetchStatus status);

// One collection run; for a worker thread (no widgets). Runs are serialised.
CollectionResult CollectWeather(const CollectionInput& input);

// Stores the days the latest run read (today and the four days ahead) that have numeric
// maximum and minimum and a mean other than 0, and that are not in skxx yet; a stored
// day is never overwritten. Nothing is stored unless yesterday is already recorded, so
// the degree-day sums never run over a gap. Returns "" or the message for the user.
QString StoreCollectedDays(Database& db, const QDateTime& today, const WeatherDays& days);

// The run with Open-Meteo, once the network is known to be up: the place (searched once
// per city), the forecast with the past seven days, the box texts, and the days stored
// by their source; then, when due, the place's 30 years of climate (see ClimateNeedsFetch).
// Any failure leaves the database as it was and says why.
void CollectFromOpenMeteo(CollectionResult& result, const CollectionInput& input);

} // namespace stolvar
