#include "net/Network.h"

#include "core/Gbk.h"
#include "core/SettingsStore.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace stolvar {

namespace {

using Reachability = QNetworkInformation::Reachability;

QUrl ReadAddress(const SettingsStore& settings, const keys::Key& key, const QUrl& fallback)
{
    const QString text = settings.read(key).trimmed();
    const QUrl url(text, QUrl::StrictMode);
    return text.isEmpty() || !url.isValid() ? fallback : url;
}

QNetworkRequest MakeRequest(const QUrl& url, const FetchOptions& options)
{
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    if (!options.userAgent.isEmpty())
        request.setHeader(QNetworkRequest::UserAgentHeader, options.userAgent);
    for (const auto& [name, value] : options.headers)
        request.setRawHeader(name, value);
    return request;
}

// An error answer says why in a line or two: no more of it is kept.
constexpr qint64 kErrorBodyBytes = 4096;

// How often a waiting request looks at its stop flag.
constexpr int kStopPollMs = 20;

bool IsRaised(const StopFlag& stop)
{
    return stop && stop->load();
}

// Waits for the reply in a local event loop; false when the time ran out or the stop
// flag was raised.
bool WaitForReply(QNetworkReply* reply, int timeoutMs, const StopFlag& stop)
{
    if (reply->isFinished())
        return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer stopWatch;
    if (stop) {
        QObject::connect(&stopWatch, &QTimer::timeout, &loop, [&loop, &stop] {
            if (IsRaised(stop))
                loop.quit();
        });
        stopWatch.start(kStopPollMs);
    }
    deadline.start(timeoutMs);
    if (!IsRaised(stop))
        loop.exec();
    return reply->isFinished();
}

} // namespace

NetworkAddresses DefaultNetworkAddresses()
{
    return {QUrl(QStringLiteral("http://127.0.0.1:8080")), QUrl(QStringLiteral("http://127.0.0.1:8080/")),
            QUrl(QStringLiteral("http://127.0.0.1:8080/version.html")), QUrl(QStringLiteral("https://api.open-meteo.com")),
            QUrl(QStringLiteral("https://geocoding-api.open-meteo.com")), {},
            QUrl(QStringLiteral("https://archive-api.open-meteo.com/v1/archive"))};
}

NetworkAddresses ReadNetworkAddresses(const SettingsStore& settings)
{
    const NetworkAddresses defaults = DefaultNetworkAddresses();
    return {ReadAddress(settings, keys::kWeatherService, defaults.weatherService),
            ReadAddress(settings, keys::kProbeAddress, defaults.probe),
            ReadAddress(settings, keys::kVersionPage, defaults.versionPage),
            ReadAddress(settings, keys::kMeteoService, defaults.meteoService),
            ReadAddress(settings, keys::kGeocodingService, defaults.geocodingService),
            settings.read(keys::kMeteoKey).trimmed(),
            ReadAddress(settings, keys::kClimateService, defaults.climateService)};
}

namespace {

// Takes what has arrived; aborts the reply once the answer is longer than allowed.
class BoundedBody
{
public:
    BoundedBody(QNetworkReply* reply, qint64 maxBytes, QByteArray* body)
        : m_reply(reply), m_maxBytes(maxBytes), m_body(body)
    {
        QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [this] { checkLength(); });
        QObject::connect(reply, &QNetworkReply::readyRead, reply, [this] { take(); });
    }
    void take()
    {
        if (m_tooLarge)
            return;
        m_body->append(m_reply->read(m_maxBytes + 1 - m_body->size()));
        if (m_body->size() > m_maxBytes)
            refuse();
    }
    bool tooLarge() const { return m_tooLarge; }

private:
    // An announced length says it before a byte of the body is read.
    void checkLength()
    {
        const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > m_maxBytes)
            refuse();
    }
    void refuse()
    {
        m_tooLarge = true;
        m_body->clear();
        m_reply->abort();
    }

    QNetworkReply* m_reply;
    qint64 m_maxBytes;
    QByteArray* m_body;
    bool m_tooLarge = false;
};

} // namespace

FetchStatus Fetch(const QUrl& url, const FetchOptions& options, QByteArray* body)
{
    body->clear();
    QNetworkAccessManager manager;   // owns the reply
    if (options.direct)
        manager.setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
    if (IsRaised(options.stop))
        return FetchStatus::Failed;
    QNetworkReply* reply = manager.get(MakeRequest(url, options));
    BoundedBody bounded(reply, options.maxBytes, body);
    const bool finished = WaitForReply(reply, options.timeoutMs, options.stop);
    if (finished && !bounded.tooLarge() && reply->error() == QNetworkReply::NoError)
        bounded.take();
    if (bounded.tooLarge())
        return FetchStatus::TooLarge;
    if (!finished || reply->error() != QNetworkReply::NoError) {
        // A service's reason for an error answer: the start of what arrived with it.
        if (finished && options.errorBody)
            *options.errorBody = (body->left(kErrorBodyBytes) + reply->read(kErrorBodyBytes)).left(kErrorBodyBytes);
        reply->abort();
        body->clear();
        return FetchStatus::Failed;
    }
    return FetchStatus::Ok;
}

bool TryFetchPage(const QUrl& url, const FetchOptions& options, QByteArray* body)
{
    return Fetch(url, options, body) == FetchStatus::Ok;
}

QByteArray FetchPage(const QUrl& url, const FetchOptions& options)
{
    QByteArray body;
    TryFetchPage(url, options, &body);
    return body;
}

std::optional<QUrl> WeatherSearchUrl(const QUrl& service, const QString& city)
{
    bool complete = false;
    const QByteArray gbkCity = EncodeGbk(city, &complete);
    if (!complete)
        return std::nullopt;
    const QByteArray target = service.toEncoded(QUrl::StripTrailingSlash)
        + "/search.php?f=1&c=1&city=" + gbkCity.toPercentEncoding() + "&dpc=1";
    return QUrl::fromEncoded(target, QUrl::StrictMode);
}

FetchOptions WeatherRequestOptions(int timeoutMs)
{
    FetchOptions options;
    options.userAgent = "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0)";
    options.headers = {{"Accept", "*/*"}};
    options.direct = true;
    options.timeoutMs = timeoutMs;
    return options;
}

QString CityNotEncodableText()
{
    return QStringLiteral("地名含有无法识别的字符，请检查后重新输入。");
}

Reachability SystemReachability()
{
    static const bool loaded = QNetworkInformation::loadDefaultBackend();
    const QNetworkInformation* info = QNetworkInformation::instance();
    return loaded && info ? info->reachability() : Reachability::Unknown;
}

bool IsOnline(const QUrl& probe, Reachability system, int timeoutMs, const StopFlag& stop)
{
    if (system == Reachability::Disconnected || system == Reachability::Local
        || system == Reachability::Site)
        return false;
    FetchOptions options;
    options.userAgent = "test";
    options.timeoutMs = timeoutMs;
    options.stop = stop;
    QByteArray body;
    return TryFetchPage(probe, options, &body);
}

} // namespace stolvar
