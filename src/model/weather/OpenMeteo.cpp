#include "model/weather/OpenMeteo.h"

#include "model/temperatures/PlausibleTemperature.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace stolvar {

namespace {

QString BrokenAnswerText(const QString& what)
{
    return QStringLiteral("天气服务的回答无法读取：") + what;
}

std::optional<QJsonObject> ParseObject(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    return doc.object();
}

bool IsCoordinate(const QJsonValue& value, double limit)
{
    return value.isDouble() && std::isfinite(value.toDouble()) && std::fabs(value.toDouble()) <= limit;
}

// A temperature: null (not given), a plausible number, or broken (refuses the answer).
enum class Reading { Missing, Value, Broken };
Reading ReadTemperature(const QJsonValue& value, double* out)
{
    if (value.isNull())
        return Reading::Missing;
    if (!value.isDouble())
        return Reading::Broken;
    *out = value.toDouble();
    return IsPlausibleTemperature(*out) ? Reading::Value : Reading::Broken;
}

// The arrays a forecast answer must have, all of one section the same length.
struct Section {
    QJsonArray time;
    QJsonArray first;
    QJsonArray second;   // empty for the hourly section
};

QString ReadSection(const QJsonObject& root, const QString& name, const QStringList& arrays, Section* out)
{
    const QJsonValue section = root.value(name);
    if (!section.isObject())
        return BrokenAnswerText(QStringLiteral("缺少") + name);
    QVector<QJsonArray> found;
    for (const QString& key : QStringList{QStringLiteral("time")} + arrays) {
        const QJsonValue value = section.toObject().value(key);
        if (!value.isArray())
            return BrokenAnswerText(QStringLiteral("缺少") + name + QLatin1Char('.') + key);
        found.append(value.toArray());
        if (found.back().size() != found.front().size())
            return BrokenAnswerText(name + QStringLiteral("的数组长度不一致"));
    }
    out->time = found.value(0);
    out->first = found.value(1);
    out->second = found.value(2);
    return {};
}

// Hourly sums per day: the count of given values and their sum.
struct HourSum {
    int count = 0;
    int missing = 0;
    double sum = 0;
};

// "2026-03-29T02:00" in the answer's own offset from UTC: a local hour of this computer's
// zone that does not exist (a spring clock change) is still an hour of the place.
QDate HourDay(const QString& text, int utcOffsetSeconds)
{
    const QDate date = QDate::fromString(text.left(10), Qt::ISODate);
    const QTime time = QTime::fromString(text.mid(11), Qt::ISODate);
    if (text.size() < 16 || text[10] != u'T' || !date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::OffsetFromUTC, utcOffsetSeconds).date();
}

QString SumHours(const Section& hourly, int utcOffsetSeconds, QHash<QDate, HourSum>* sums)
{
    for (qsizetype i = 0; i < hourly.time.size(); ++i) {
        const QDate date = HourDay(hourly.time.at(i).toString(), utcOffsetSeconds);
        if (!date.isValid())
            return BrokenAnswerText(QStringLiteral("时间不是有效的日期"));
        double value = 0;
        HourSum& day = (*sums)[date];
        switch (ReadTemperature(hourly.first.at(i), &value)) {
        case Reading::Broken:
            return BrokenAnswerText(QStringLiteral("温度值无效"));
        case Reading::Missing:
            ++day.missing;
            break;
        case Reading::Value:
            ++day.count;
            day.sum += value;
            break;
        }
    }
    return {};
}

// A daily row; Missing when it has a null extreme, so that the day is left out.
Reading ReadDailyRow(const Section& daily, qsizetype i, const QHash<QDate, HourSum>& sums, MeteoDay* day)
{
    day->day = QDate::fromString(daily.time.at(i).toString(), Qt::ISODate);
    if (!day->day.isValid())
        return Reading::Broken;
    const Reading high = ReadTemperature(daily.first.at(i), &day->high);
    const Reading low = ReadTemperature(daily.second.at(i), &day->low);
    if (high == Reading::Broken || low == Reading::Broken || (high == Reading::Value && low == Reading::Value && day->low > day->high))
        return Reading::Broken;
    const HourSum hours = sums.value(day->day);
    if (high == Reading::Missing || low == Reading::Missing || hours.missing > 0 || hours.count != 24)
        return Reading::Missing;
    day->mean = hours.sum / 24.0;
    return Reading::Value;
}

// Every value is percent-encoded as UTF-8, so no character of a city or key ("&", "#",
// "%", a space) can change the request; the service's own lists keep their commas.
QUrl ServiceUrl(const QUrl& service, const QString& path, QList<QPair<QString, QString>> items,
                const QString& key)
{
    if (!key.isEmpty() && service.host().startsWith(QStringLiteral("customer-"), Qt::CaseInsensitive))
        items.append({QStringLiteral("apikey"), key});
    QStringList parts;
    for (const auto& [name, value] : items)
        parts << name + QLatin1Char('=') + QString::fromLatin1(QUrl::toPercentEncoding(value, ","));
    QUrl url = service;
    QString prefix = url.path();   // a service behind a path of its own keeps it
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    url.setPath(prefix + path);
    url.setQuery(parts.join(QLatin1Char('&')), QUrl::StrictMode);
    return url;
}

// One result of a place search; none when its coordinates are no coordinates.
std::optional<PlaceChoice> ReadPlace(const QJsonObject& result)
{
    const QJsonValue latitude = result.value(QStringLiteral("latitude"));
    const QJsonValue longitude = result.value(QStringLiteral("longitude"));
    if (!IsCoordinate(latitude, 90) || !IsCoordinate(longitude, 180))
        return std::nullopt;
    MeteoPlace place;
    place.name = result.value(QStringLiteral("name")).toString();
    place.province = result.value(QStringLiteral("admin1")).toString();
    place.latitude = latitude.toDouble();
    place.longitude = longitude.toDouble();
    place.timezone = result.value(QStringLiteral("timezone")).toString(QStringLiteral("auto"));
    return PlaceChoice{place, result.value(QStringLiteral("admin3")).toString(result.value(QStringLiteral("admin2")).toString())};
}

} // namespace

