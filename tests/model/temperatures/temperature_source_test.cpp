#include "core/Conversions.h"
#include "db/Database.h"
#include "db/Schema.h"
#include "model/temperatures/TemperatureStore.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

QString U(const char* text)
{
    return QString::fromUtf8(text);
}

// A project file as older releases wrote it: skxx without the source column.
class TemperatureSourceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        path = home.file(QStringLiteral("p.dat"));
        db = test::MakeProjectDatabase(path);
        ASSERT_TRUE(db);
    }
    // The source of every row of the window, in day order, as "day:source".
    QString sources()
    {
        QStringList all;
        for (const TemperatureRecord& r : LoadTemperatureWindow(*db, WallTime(QDate(2026, 11, 1)), WallTime(QDate(2026, 11, 30))))
            all << QStringLiteral("%1:%2").arg(r.day.date().day()).arg(SourceText(r.source));
        return all.join(u' ');
    }
    DayTemperatures reading(int day, double high, double low) const
    {
        return {QDate(2026, 11, day), DailyMean(high, low), high, low};
    }

    test::TempHome home;
    QString path;
    std::shared_ptr<Database> db;
};

TEST(TemperatureSourceText, NamesReadBackAndAnythingElseReadsAsTyped)
{
    const struct {
        TemperatureSource source;
        const char* text;
    } rows[] = {
        {TemperatureSource::Manual, "手工"},
        {TemperatureSource::Forecast, "预报"},
        {TemperatureSource::Observed, "实况"},
        {TemperatureSource::Logger, "记录仪"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(SourceText(row.source), U(row.text));
        EXPECT_EQ(SourceFromText(U(row.text)), row.source) << row.text;
    }
    for (const char* other : {"", "forecast", "人工", "预"})
        EXPECT_EQ(SourceFromText(U(other)), TemperatureSource::Manual) << other;
    EXPECT_EQ(SourceFromText(QString()), TemperatureSource::Manual);
    EXPECT_EQ(SourceFromText(U(" 预报 ")), TemperatureSource::Forecast);
}

TEST_F(TemperatureSourceTest, AnOlderFileStoresAndReadsEveryDayAsTypedUntilTheColumnIsAdded)
{
    ASSERT_FALSE(HasSourceColumn(*db));
    ASSERT_EQ(InsertDayIfMissing(*db, QDate(2026, 11, 2), 5, 8, 2, TemperatureSource::Forecast), InsertOutcome::Inserted);
    EXPECT_EQ(sources(), U("2:手工"));

    ASSERT_TRUE(EnsureSourceColumn(*db));
    ASSERT_TRUE(HasSourceColumn(*db));
    ASSERT_TRUE(EnsureSourceColumn(*db));   // a second open changes nothing
    EXPECT_EQ(sources(), U("2:手工"));      // the old row has NULL: typed
    Statement st(*db, QStringLiteral("SELECT count(*) FROM skxx WHERE 来源 IS NULL"));
    ASSERT_TRUE(st.next());
    EXPECT_EQ(st.integer(0), 1);
}

TEST_F(TemperatureSourceTest, TypedWritesAreManualAndForecastDaysStayForecastUntilChangedByHand)
{
    ASSERT_TRUE(EnsureSourceColumn(*db));
    ASSERT_TRUE(AddTemperatureRecord(*db, U("2026-11-3"), U("10"), U("2")).ok);
    ASSERT_EQ(InsertDayIfMissing(*db, QDate(2026, 11, 4), 5, 8, 2, TemperatureSource::Forecast), InsertOutcome::Inserted);
    ASSERT_EQ(InsertDayIfMissing(*db, QDate(2026, 11, 5), 5, 8, 2, TemperatureSource::Forecast), InsertOutcome::Inserted);
    EXPECT_EQ(InsertDayIfMissing(*db, QDate(2026, 11, 3), 5, 8, 2, TemperatureSource::Forecast), InsertOutcome::AlreadyThere);
    EXPECT_EQ(sources(), U("3:手工 4:预报 5:预报"));

    const StoreResult changed = ChangeTemperatureRecord(*db, U("2026年11月4日"), U("12"), U("4"));
    ASSERT_TRUE(changed.ok);
    EXPECT_EQ(changed.rows, 1);
    EXPECT_EQ(sources(), U("3:手工 4:手工 5:预报"));
}

TEST_F(TemperatureSourceTest, AMeasuredDayReplacesOnlyAForecastDay)
{
    ASSERT_TRUE(EnsureSourceColumn(*db));
    ASSERT_TRUE(AddTemperatureRecord(*db, U("2026-11-3"), U("10"), U("2")).ok);
    ASSERT_EQ(StoreTemperatureDay(*db, reading(4, 8, 2), TemperatureSource::Forecast, ExistingDay::Keep), StoreOutcome::Inserted);
    ASSERT_EQ(StoreTemperatureDay(*db, reading(6, 8, 2), TemperatureSource::Logger, ExistingDay::Keep), StoreOutcome::Inserted);

    const struct {
        int day;
        TemperatureSource source;
        ExistingDay existing;
        StoreOutcome outcome;
    } rows[] = {
        {4, TemperatureSource::Observed, ExistingDay::Keep, StoreOutcome::Kept},
        {4, TemperatureSource::Observed, ExistingDay::ReplaceForecast, StoreOutcome::Replaced},
        {4, TemperatureSource::Logger, ExistingDay::ReplaceForecast, StoreOutcome::Kept},   // now 实况
        {3, TemperatureSource::Observed, ExistingDay::ReplaceForecast, StoreOutcome::Kept},  // typed
        {6, TemperatureSource::Observed, ExistingDay::ReplaceForecast, StoreOutcome::Kept},  // logged
        {5, TemperatureSource::Observed, ExistingDay::ReplaceForecast, StoreOutcome::Inserted},
    };
    for (const auto& row : rows)
        EXPECT_EQ(StoreTemperatureDay(*db, reading(row.day, 20, 10), row.source, row.existing), row.outcome) << row.day;
    EXPECT_EQ(sources(), U("3:手工 4:实况 5:实况 6:记录仪"));
    const QVector<TemperatureRecord> replaced = LoadTemperatureWindow(*db, WallTime(QDate(2026, 11, 4)), WallTime(QDate(2026, 11, 4)));
    ASSERT_EQ(replaced.size(), 1);
    EXPECT_EQ(FormatNumber(*replaced[0].mean), QStringLiteral("15"));
    EXPECT_EQ(FormatNumber(*replaced[0].high), QStringLiteral("20"));
}

TEST_F(TemperatureSourceTest, AReadOnlyFileShowsNoSourcesAndNothingFails)
{
    ASSERT_EQ(InsertDayIfMissing(*db, QDate(2026, 11, 2), 5, 8, 2, TemperatureSource::Forecast), InsertOutcome::Inserted);
    db.reset();
    auto reader = Database::OpenReadOnly(path);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(reader->isReadOnly());
    EXPECT_TRUE(EnsureSourceColumn(*reader));
    EXPECT_FALSE(HasSourceColumn(*reader));
    db = reader;
    EXPECT_EQ(sources(), U("2:手工"));
    EXPECT_EQ(StoreTemperatureDay(*db, reading(3, 8, 2), TemperatureSource::Observed, ExistingDay::Keep), StoreOutcome::Failed);
}

TEST_F(TemperatureSourceTest, UpgradeAddsTheSourceColumnToo)
{
    QStringList added;
    ASSERT_TRUE(UpgradeSchema(*db, &added));
    // A new file lacks the nullable later columns until it is opened for writing.
    EXPECT_EQ(added, (QStringList{U("skxx.来源"), U("gcxx.拆模要求")}));
    EXPECT_TRUE(HasSourceColumn(*db));
}

} // namespace
} // namespace stolvar
