#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/temperatures/TemperatureStore.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

#include <limits>

namespace stolvar {
namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

class TemperatureStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }
    void insertRaw(const char* dayText, double mean)
    {
        Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录) VALUES (?, ?)"));
        ASSERT_TRUE(st.bindAll(U(dayText), mean).run());
    }
    // Every row as "day|mean|max|min" in table order.
    QStringList rows()
    {
        QStringList all;
        Statement st(*db, QStringLiteral("SELECT 养护记录, 温度记录, 最高温度, 最低温度 FROM skxx ORDER BY id"));
        while (st.next())
            all << QStringList{st.text(0), st.text(1), st.text(2), st.text(3)}.join(u'|');
        return all;
    }
    StoreResult add(const char* date, const char* high, const char* low)
    {
        return AddTemperatureRecord(*db, U(date), U(high), U(low));
    }

    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(TemperatureStoreTest, StoresTheParsedDayAndTheMeanOnceADay)
{
    ASSERT_TRUE(add("2008年10月01日", "25", "18").ok);
    ASSERT_TRUE(add("2008-10-2", "25.3", "18.1").ok);
    // Stored in double precision: a single-precision mean would read 21.7000007629395.
    EXPECT_EQ(rows(), QStringList({U("2008-10-01 00:00:00|21.5|25.0|18.0"), U("2008-10-02 00:00:00|21.7|25.3|18.1")}));
    const QVector<TemperatureRecord> stored = LoadTemperatureWindow(*db, WallTime(QDate(2008, 10, 2)), WallTime(QDate(2008, 10, 2)));
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(FormatNumber(*stored[0].mean), QStringLiteral("21.7"));

    const StoreResult again = add("2008-10-1", "30", "20");   // the same day in another form
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.message, QStringLiteral("日期已存在，请重新输入！"));
    EXPECT_EQ(InsertDayIfMissing(*db, QDate(2008, 10, 1), 0, 0, 0), InsertOutcome::AlreadyThere);
    EXPECT_EQ(InsertDayIfMissing(*db, QDate(2008, 10, 3), 1, 2, 0), InsertOutcome::Inserted);
    EXPECT_EQ(rows().size(), 3);
}

