#include <QApplication>
#include <QStandardPaths>

#include <gtest/gtest.h>

// Every test executable runs inside a QApplication on the offscreen platform, so
// widget tests and queued hand-overs to the UI thread work without a display.
int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
