#include "model/logger/LoggerFile.h"
#include "support/LoggerFixtures.h"

#include "core/Gbk.h"
#include "sample/SampleLogger.h"


#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDateTime kStart(QDate(2026, 12, 1), QTime(0, 0));

// Two whole days at 10 minutes: each day 144 readings over 24 hours, mean 10 + 1.15.
struct Shape {
    const char* name;
    QString header;
    QString layout;
    QString timeFormat;
    bool decimalComma;
    const char* encoding;   // "utf8", "bom" or "gbk"
};

QByteArray Encode(const QString& text, const char* encoding)
{
    if (qstrcmp(encoding, "gbk") == 0)
        return EncodeGbk(text);
    const QByteArray utf8 = text.toUtf8();
    return qstrcmp(encoding, "bom") == 0 ? QByteArray("\xEF\xBB\xBF") + utf8 : utf8;
}

TEST(LoggerFile, ReadsEveryCommonShape)
{
    const Shape shapes[] = {
        {"csv, header, serial first", QStringLiteral("No.,Time,Temperature(°C)"), QStringLiteral("%1,%2,%3"),
         QStringLiteral("yyyy-MM-dd HH:mm:ss"), false, "utf8"},
        {"csv, no header", {}, QStringLiteral("%2,%3"), QStringLiteral("yyyy-MM-dd HH:mm:ss"), false, "utf8"},
        {"semicolon, decimal comma, BOM", QStringLiteral("序号;时间;温度℃"), QStringLiteral("%1;%2;%3"),
         QStringLiteral("yyyy/M/d H:mm"), true, "bom"},
        {"tab, GBK header", QStringLiteral("记录时间\t温度(℃)\t湿度(%RH)"), QStringLiteral("%2\t%3\t55,0"),
         QStringLiteral("MM/dd/yyyy HH:mm"), true, "gbk"},
        {"quoted csv with decimal comma", QStringLiteral("\"Serial\",\"Date\",\"Celsius\""),
         QStringLiteral("\"%1\",\"%2\",\"%3\""), QStringLiteral("yyyy-MM-dd HH:mm"), true, "utf8"},
        {"no header, serial first, slashes", {}, QStringLiteral("%1,%2,%3"), QStringLiteral("yyyy/M/d H:mm"),
         false, "utf8"},
        {"header naming no temperature: found by content", QStringLiteral("序号,时间,数值"),
         QStringLiteral("%1,%2,%3"), QStringLiteral("yyyy-MM-dd HH:mm:ss"), false, "utf8"},
    };
    for (const Shape& shape : shapes) {
        QString text = shape.header.isEmpty() ? QString() : shape.header + QStringLiteral("\r\n");
        text += test::LoggerLines(kStart, 288, 600, shape.layout, shape.timeFormat, shape.decimalComma);
        const LoggerFile file = ReadLoggerFile(Encode(text, shape.encoding));
        ASSERT_TRUE(file.error.isEmpty()) << shape.name << ": " << file.error.toStdString();
        ASSERT_EQ(file.days.size(), 2) << shape.name;
        EXPECT_EQ(file.readings, 288) << shape.name;
        EXPECT_EQ(file.skipped, 0) << shape.name;
        const LoggerDay& day = file.days[1];
        EXPECT_EQ(day.day, QDate(2026, 12, 2)) << shape.name;
        EXPECT_EQ(day.readings, 144) << shape.name;
        EXPECT_EQ(day.hours, 24) << shape.name;
        EXPECT_TRUE(day.complete()) << shape.name;
        EXPECT_NEAR(day.mean, 11.15, 1e-9) << shape.name;
        EXPECT_DOUBLE_EQ(day.high, 12.3) << shape.name;
        EXPECT_DOUBLE_EQ(day.low, 10.0) << shape.name;
    }
}