TEST_F(TemperatureStoreTest, RefusesTextsThatAreNoDateOrNoNumberAndStoresNothing)
{
    const struct {
        const char* date;
        const char* high;
        const char* low;
        const char* messageStart;
    } cases[] = {
        {"2008-10-1", "abc", "18", "最高温度"}, {"2008-10-1", "", "18", "最高温度"},
        {"2008-10-1", "25abc", "18", "最高温度"}, {"2008-10-1", "inf", "18", "最高温度"},
        {"2008-10-1", "25", " ", "最低温度"}, {"2017-2-30", "25", "18", "日期格式不正确"},
        {"abc", "25", "18", "日期格式不正确"},
    };
    for (const auto& c : cases) {
        for (const StoreResult& r : {add(c.date, c.high, c.low), ChangeTemperatureRecord(*db, U(c.date), U(c.high), U(c.low))}) {
            EXPECT_FALSE(r.ok) << c.date << " " << c.high;
            EXPECT_TRUE(r.message.startsWith(U(c.messageStart))) << r.message.toStdString();
        }
    }
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(TemperatureStoreTest, RefusesTemperaturesOutsideTheRangeASiteCanSee)
{
    const QString range = QStringLiteral("-60℃到60℃");
    const struct {
        const char* high;
        const char* low;
        const char* messageStart;  // nullptr: stored
    } cases[] = {
        {"1e39", "18", "最高温度"}, {"60.1", "18", "最高温度"}, {"-61", "-70", "最高温度"},
        {"25", "-60.5", "最低温度"}, {"25", "1e39", "最低温度"}, {"70", "65", "最高温度"},
        {"60", "-60", nullptr}, {"-60", "-60", nullptr},
    };
    int day = 1;
    for (const auto& c : cases) {
        const QString date = QStringLiteral("2008-10-%1").arg(day++, 2, 10, QChar(u'0'));
        insertRaw(qPrintable(date + QStringLiteral(" 00:00:00")), 1);   // a row for the change to act on
        for (const StoreResult& r : {add(qPrintable(QStringLiteral("2009-10-%1").arg(day)), c.high, c.low),
                                     ChangeTemperatureRecord(*db, date, U(c.high), U(c.low))}) {
            EXPECT_EQ(r.ok, c.messageStart == nullptr) << c.high << " " << c.low;
            if (c.messageStart) {
                EXPECT_TRUE(r.message.startsWith(U(c.messageStart)) && r.message.contains(range))
                    << r.message.toStdString();
            }
        }
    }
    // Only the two plausible days were added and changed.
    QStringList stored = rows();
    stored.removeIf([](const QString& row) { return row.endsWith(QStringLiteral("|1.0||")); });
    EXPECT_EQ(stored.size(), 4) << stored.join(u' ').toStdString();
    for (const QString& row : stored)
        EXPECT_TRUE(row.endsWith(QStringLiteral("|0.0|60.0|-60.0")) || row.endsWith(QStringLiteral("|-60.0|-60.0|-60.0")))
            << row.toStdString();
}

TEST(MaximumBelowMinimum, AsksOnlyWhenBothReadAndTheMaximumIsLower)
{
    EXPECT_TRUE(MaximumBelowMinimum(U("5"), U("12")));
    EXPECT_TRUE(MaximumBelowMinimum(U("-3.5"), U("-3.4")));
    EXPECT_FALSE(MaximumBelowMinimum(U("12"), U("12")));
    EXPECT_FALSE(MaximumBelowMinimum(U("12"), U("5")));
    EXPECT_FALSE(MaximumBelowMinimum(U("abc"), U("5")));
}

// A file of an older release may hold a mean typed as 1e39 (infinite in single precision):
// that day reads as missing, and an infinite maximum or minimum as no value.
TEST_F(TemperatureStoreTest, NonFiniteStoredValuesReadAsMissing)
{
    insertRaw("2008-10-01 00:00:00", 10);
    insertRaw("2008-10-02 00:00:00", 1e39);
    insertRaw("2008-10-03 00:00:00", -std::numeric_limits<double>::infinity());
    Statement st(*db, QStringLiteral("INSERT INTO skxx(养护记录, 温度记录, 最高温度, 最低温度) VALUES (?, ?, ?, ?)"));
    ASSERT_TRUE(st.bindAll(U("2008-10-04 00:00:00"), 12.0, 1e39, 8.0).run());
    const QVector<TemperatureRecord> window =
        LoadTemperatureWindow(*db, WallTime(QDate(2008, 10, 1)), WallTime(QDate(2008, 10, 4)));
    ASSERT_EQ(window.size(), 2);
    EXPECT_EQ(window[0].mean, 10.0F);
    EXPECT_EQ(window[1].mean, 12.0F);
    EXPECT_FALSE(window[1].high.has_value());
    EXPECT_EQ(window[1].low, 8.0F);
}

TEST_F(TemperatureStoreTest, ChangeAndDeleteActOnEveryRowOfTheDayOnly)
{
    insertRaw("2008-10-01 00:00:00", 1);
    insertRaw("2008-10-01", 2);   // an older bare form of the same day
    insertRaw("2008-10-02 00:00:00", 3);
    const StoreResult changed = ChangeTemperatureRecord(*db, U("2008年10月01日"), U("30"), U("20"));
    EXPECT_TRUE(changed.ok && changed.message.isEmpty());
    EXPECT_EQ(rows(), QStringList({U("2008-10-01 00:00:00|25.0|30.0|20.0"), U("2008-10-01|25.0|30.0|20.0"),
                                   U("2008-10-02 00:00:00|3.0||")}));
    const StoreResult noRow = ChangeTemperatureRecord(*db, U("2009-1-1"), U("1"), U("0"));
    EXPECT_TRUE(noRow.ok && noRow.message.isEmpty() && noRow.rows == 0);

    EXPECT_EQ(DeleteTemperatureRecord(*db, U("2008-10-1")).rows, 2);
    EXPECT_EQ(rows(), QStringList{U("2008-10-02 00:00:00|3.0||")});
    const StoreResult again = DeleteTemperatureRecord(*db, U("2008-10-1"));
    EXPECT_TRUE(again.ok && again.message.isEmpty());
    EXPECT_FALSE(DeleteTemperatureRecord(*db, U("not a day")).ok);
    EXPECT_EQ(rows().size(), 1);
}

TEST_F(TemperatureStoreTest, FailedWritesAreReported)
{
    ASSERT_TRUE(db->execute(QStringLiteral("DROP TABLE skxx")));
    const StoreResult added = add("2008-10-1", "25", "18");
    EXPECT_FALSE(added.ok);
    EXPECT_TRUE(added.message.startsWith(QStringLiteral("温度记录保存失败"))) << added.message.toStdString();
    EXPECT_FALSE(ChangeTemperatureRecord(*db, U("2008-10-1"), U("1"), U("2")).ok);
    EXPECT_FALSE(DeleteTemperatureRecord(*db, U("2008-10-1")).ok);
    EXPECT_EQ(InsertDayIfMissing(*db, QDate(2008, 10, 1), 1, 2, 0), InsertOutcome::Failed);
    QString error;
    LoadTemperatureWindow(*db, WallTime(QDate(2008, 1, 1)), WallTime(QDate(2009, 1, 1)), &error);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(TemperatureStoreTest, WindowIncludesBothEndDaysAscendingAndLastDayFollowsTableOrder)
{
    EXPECT_FALSE(LastTemperatureDay(*db).isValid());
    for (const char* day : {"2008-10-11 00:00:00", "2008-09-30 00:00:00", "2008-10-01 00:00:00",
                            "2008-10-05", "2008-10-12 00:00:00", "2008-10-10 00:00:00"})
        insertRaw(day, 1);
    QStringList days;
    for (const TemperatureRecord& r : LoadTemperatureWindow(*db, WallTime(QDate(2008, 10, 1), QTime(9, 0)),
                                                            WallTime(QDate(2008, 10, 11))))
        days << FormatSqlDate(r.day);
    EXPECT_EQ(days.join(u' '), QStringLiteral("2008-10-1 2008-10-5 2008-10-10 2008-10-11"));
    EXPECT_EQ(LastTemperatureDay(*db), WallTime(QDate(2008, 10, 10)));

    ASSERT_TRUE(EnsureIndexes(*db) && EnsureIndexes(*db));
    Statement plan(*db, QStringLiteral("EXPLAIN QUERY PLAN SELECT id FROM skxx WHERE 养护记录 >= ? AND 养护记录 < ?"));
    ASSERT_TRUE(plan.next());
    EXPECT_TRUE(plan.text(3).contains(QStringLiteral("INDEX"))) << plan.text(3).toStdString();
}

} // namespace
} // namespace stolvar
