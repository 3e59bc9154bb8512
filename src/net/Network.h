#pragma once

#include "core/TaskRunner.h"

#include <QByteArray>
#include <QList>
#include <QNetworkInformation>
#include <QPair>
#include <QString>
#include <QUrl>

#include <optional>

namespace stolvar {

class SettingsStore;

// The outside addresses the program talks to, from Temp.ini "网络配置".
struct NetworkAddresses {
    QUrl weatherService;   // scheme, host and port of the forecast service
    QUrl probe;            // a page that answers whenever the internet is reachable
    QUrl versionPage;      // the version-announcement page
    QUrl meteoService;     // the Open-Meteo forecast service
    QUrl geocodingService; // the Open-Meteo place search
    QString meteoKey;      // a customer key of the commercial Open-Meteo service; "" for the free one
    QUrl climateService;   // the Open-Meteo historical weather service, its full address
};
NetworkAddresses DefaultNetworkAddresses();
NetworkAddresses ReadNetworkAddresses(const SettingsStore& settings);

struct FetchOptions {
    // The largest answer read: a page of the weather service or the version page is a few
    // kilobytes; whatever is larger is no answer of theirs, and is not kept in memory.
    static constexpr qint64 kPageLimit = 2 * 1024 * 1024;

    QByteArray userAgent;
    QList<QPair<QByteArray, QByteArray>> headers;
    bool direct = false;     // connect without any proxy
    int timeoutMs = 10000;   // for the whole request
    StopFlag stop;           // when raised, the request is aborted at once (a failure)
    // When given: the start of the body of an HTTP error answer (a service's reason).
    QByteArray* errorBody = nullptr;
    qint64 maxBytes = kPageLimit;   // a longer answer is aborted as soon as it is known to be
};

enum class FetchStatus { Ok, Failed, TooLarge };

// HTTP GET on the calling thread (a worker thread: it runs a local event loop). Caches
// are bypassed. The body is read as it arrives, up to options.maxBytes; it is empty on a
// failure (no answer in time, an HTTP error status, stopped) and on an answer too large.
FetchStatus Fetch(const QUrl& url, const FetchOptions& options, QByteArray* body);
// The body, or empty on any failure.
QByteArray FetchPage(const QUrl& url, const FetchOptions& options = {});
// Like FetchPage, but tells a successful empty page from a failure.
bool TryFetchPage(const QUrl& url, const FetchOptions& options, QByteArray* body);

// The forecast page request: the city goes as its GBK bytes, percent-encoded, so that
// no character of it ("&", "#", "%", a space) can change the request target. A city
// with a character GBK cannot write gives nullopt: the service could never find it.
std::optional<QUrl> WeatherSearchUrl(const QUrl& service, const QString& city);
FetchOptions WeatherRequestOptions(int timeoutMs = 10000);
QString CityNotEncodableText();

// The operating system's view of the connection. Call on the UI thread: the first call
// loads the platform's backend there. Unknown when the platform has none.
QNetworkInformation::Reachability SystemReachability();
// Online when the system does not deny it and the probe page can be fetched.
bool IsOnline(const QUrl& probe,
              QNetworkInformation::Reachability system = QNetworkInformation::Reachability::Unknown,
              int timeoutMs = 10000, const StopFlag& stop = {});

} // namespace stolvar
