#include "curing/WeatherCollector.h"

#include "app/Conversions.h"
#include "db/Database.h"

#include <cmath>
#include <mutex>

namespace stolvar {

namespace {

enum class DayLookup { Found, Missing, Failed };
enum class InsertOutcome { Inserted, AlreadyThere, Failed };

QString DayKey(const QDate& day)
{
    return ToStorageText(WallTime(day));
}

DayLookup LookUpDay(Database& db, const QDate& day)
{
    Statement st(db, QStringLiteral("SELECT id FROM skxx WHERE 养护记录=?"));
    st.bindAll(DayKey(day));
    if (st.next())
        return DayLookup::Found;
    return st.ok() ? DayLookup::Missing : DayLookup::Failed;
}

// The duplicate check and the insert share one transaction, so two runs can never
// both find the day missing and store it twice.
InsertOutcome InsertDayIfMissing(Database& db, const QDate& day, double mean, double high, double low)
{
    Transaction tx(db);
    if (!tx.ok())
        return InsertOutcome::Failed;
    const DayLookup lookup = LookUpDay(db, day);
    if (lookup != DayLookup::Missing)
        return lookup == DayLookup::Found ? InsertOutcome::AlreadyThere : InsertOutcome::Failed;
    Statement insert(db, QStringLiteral(
        "INSERT INTO skxx(养护记录,温度记录,最高温度,最低温度) VALUES (?,?,?,?)"));
    insert.bindAll(DayKey(day), mean, high, low);
    if (!insert.run())
        return InsertOutcome::Failed;
    return tx.commit() ? InsertOutcome::Inserted : InsertOutcome::Failed;
}

bool IsNumberText(const QString& text)
{
    bool ok = false;
    const double value = FoldFullWidth(text).trimmed().toDouble(&ok);
    return ok && std::isfinite(value);
}

// A mean of 0 is what a day never read holds, so it is not trusted as a reading.
bool IsStorable(const DayValues& day)
{
    return day.readThisRun && IsNumberText(day.high) && IsNumberText(day.low)
        && std::fabs(day.mean) > 1e-7;
}

bool StoreDay(Database& db, const QDate& day, const DayValues& values)
{
    return InsertDayIfMissing(db, day, double(values.mean), ParseNumberText(values.high),
                              ParseNumberText(values.low))
        != InsertOutcome::Failed;
}

void TakeView(CollectionResult& result, const WeatherView& view)
{
    result.days = view.days;
    result.locationText = view.locationText;
    result.locationRed = !view.cityFound;
    result.dayLabelsVisible = view.cityFound;
    result.todayLabel = view.todayLabel;
    result.futureLabels = view.futureLabels;
}

// A city GBK cannot write is refused before any request: the service could not know it.
void ReadAndStore(CollectionResult& result, const CollectionInput& input)
{
    const std::optional<QUrl> url = WeatherSearchUrl(input.addresses.weatherService, input.city);
    if (!url) {
        result.locationText = CityNotEncodableText();
        result.locationRed = true;
        return;
    }
    const QByteArray page = FetchPage(*url, WeatherRequestOptions(input.timeoutMs));
    const WeatherView view = ApplyWeatherReading(ReadWeatherPage(page), input.previous);
    TakeView(result, view);
    if (view.cityFound && input.db)
        result.storeMessage = StoreCollectedDays(*input.db, input.today, view.days);
    if (!result.storeMessage.isEmpty())
        result.locationText = result.storeMessage;
}

} // namespace

QString NoNetworkText()
{
    return QStringLiteral("无网络连接，请检查网络！");
}

QString MissingYesterdayText()
{
    return QStringLiteral("请先将今天之前的温度记录手动添加完整，否则将无法进行温度采集。");
}

QString StoreFailedText()
{
    return QStringLiteral("采集的温度未能保存，请检查数据库文件。");
}

QString StoreCollectedDays(Database& db, const QDateTime& today, const WeatherDays& days)
{
    static std::mutex storing;   // one storing step at a time, whatever the connection
    const std::lock_guard guard(storing);
    const QDate first = today.date();
    const DayLookup yesterday = LookUpDay(db, first.addDays(-1));
    if (yesterday != DayLookup::Found)
        return yesterday == DayLookup::Missing ? MissingYesterdayText() : StoreFailedText();
    for (size_t k = 0; k < days.size(); ++k) {
        if (IsStorable(days[k]) && !StoreDay(db, first.addDays(qint64(k)), days[k]))
            return StoreFailedText();
    }
    return {};
}

CollectionResult CollectWeather(const CollectionInput& input)
{
    static std::mutex runs;   // overlapping runs queue up instead of interleaving
    const std::lock_guard guard(runs);
    CollectionResult result;
    result.city = input.city;
    result.days = input.previous;
    result.online = IsOnline(input.addresses.probe, input.system, input.timeoutMs);
    if (!result.online) {
        result.locationText = NoNetworkText();
        return result;
    }
    result.startVersionCheck = true;
    ReadAndStore(result, input);
    return result;
}

} // namespace stolvar
