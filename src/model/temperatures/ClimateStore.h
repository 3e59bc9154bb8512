#pragma once

#include <QDate>
#include <QString>
#include <QVector>

#include <memory>
#include <optional>

namespace stolvar {

class Database;

// The daily mean temperatures of past years at the site's place (a reanalysis grid cell),
// kept in the register's table qhsj. The projection of same-condition days reads how those
// years went on from the same calendar day.
struct Climate {
    QDate first;            // the first day of `means`
    QVector<float> means;   // one a day from `first` on; NaN where the year lacks the day
    std::optional<float> meanOn(const QDate& day) const;
    bool isEmpty() const { return means.isEmpty(); }
    QDate last() const { return first.addDays(means.size() - 1); }
    int firstYear() const { return first.year(); }
    int lastYear() const { return last().year(); }
};

struct ClimateDay {
    QDate day;
    double mean = 0;
};

// Writes the days as the register's climate in one transaction, replacing what was stored
// (qhsj is created when first needed). Returns "" or the message for the clerk; on a failure
// the climate stored before stays.
QString StoreClimate(Database& db, const QVector<ClimateDay>& days);
// The stored climate; empty when the register has none (or it cannot be read: the
// projection then works without it, and `error` says why).
Climate ReadClimate(const Database& db, QString* error = nullptr);
// The year of the newest stored day; none without a climate.
std::optional<int> NewestClimateYear(const Database& db);

// The register's climate, read once and kept until StoreClimate writes it anew. Shared by
// every projection, worklist and curve of that register; any thread.
std::shared_ptr<const Climate> CachedClimate(const Database& db);
// Drops the copy kept for the register at `path` (a file replaced by a restored backup).
void ForgetClimate(const QString& path);

// The 30 full calendar years before today's.
inline constexpr int kClimateYears = 30;
struct YearSpan {
    int first = 0;
    int last = 0;
};
YearSpan ClimateYearsFor(const QDate& today);
// A climate is fetched when none is stored, when it was stored for another city, or when its
// newest year is more than a year old (each January brings the year just ended).
bool ClimateNeedsFetch(std::optional<int> newestYear, bool sameCity, const QDate& today);

} // namespace stolvar