TEST(LoggerFile, ADayWithReadingsInFewerThanTwentyHoursIsIncomplete)
{
    // 19 hours on the first day, 20 on the second.
    QString text = test::LoggerLines(kStart.addSecs(5 * 3600), 19, 3600, QStringLiteral("%2,%3"),
                                     QStringLiteral("yyyy-MM-dd HH:mm"));
    text += test::LoggerLines(kStart.addDays(1).addSecs(4 * 3600), 20, 3600, QStringLiteral("%2,%3"),
                              QStringLiteral("yyyy-MM-dd HH:mm"));
    const LoggerFile file = ReadLoggerFile(text.toUtf8());
    ASSERT_EQ(file.days.size(), 2);
    EXPECT_EQ(file.days[0].hours, 19);
    EXPECT_FALSE(file.days[0].complete());
    EXPECT_EQ(file.days[1].hours, 20);
    EXPECT_TRUE(file.days[1].complete());
}

TEST(LoggerFile, SkipsLinesThatAreNoReadingAndSensorFaultValues)
{
    const QByteArray text = "Time,Temp\n2026-12-01 08:00,5.0\n2026-12-01 09:00,-999\n"
                            "2026-12-01 10:00,\nLogger stopped\n2026-02-30 08:00,4\n2026-12-01 11:00,7.0\n";
    const LoggerFile file = ReadLoggerFile(text);
    ASSERT_EQ(file.days.size(), 1);
    EXPECT_EQ(file.readings, 2);
    EXPECT_EQ(file.skipped, 4);
    EXPECT_DOUBLE_EQ(file.days[0].mean, 6.0);
}

TEST(LoggerFile, RefusesFilesWithoutReadingsWithAClearReason)
{
    struct Case {
        const char* name;
        QByteArray bytes;
        const char* error;
    };
    const Case cases[] = {
        {"empty", "", "文件中没有可读的时间和温度。"},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "文件中没有时间列。"},
        {"header only", "Time,Temperature\n", "文件中没有可读的时间和温度。"},
        {"no temperature column", "Time,Place\n2026-12-01 08:00,site A\n", "文件中没有温度列。"},
        {"dates without time", "2026-12-01,5\n2026-12-02,6\n", "文件中没有时间列。"},
    };
    for (const Case& c : cases) {
        const LoggerFile file = ReadLoggerFile(c.bytes);
        EXPECT_EQ(file.error, QString::fromUtf8(c.error)) << c.name;
        EXPECT_TRUE(file.days.isEmpty()) << c.name;
    }
}

TEST(LoggerFile, ReadsTheThreeTimestampShapes)
{
    struct Case {
        const char* text;
        QDate day;
        int hour;
    };
    const Case good[] = {
        {"2026-12-01 08:00:00", {2026, 12, 1}, 8}, {"2026/12/1 8:00", {2026, 12, 1}, 8},
        {"12/01/2026 08:00", {2026, 12, 1}, 8},    {"2026-12-01T23:59:59", {2026, 12, 1}, 23},
    };
    for (const Case& c : good) {
        QDate day;
        int hour = -1;
        EXPECT_TRUE(ReadLoggerTimestamp(QString::fromLatin1(c.text), &day, &hour)) << c.text;
        EXPECT_EQ(day, c.day) << c.text;
        EXPECT_EQ(hour, c.hour) << c.text;
    }
    for (const char* bad : {"2026-12-01", "24/12/2026 08:00", "2026-12-01 24:00", "2026-12-01 08:60",
                            "12/01/26 08:00", "2026-12-01 08:00 PM", "123456-1-1 1:00"}) {
        QDate day;
        int hour = -1;
        EXPECT_FALSE(ReadLoggerTimestamp(QString::fromLatin1(bad), &day, &hour)) << bad;
    }
}

// A year at 30 s: a million readings.
QByteArray YearAtThirtySeconds()
{
    return SampleLoggerFile(QDate(2026, 1, 1), 1'000'000, 30);
}

// The time of the preview is measured by the benchmark (import_bench) on an optimised
// build; here the million lines must all be read, none lost to a bound.
TEST(LoggerFile, AYearAtThirtySecondsIsReadWhole)
{
    const LoggerFile file = ReadLoggerFile(YearAtThirtySeconds());
    EXPECT_EQ(file.readings, 1'000'000);
    EXPECT_EQ(file.skipped, 0);
    ASSERT_EQ(file.days.size(), 348);   // 1,000,000 × 30 s = 347.2 days
    EXPECT_EQ(file.days[0].readings, 2880);
    EXPECT_TRUE(file.days[0].complete());
    EXPECT_FALSE(file.days.back().complete());
}

} // namespace
} // namespace stolvar
