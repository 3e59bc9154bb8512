// The files of tests/data/logger, each shaped as one kind of USB logger writes it.
#include "model/logger/LoggerFile.h"
#include "model/logger/LoggerImport.h"

#include <QFile>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

LoggerFile ReadDataFile(const char* name)
{
    QFile file(QStringLiteral(STOLVAR_TEST_DATA "/logger/") + QString::fromLatin1(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return ReadLoggerFile(file);
}

struct ExpectedDay {
    QDate day;
    int readings;
    int hours;
    double mean;
    double high;
    double low;
};

void ExpectDays(const QVector<LoggerDay>& days, std::initializer_list<ExpectedDay> expected, const char* name)
{
    ASSERT_EQ(days.size(), qsizetype(expected.size())) << name;
    qsizetype i = 0;
    for (const ExpectedDay& e : expected) {
        const LoggerDay& d = days[i++];
        EXPECT_EQ(d.day, e.day) << name;
        EXPECT_EQ(d.readings, e.readings) << name << " " << e.day.toString().toStdString();
        EXPECT_EQ(d.hours, e.hours) << name << " " << e.day.toString().toStdString();
        EXPECT_NEAR(d.mean, e.mean, 1e-9) << name << " " << e.day.toString().toStdString();
        EXPECT_NEAR(d.high, e.high, 1e-9) << name;
        EXPECT_NEAR(d.low, e.low, 1e-9) << name;
    }
}

TEST(LoggerShapes, DeviceAndTripLinesAboveTheTable)
{
    const LoggerFile file = ReadDataFile("trip-report.csv");
    ASSERT_EQ(file.error, QString());
    EXPECT_EQ(file.readings, 96);
    EXPECT_EQ(file.skipped, 0) << "the lines above the header are no data lines";
    EXPECT_FALSE(file.fahrenheit);
    ExpectDays(file.days, {{QDate(2026, 12, 1), 48, 24, 9.75, 15.5, 4.0}, {QDate(2026, 12, 2), 48, 24, 9.75, 15.5, 4.0}},
               "trip-report");
}

TEST(LoggerShapes, PlotTitleUsDatesTwelveHourTimesAndFahrenheit)
{
    const LoggerFile file = ReadDataFile("plot-title-fahrenheit.csv");
    ASSERT_EQ(file.error, QString());
    EXPECT_TRUE(file.fahrenheit);
    // 12/13/26 can only be month first: the whole file is read so.
    EXPECT_EQ(file.orders, QVector<DateOrder>{DateOrder::MonthDayYear});
    EXPECT_EQ(file.readings, 49);
    EXPECT_EQ(file.skipped, 1) << "the event line without a temperature";
    ExpectDays(file.days,
               {{QDate(2026, 12, 1), 24, 24, 7.75, 13.5, 2.0},
                {QDate(2026, 12, 2), 24, 24, 7.75, 13.5, 2.0},
                {QDate(2026, 12, 13), 1, 1, 7.0, 7.0, 7.0}},
               "plot-title");
    EXPECT_EQ(file.days[0].hourMask, 0xFFFFFFu) << "12:00:00 AM is midnight, 12:00:00 PM noon";
}

TEST(LoggerShapes, ChineseDatesInAColumnOfTheirOwnInGbk)
{
    const LoggerFile file = ReadDataFile("chinese-date-time.csv");
    ASSERT_EQ(file.error, QString());
    EXPECT_EQ(file.skipped, 0);
    ExpectDays(file.days,
               {{QDate(2026, 12, 1), 24, 24, 7.875, 10.75, 5.0}, {QDate(2026, 12, 2), 24, 24, 7.875, 10.75, 5.0}},
               "chinese-date-time");
}

TEST(LoggerShapes, TimesWithMilliseconds)
{
    const LoggerFile file = ReadDataFile("milliseconds.tsv");
    ASSERT_EQ(file.error, QString());
    ExpectDays(file.days, {{QDate(2026, 12, 3), 48, 24, 6.875, 9.75, 4.0}}, "milliseconds");
}

TEST(LoggerShapes, DayFirstDatesAndTheFourObservationTimes)
{
    const LoggerFile file = ReadDataFile("day-first.csv");
    ASSERT_EQ(file.error, QString());
    EXPECT_EQ(file.orders, QVector<DateOrder>{DateOrder::DayMonthYear}) << "13.12.2026 decides";
    ASSERT_EQ(file.days.size(), 14);
    for (int d = 0; d < 13; ++d) {
        const LoggerDay& day = file.days[d];
        EXPECT_EQ(day.day, QDate(2026, 12, d + 1));
        EXPECT_EQ(day.hours, 4);
        EXPECT_TRUE(day.observationTimes);
        EXPECT_TRUE(day.complete()) << "four readings, one at 02, 08, 14 and 20 o'clock";
        EXPECT_NEAR(day.mean, (d + 1) / 2.0 + 1.1, 1e-9);
    }
    const LoggerDay& last = file.days[13];
    EXPECT_FALSE(last.complete()) << "no reading near 20 o'clock";
    EXPECT_EQ(LoggerDayNote({last, DayPlan::Incomplete, true, false}), QStringLiteral("缺0–1时、3–7时、9–13时、15–23时"));
    EXPECT_EQ(LoggerDayNote({file.days[0], DayPlan::Add, true, true}), QStringLiteral("按2、8、14、20时四次观测平均"));
}

TEST(LoggerShapes, DatesThatReadBothWaysAreLeftToTheClerk)
{
    const LoggerFile file = ReadDataFile("ambiguous.csv");
    ASSERT_EQ(file.error, QString());
    EXPECT_TRUE(file.needsDateOrder());
    EXPECT_EQ(file.orders, (QVector<DateOrder>{DateOrder::MonthDayYear, DateOrder::DayMonthYear}));
    EXPECT_EQ(file.order, DateOrder::MonthDayYear) << "until the clerk chooses";
    const QVector<LoggerDay> dayFirst = LoggerDaysInOrder(file, DateOrder::DayMonthYear);
    ASSERT_EQ(dayFirst.size(), 5);
    EXPECT_EQ(dayFirst.front().day, QDate(2026, 12, 1));
    EXPECT_EQ(dayFirst.back().day, QDate(2026, 12, 5));
    const QVector<LoggerDay> monthFirst = LoggerDaysInOrder(file, DateOrder::MonthDayYear);
    ASSERT_EQ(monthFirst.size(), 5);
    EXPECT_EQ(monthFirst.front().day, QDate(2026, 1, 12));
    EXPECT_EQ(monthFirst.back().day, QDate(2026, 5, 12));
    EXPECT_DOUBLE_EQ(monthFirst.back().mean, 8.0);
}

TEST(LoggerShapes, AUnitNamedAboveTheTable)
{
    const LoggerFile file = ReadDataFile("unit-in-header-lines.txt");
    ASSERT_EQ(file.error, QString());
    EXPECT_TRUE(file.fahrenheit);
    ExpectDays(file.days, {{QDate(2026, 12, 5), 24, 24, 10.75, 16.5, 5.0}}, "unit-in-header-lines");
}

} // namespace
} // namespace stolvar
