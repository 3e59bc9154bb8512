#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace stolvar::test {

// A forecast page of tests/data/weather (GBK bytes).
inline QByteArray WeatherFixture(const char* name = "full.html")
{
    QFile file(QStringLiteral(STOLVAR_TEST_DATA "/weather/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

} // namespace stolvar::test