PlaceAnswer ReadPlaceAnswer(const QByteArray& json)
{
    const std::optional<QJsonObject> root = ParseObject(json);
    if (!root)
        return {std::nullopt, {}, BrokenAnswerText(QStringLiteral("不是有效的JSON"))};
    // An unknown name gives an answer without "results".
    const QJsonValue results = root->value(QStringLiteral("results"));
    if (results.isUndefined() || (results.isArray() && results.toArray().isEmpty()))
        return {};
    if (!results.isArray() || !results.toArray().first().isObject())
        return {std::nullopt, {}, BrokenAnswerText(QStringLiteral("results无效"))};
    const std::optional<PlaceChoice> first = ReadPlace(results.toArray().first().toObject());
    if (!first)
        return {std::nullopt, {}, BrokenAnswerText(QStringLiteral("坐标无效"))};
    PlaceAnswer answer{first->place, {*first}, {}};
    const QJsonArray all = results.toArray();
    for (qsizetype i = 1; i < all.size() && answer.places.size() < kPlaceSearchCount; ++i) {
        if (const auto other = ReadPlace(all.at(i).toObject()))
            answer.places.append(*other);
    }
    return answer;
}

QString ReadServiceReason(const QByteArray& json)
{
    const std::optional<QJsonObject> root = ParseObject(json);
    return root ? root->value(QStringLiteral("reason")).toString().left(300) : QString();
}

QString ServiceRefusedText(const QString& reason)
{
    return QStringLiteral("天气服务拒绝了请求：") + reason;
}

ForecastAnswer ReadForecastAnswer(const QByteArray& json)
{
    const std::optional<QJsonObject> root = ParseObject(json);
    if (!root)
        return {{}, BrokenAnswerText(QStringLiteral("不是有效的JSON"))};
    Section hourly;
    Section daily;
    QString error = ReadSection(*root, QStringLiteral("hourly"), {QStringLiteral("temperature_2m")}, &hourly);
    if (error.isEmpty())
        error = ReadSection(*root, QStringLiteral("daily"),
                            {QStringLiteral("temperature_2m_max"), QStringLiteral("temperature_2m_min")}, &daily);
    QHash<QDate, HourSum> sums;
    const int offset = root->value(QStringLiteral("utc_offset_seconds")).toInt(0);
    if (error.isEmpty())
        error = SumHours(hourly, offset, &sums);
    if (!error.isEmpty())
        return {{}, error};
    ForecastAnswer answer;
    for (qsizetype i = 0; i < daily.time.size(); ++i) {
        MeteoDay day;
        const Reading row = ReadDailyRow(daily, i, sums, &day);
        if (row == Reading::Broken)
            return {{}, BrokenAnswerText(QStringLiteral("每日数据无效"))};
        if (row == Reading::Value && (answer.days.isEmpty() || answer.days.back().day < day.day))
            answer.days.append(day);
    }
    return answer;
}

