#include "model/weather/WeatherCollector.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "model/temperatures/TemperatureStore.h"

#include <cmath>
#include <mutex>

namespace stolvar {

namespace {

bool IsNumberText(const QString& text)
{
    double value = 0;
    return ReadTemperatureText(text, &value);
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
                              ParseNumberText(values.low), TemperatureSource::Forecast)
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
    FetchOptions options = WeatherRequestOptions(input.timeoutMs);
    options.stop = input.stop;
    QByteArray page;
    const FetchStatus fetched = Fetch(*url, options, &page);
    if (input.stop && *input.stop)
        return;   // the program is closing: nothing is read or stored
    // Only a page that arrived and names no city is an unknown city; no answer is no answer.
    if (fetched != FetchStatus::Ok) {
        result.locationText = result.storeMessage = FetchFailedText(fetched);
        return;
    }
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

QString AnswerTooLargeText()
{
    return QStringLiteral("天气服务的回答过大");
}

QString FetchFailedText(FetchStatus status)
{
    return status == FetchStatus::TooLarge ? AnswerTooLargeText() : ServiceUnreachableText();
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
    const int yesterday = TemperatureRowsOn(db, first.addDays(-1));
    if (yesterday <= 0)
        return yesterday == 0 ? MissingYesterdayText() : StoreFailedText();
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
    result.online = IsOnline(input.addresses.probe, input.system, input.timeoutMs, input.stop);
    if (!result.online) {
        result.locationText = NoNetworkText();
        return result;
    }
    result.startVersionCheck = true;
    if (input.source == WeatherSource::OpenMeteo)
        CollectFromOpenMeteo(result, input);
    else
        ReadAndStore(result, input);
    return result;
}

} // namespace stolvar
