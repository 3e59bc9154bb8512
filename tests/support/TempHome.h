#pragma once

#include "core/SettingsStore.h"

#include <QDir>
#include <QTemporaryDir>

namespace stolvar::test {

// A fresh program folder per test: Temp.ini, databases and the mail store live here.
class TempHome
{
public:
    TempHome() { dir.setAutoRemove(true); }
    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return QDir(dir.path()).filePath(name); }
    SettingsStore settings() const { return SettingsStore(file(QStringLiteral("Temp.ini"))); }

    QTemporaryDir dir;
};

} // namespace stolvar::test
