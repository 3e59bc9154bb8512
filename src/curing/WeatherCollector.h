#pragma once

#include "net/Network.h"
#include "curing/WeatherPage.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <memory>
#include <optional>

namespace stolvar {

class Database;

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
};

QString NoNetworkText();
QString MissingYesterdayText();
QString StoreFailedText();

// One collection run; for a worker thread (no widgets). Runs are serialised.
CollectionResult CollectWeather(const CollectionInput& input);

// Stores the days the latest run read (today and the four days ahead) that have numeric
// maximum and minimum and a mean other than 0, and that are not in skxx yet; a stored
// day is never overwritten. Nothing is stored unless yesterday is already recorded, so
// the degree-day sums never run over a gap. Returns "" or the message for the user.
QString StoreCollectedDays(Database& db, const QDateTime& today, const WeatherDays& days);

} // namespace stolvar
