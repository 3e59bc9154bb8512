#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The tests of the layers without widgets run in a QCoreApplication: no platform plugin is
// loaded, so a test that needed one could not pass.
int main(int argc, char* argv[])
{
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    // And the program the tests start keeps the keys of its files there too.
    qputenv("XDG_CACHE_HOME", (config.path() + QStringLiteral("/cache")).toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
