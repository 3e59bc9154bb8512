#include "model/temperatures/DaySources.h"
#include "model/logger/LoggerImport.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using Source = std::optional<DaySource>;

TEST(DayPlans, AutomaticSourcesNeverChangeATypedDay)
{
    struct Case {
        Source existing;
        bool past;
        DayPlan service;
        DayPlan logger;   // for a complete day
    };
    const Case cases[] = {
        {std::nullopt, false, DayPlan::Add, DayPlan::Add},
        {std::nullopt, true, DayPlan::Add, DayPlan::Add},
        {DaySource::Manual, true, DayPlan::KeepTyped, DayPlan::KeepTyped},
        {DaySource::Forecast, true, DayPlan::ReplaceForecast, DayPlan::ReplaceForecast},
        {DaySource::Forecast, false, DayPlan::KeepOther, DayPlan::ReplaceForecast},
        {DaySource::Observed, true, DayPlan::KeepOther, DayPlan::KeepOther},
        {DaySource::Logger, true, DayPlan::KeepOther, DayPlan::KeepOther},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PlanServiceDay(c.existing, c.past), c.service);
        EXPECT_EQ(PlanLoggerDay(c.existing, true), c.logger);
    }
    EXPECT_EQ(PlanLoggerDay(std::nullopt, false), DayPlan::Incomplete);
    EXPECT_EQ(PlanText(DayPlan::KeepTyped), QStringLiteral("已有手工记录（不覆盖）"));
    EXPECT_EQ(SourceFromText(QString()), DaySource::Manual);
    EXPECT_EQ(SourceFromText(QStringLiteral("记录仪")), DaySource::Logger);
}

TEST(LoggerPreviewRows, TickCompleteNewDaysAndForecastsOnly)
{
    const auto day = [](int d, int hours) { return LoggerDay{QDate(2026, 12, d), hours * 2, hours, 5, 8, 2}; };
    const QMap<QDate, DaySource> existing{{QDate(2026, 12, 2), DaySource::Forecast},
                                          {QDate(2026, 12, 3), DaySource::Manual},
                                          {QDate(2026, 12, 5), DaySource::Forecast}};
    const QVector<LoggerPreviewRow> rows = PlanLoggerRows({day(1, 24), day(2, 20), day(3, 24), day(4, 19), day(5, 3)}, existing, QDate(2026, 12, 8));
    ASSERT_EQ(rows.size(), 5);
    const DayPlan plans[] = {DayPlan::Add, DayPlan::ReplaceForecast, DayPlan::KeepTyped, DayPlan::Incomplete, DayPlan::Incomplete};
    const bool ticked[] = {true, true, false, false, false};
    const bool selectable[] = {true, true, false, true, true};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(rows[i].plan, plans[i]) << i;
        EXPECT_EQ(rows[i].ticked, ticked[i]) << i;
        EXPECT_EQ(rows[i].selectable, selectable[i]) << i;
    }
}

class SourcedStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
    }

    int rows() const { return test::CountRows(*db, QStringLiteral("skxx")); }

    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(SourcedStoreTest, LoggerDaysAreStoredInOneTransactionAndATypedDayIsRecheckedThere)
{
    // The typed record came after the preview was shown: it still wins.
    ASSERT_TRUE(test::InsertTemperature(*db, WallTime(QDate(2026, 12, 2)), 9, 12, 6));
    const QVector<LoggerDay> days{{QDate(2026, 12, 1), 48, 24, 5.5, 8, 2}, {QDate(2026, 12, 2), 48, 24, 6, 9, 3},
                                  {QDate(2026, 12, 3), 48, 24, 7, 10, 4}};
    int written = -1;
    EXPECT_EQ(StoreLoggerDays(*db, days, &written), QString());
    EXPECT_EQ(written, 2);
    EXPECT_EQ(rows(), 3);
    QMap<QDate, DaySource> sources;
    QString error;
    ASSERT_TRUE(LoadDaySources(*db, QDate(2026, 12, 1), QDate(2026, 12, 3), &sources, &error));
    EXPECT_EQ(sources.size(), 3);
    EXPECT_EQ(sources.value(QDate(2026, 12, 2)), DaySource::Manual);

    // A failing write rolls every day of the batch back.
    ASSERT_TRUE(db->execute(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON skxx WHEN NEW.温度记录 > 20 "
                                           "BEGIN SELECT RAISE(ABORT, 'refused'); END")));
    const QVector<LoggerDay> more{{QDate(2026, 12, 4), 48, 24, 5, 8, 2}, {QDate(2026, 12, 5), 48, 24, 25, 30, 20}};
    EXPECT_TRUE(StoreLoggerDays(*db, more, &written).startsWith(QStringLiteral("温度记录保存失败：")));
    EXPECT_EQ(written, 0);
    EXPECT_EQ(rows(), 3);
}

} // namespace
} // namespace stolvar
