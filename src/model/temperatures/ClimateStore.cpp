#include "model/temperatures/ClimateStore.h"

#include "db/Database.h"
#include "db/Schema.h"

#include <QHash>

#include <cmath>
#include <limits>
#include <mutex>

namespace stolvar {

namespace {

const char* const kCreateClimate = "CREATE TABLE IF NOT EXISTS qhsj (日期 TEXT PRIMARY KEY, 平均温度 REAL)";

bool HasClimateTable(const Database& db)
{
    return HasTable(db, QStringLiteral("qhsj"));
}

struct ClimateCache {
    std::mutex mutex;
    QHash<QString, std::shared_ptr<const Climate>> byRegister;
};

ClimateCache& Cache()
{
    static ClimateCache cache;
    return cache;
}

QString StoreFailed(const QString& error)
{
    return QStringLiteral("气候数据保存失败：") + error;
}

} // namespace

std::optional<float> Climate::meanOn(const QDate& day) const
{
    const qint64 at = first.daysTo(day);
    if (!first.isValid() || at < 0 || at >= means.size() || std::isnan(means[at]))
        return std::nullopt;
    return means[at];
}

QString StoreClimate(Database& db, const QVector<ClimateDay>& days)
{
    QString error;
    {
        Transaction tx(db);
        if (!tx.ok())
            return StoreFailed(db.lastError());
        if (!db.execute(QString::fromUtf8(kCreateClimate), &error)
            || !db.execute(QStringLiteral("DELETE FROM qhsj"), &error))
            return StoreFailed(error);
        for (const ClimateDay& day : days) {
            Statement st(db, QStringLiteral("INSERT OR REPLACE INTO qhsj (日期, 平均温度) VALUES (?, ?)"));
            st.bindAll(day.day.toString(Qt::ISODate), day.mean);
            if (!st.run())
                return StoreFailed(st.error());
        }
        if (!tx.commit())
            return StoreFailed(db.lastError());
    }
    ForgetClimate(db.path());
    return {};
}

Climate ReadClimate(const Database& db, QString* error)
{
    Climate climate;
    if (!HasClimateTable(db))
        return climate;
    Statement st(db, QStringLiteral("SELECT 日期, 平均温度 FROM qhsj WHERE 平均温度 IS NOT NULL ORDER BY 日期"));
    while (st.next()) {
        const QDate day = QDate::fromString(st.text(0), Qt::ISODate);
        if (!day.isValid())
            continue;
        if (!climate.first.isValid())
            climate.first = day;
        const qint64 at = climate.first.daysTo(day);
        if (at >= climate.means.size())
            climate.means.resize(at + 1, std::numeric_limits<float>::quiet_NaN());
        climate.means[at] = float(st.real(1));
    }
    if (!st.ok()) {
        if (error)
            *error = st.error();
        return {};
    }
    return climate;
}

std::optional<int> NewestClimateYear(const Database& db)
{
    if (!HasClimateTable(db))
        return std::nullopt;
    Statement st(db, QStringLiteral("SELECT max(日期) FROM qhsj"));
    const QDate newest = st.next() ? QDate::fromString(st.text(0), Qt::ISODate) : QDate();
    return newest.isValid() ? std::optional<int>(newest.year()) : std::nullopt;
}

std::shared_ptr<const Climate> CachedClimate(const Database& db)
{
    ClimateCache& cache = Cache();
    {
        const std::lock_guard guard(cache.mutex);
        if (const auto found = cache.byRegister.constFind(db.path()); found != cache.byRegister.cend())
            return *found;
    }
    QString error;
    auto climate = std::make_shared<const Climate>(ReadClimate(db, &error));
    if (!error.isEmpty())
        return climate;   // not kept: the next query tries again
    const std::lock_guard guard(cache.mutex);
    cache.byRegister.insert(db.path(), climate);
    return climate;
}

void ForgetClimate(const QString& path)
{
    ClimateCache& cache = Cache();
    const std::lock_guard guard(cache.mutex);
    cache.byRegister.remove(path);
}

YearSpan ClimateYearsFor(const QDate& today)
{
    return {today.year() - kClimateYears, today.year() - 1};
}

bool ClimateNeedsFetch(std::optional<int> newestYear, bool sameCity, const QDate& today)
{
    return !newestYear || !sameCity || today.year() - *newestYear > 1;
}

} // namespace stolvar