ClimateAnswer ReadClimateAnswer(const QByteArray& json)
{
    const std::optional<QJsonObject> root = ParseObject(json);
    if (!root)
        return {{}, BrokenAnswerText(QStringLiteral("不是有效的JSON"))};
    Section daily;
    if (const QString error = ReadSection(*root, QStringLiteral("daily"), {QStringLiteral("temperature_2m_mean")}, &daily);
        !error.isEmpty())
        return {{}, error};
    ClimateAnswer answer;
    answer.days.reserve(daily.time.size());
    for (qsizetype i = 0; i < daily.time.size(); ++i) {
        ClimateDay day{QDate::fromString(daily.time.at(i).toString(), Qt::ISODate)};
        const Reading mean = ReadTemperature(daily.first.at(i), &day.mean);
        if (!day.day.isValid() || mean == Reading::Broken
            || (!answer.days.isEmpty() && answer.days.back().day >= day.day))
            return {{}, BrokenAnswerText(QStringLiteral("每日数据无效"))};
        if (mean == Reading::Value)
            answer.days.append(day);
    }
    return answer;
}

QUrl PlaceSearchUrl(const QUrl& geocodingService, const QString& city, const QString& key)
{
    return ServiceUrl(geocodingService, QStringLiteral("/v1/search"),
                      {{QStringLiteral("name"), city},
                       {QStringLiteral("count"), QString::number(kPlaceSearchCount)},
                       {QStringLiteral("language"), QStringLiteral("zh")},
                       {QStringLiteral("countryCode"), QStringLiteral("CN")},
                       {QStringLiteral("format"), QStringLiteral("json")}},
                      key);
}

QUrl ForecastUrl(const QUrl& forecastService, const MeteoPlace& place, const QString& key)
{
    return ServiceUrl(forecastService, QStringLiteral("/v1/forecast"),
                      {{QStringLiteral("latitude"), QString::number(place.latitude, 'f', 4)},
                       {QStringLiteral("longitude"), QString::number(place.longitude, 'f', 4)},
                       {QStringLiteral("hourly"), QStringLiteral("temperature_2m")},
                       {QStringLiteral("daily"), QStringLiteral("temperature_2m_max,temperature_2m_min")},
                       {QStringLiteral("timezone"), place.timezone},
                       {QStringLiteral("past_days"), QStringLiteral("7")},
                       {QStringLiteral("forecast_days"), QString::number(kForecastDays)}},
                      key);
}

QUrl ClimateUrl(const QUrl& archiveService, const MeteoPlace& place, int firstYear, int lastYear, const QString& key)
{
    return ServiceUrl(archiveService, QString(),
                      {{QStringLiteral("latitude"), QString::number(place.latitude, 'f', 4)},
                       {QStringLiteral("longitude"), QString::number(place.longitude, 'f', 4)},
                       {QStringLiteral("start_date"), QDate(firstYear, 1, 1).toString(Qt::ISODate)},
                       {QStringLiteral("end_date"), QDate(lastYear, 12, 31).toString(Qt::ISODate)},
                       {QStringLiteral("daily"), QStringLiteral("temperature_2m_mean")},
                       {QStringLiteral("timezone"), place.timezone}},
                      key);
}

QString PlaceText(const MeteoPlace& place)
{
    const auto degrees = [](double value) { return QString::number(std::fabs(value), 'f', 2) + QStringLiteral("°"); };
    QString text = place.name;
    if (!place.province.isEmpty() && place.province != place.name)
        text += QStringLiteral("，") + place.province;
    return text + QStringLiteral("（") + (place.latitude < 0 ? QStringLiteral("南纬") : QStringLiteral("北纬"))
        + degrees(place.latitude) + QStringLiteral("，")
        + (place.longitude < 0 ? QStringLiteral("西经") : QStringLiteral("东经")) + degrees(place.longitude)
        + QStringLiteral("）");
}

} // namespace stolvar
