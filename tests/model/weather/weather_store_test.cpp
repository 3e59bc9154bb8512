#include "model/weather/WeatherCollector.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QtConcurrent/QtConcurrentRun>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kToday(2024, 5, 10);

struct StoredDay {
    QString day;
    double mean, high, low;
};

class WeatherStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }

    void addDay(const QDate& day, double mean)
    {
        Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录,温度记录,最高温度,最低温度) VALUES (?,?,?,?)"));
        ASSERT_TRUE(st.bindAll(ToStorageText(WallTime(day)), mean, mean, mean).run());
    }

    QList<StoredDay> stored() const
    {
        Statement st(*db, QStringLiteral("SELECT 养护记录,温度记录,最高温度,最低温度 FROM skxx ORDER BY 养护记录"));
        QList<StoredDay> rows;
        while (st.next())
            rows.append({st.text(0), st.real(1), st.real(2), st.real(3)});
        return rows;
    }

    QString store(const WeatherDays& days) { return StoreCollectedDays(*db, WallTime(kToday), days); }

    test::TempHome home;
    std::shared_ptr<Database> db;
};

DayValues Read(const char* high, const char* low, float mean)
{
    return {QString::fromUtf8(high), QString::fromUtf8(low), mean, true};
}

// Today 10/-3, then 28/16, 0/0, 25/15 and a day the run did not read.
WeatherDays ARun()
{
    WeatherDays days{Read("10", "-3", 3.5f), Read("28", "16", 22.0f), Read("0", "0", 0.0f),
                     Read("25", "暂无", 20.0f), Read("26", "14", 20.0f)};
    days[4].readThisRun = false;
    return days;
}

TEST_F(WeatherStoreTest, NothingIsStoredWithoutYesterday)
{
    addDay(kToday.addDays(-2), 5.0);
    EXPECT_EQ(store(ARun()), MissingYesterdayText());
    EXPECT_EQ(stored().size(), 1);
}

TEST_F(WeatherStoreTest, StoresOnlyReadNumericNonZeroDays)
{
    addDay(kToday.addDays(-1), 5.0);
    EXPECT_EQ(store(ARun()), QString());
    const QList<StoredDay> rows = stored();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1].day, QStringLiteral("2024-05-10 00:00:00"));
    EXPECT_DOUBLE_EQ(rows[1].mean, 3.5);
    EXPECT_DOUBLE_EQ(rows[1].high, 10.0);
    EXPECT_DOUBLE_EQ(rows[1].low, -3.0);
    EXPECT_EQ(rows[2].day, QStringLiteral("2024-05-11 00:00:00"));
    EXPECT_DOUBLE_EQ(rows[2].mean, 22.0);
}

TEST_F(WeatherStoreTest, ASecondRunNeverOverwrites)
{
    addDay(kToday.addDays(-1), 5.0);
    ASSERT_EQ(store(ARun()), QString());
    WeatherDays changed = ARun();
    changed[0] = Read("20", "10", 15.0f);
    EXPECT_EQ(store(changed), QString());
    const QList<StoredDay> rows = stored();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_DOUBLE_EQ(rows[1].mean, 3.5);
}

TEST_F(WeatherStoreTest, OverlappingRunsStoreEachDayOnce)
{
    addDay(kToday.addDays(-1), 5.0);
    QList<QFuture<QString>> runs;
    for (int i = 0; i < 4; ++i)
        runs.append(QtConcurrent::run([this] { return store(ARun()); }));
    for (QFuture<QString>& run : runs)
        EXPECT_EQ(run.result(), QString());
    EXPECT_EQ(stored().size(), 3);
}

} // namespace
} // namespace stolvar
