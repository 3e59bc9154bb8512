#pragma once

#include "core/TaskRunner.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace stolvar {

// The outcome of comparing the program's title with the announced release.
// Nothing to show (silent) when the page announced nothing.
struct VersionOutcome {
    QString statusText;   // status bar part 5; "" leaves it alone
    bool showBox = false;
    QString boxText;

    bool silent() const { return statusText.isEmpty() && !showBox; }
};

// The announcement page says "最新版本号：" + the full title of the latest release +
// "</p>"; the first such line counts. "" when the page holds none or is not UTF-8.
QString ReadAnnouncedVersion(const QByteArray& utf8Page);

// The whole title is the version identity: "Stolvar2.6" and "2.6" both differ from
// "Stolvar2.5". An empty announcement (page missing or unreadable) says nothing.
VersionOutcome CompareVersion(const QString& title, const QString& announced);

inline constexpr int kVersionPageTimeoutMs = 10000;
// Fetches the page and compares; for a worker thread. A raised stop flag aborts the fetch.
VersionOutcome CheckLatestVersion(const QUrl& versionPage, const QString& title,
                                  int timeoutMs = kVersionPageTimeoutMs, const StopFlag& stop = {});

} // namespace stolvar
