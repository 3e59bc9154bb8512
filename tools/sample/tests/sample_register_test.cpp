#include "db/Database.h"
#include "model/mail/MailSettings.h"
#include "model/maturity/DueScan.h"
#include "model/register/GroupStore.h"
#include "model/register/ReminderQueries.h"
#include "model/strength/Evaluation.h"
#include "model/strength/StrengthTexts.h"
#include "sample/SampleArguments.h"
#include "sample/SampleRegister.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QCryptographicHash>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

const QDate kToday(2024, 12, 8);

// Every cell of every row of gcxx (10 columns) or skxx (5), as text.
QStringList DumpTable(const Database& db, const QString& table)
{
    const int columns = table == QStringLiteral("gcxx") ? 10 : 5;
    QStringList rows;
    Statement st(db, QStringLiteral("SELECT * FROM %1 ORDER BY id").arg(table));
    while (st.next()) {
        QStringList cells;
        for (int c = 0; c < columns; ++c)
            cells << st.text(c);
        rows << cells.join(u'|');
    }
    return rows;
}

QVector<SpecimenGroup> AllGroups(const Database& db)
{
    QVector<SpecimenGroup> groups;
    Statement st(db, QStringLiteral("SELECT %1 FROM gcxx ORDER BY id").arg(GroupColumns()));
    while (st.next())
        groups.append(ReadGroup(st));
    return groups;
}

QVector<TemperatureRecord> AllDays(const Database& db)
{
    QVector<TemperatureRecord> days;
    Statement st(db, QStringLiteral("SELECT %1 FROM skxx ORDER BY id").arg(TemperatureColumns()));
    while (st.next())
        days.append(ReadTemperature(st));
    return days;
}

QByteArray FileHash(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
                                          : QByteArray();
}

class SampleRegisterTest : public ::testing::Test
{
protected:
    std::shared_ptr<Database> writeSite(const test::TempHome& folder, quint32 seed = kDefaultSampleSeed)
    {
        const SampleResult result = WriteSampleRegister(folder.path(), SampleSize::Site, seed, kToday);
        EXPECT_TRUE(result.ok) << result.message.toStdString();
        return Database::Open(result.databasePath);
    }

    test::TempHome home;
};

TEST_F(SampleRegisterTest, SiteHoldsAnAutumnSeasonOfGroupsAndDays)
{
    const auto db = writeSite(home);
    ASSERT_TRUE(db);
    const QVector<SpecimenGroup> groups = AllGroups(*db);
    EXPECT_GE(groups.size(), 35);
    EXPECT_LE(groups.size(), 50);
    QSet<QString> projects, keys, states;
    for (const SpecimenGroup& g : groups) {
        projects << g.project;
        keys << g.project + u'/' + g.position;
        states << g.standardState;
        EXPECT_GE(g.castingDate.date(), kToday.addDays(-102));
        EXPECT_LE(g.castingDate.date(), kToday);
        EXPECT_TRUE(QStringList({"C15", "C20", "C25", "C30", "C35", "C40"}).contains(g.grade));
        EXPECT_TRUE(QStringList({"1", "2", "3"}).contains(g.standardCount));
    }
    EXPECT_EQ(projects.size(), 3);
    EXPECT_EQ(keys.size(), groups.size()) << "a project/position pair is registered twice";
    EXPECT_EQ(states, QSet<QString>({kSent, kNotSent}));
    EXPECT_TRUE(std::any_of(groups.begin(), groups.end(), [](const auto& g) { return g.formCount.isEmpty(); }));
    EXPECT_TRUE(std::any_of(groups.begin(), groups.end(), [](const auto& g) { return !g.formCount.isEmpty(); }));

    const QVector<TemperatureRecord> days = AllDays(*db);
    ASSERT_EQ(days.size(), 105);
    EXPECT_EQ(days.back().day.date(), kToday.addDays(-1));
    float warmest = -100, coldest = 100;
    for (qsizetype i = 0; i < days.size(); ++i) {
        EXPECT_EQ(days[i].day.date(), kToday.addDays(i - 105)) << "days are consecutive";
        EXPECT_LE(*days[i].low, *days[i].high);
        EXPECT_FLOAT_EQ(*days[i].mean, (*days[i].high + *days[i].low) / 2);
        warmest = std::max(warmest, *days[i].high);
        coldest = std::min(coldest, *days[i].low);
    }
    EXPECT_GE(warmest, 20);
    EXPECT_LE(warmest, 35);
    EXPECT_LE(coldest, -5);
    EXPECT_GE(coldest, -20);
}

TEST_F(SampleRegisterTest, SiteRemindsOfStandardAndFormRemovalSpecimensToday)
{
    const auto db = writeSite(home);
    ASSERT_TRUE(db);
    const ReminderScanInput input{WallTime(kToday, QTime(9, 30)), kSampleLeadDays, CountingRule{}, QDateTime()};
    const DueTexts due = ScanReminders(*db, input).boxes;
    EXPECT_FALSE(due.standardText.isEmpty());
    EXPECT_FALSE(due.formRemovalText.isEmpty());
}

// The evaluation has something to show: most groups that came due have their reports,
// a few are invalid and a few fall short of their grade.
TEST_F(SampleRegisterTest, SiteHasResultsForMostDueGroupsWithAFewInvalidAndFailing)
{
    const auto db = writeSite(home);
    ASSERT_TRUE(db);
    const StrengthRegister reg = LoadStrengthRegister(*db, CountingRule{});
    ASSERT_TRUE(reg.error.isEmpty()) << reg.error.toStdString();
    int due = 0, reported = 0, invalid = 0, short_ = 0, sameCondition = 0, formRemoval = 0;
    for (const StrengthGroup& g : reg.groups) {
        const bool standardDue = g.group.castingDate.date().addDays(30) <= kToday;
        due += standardDue;
        bool hasStandard = false;
        for (const TestResult& r : g.results) {
            EXPECT_GE(r.testDate.date(), g.group.castingDate.date());
            EXPECT_LE(r.testDate.date(), kToday);
            const GroupValue v = ValueOfResult(r, DesignStrength(g.group.grade), 1.10);
            hasStandard = hasStandard || r.kind == DueKind::Standard;
            sameCondition += r.kind == DueKind::SameCondition;
            formRemoval += r.kind == DueKind::FormRemoval;
            invalid += !v.valid();
            short_ += r.kind == DueKind::Standard && v.valid() && v.value < *DesignStrength(g.group.grade);
        }
        reported += standardDue && hasStandard;
    }
    EXPECT_GE(due, 20);
    EXPECT_GE(reported, due * 7 / 10);
    EXPECT_GE(invalid, 1);
    EXPECT_GE(short_, 1);
    EXPECT_GE(sameCondition, 1);
    EXPECT_GE(formRemoval, 1);
}

TEST_F(SampleRegisterTest, SettingsNameTheDatabaseAPositionNodeAndColours)
{
    const auto db = writeSite(home);
    ASSERT_TRUE(db);
    const SettingsStore s = home.settings();
    EXPECT_EQ(s.read(keys::kDatabaseFile), db->path());
    EXPECT_EQ(s.read(keys::kLeadDays), QStringLiteral("3"));
    EXPECT_EQ(s.read(keys::kColour1), QStringLiteral("16777215"));
    EXPECT_EQ(s.read(keys::kColour2), QStringLiteral("16777215"));
    EXPECT_EQ(s.read(keys::kColour3), QStringLiteral("15790320"));
    EXPECT_EQ(s.read(keys::kWeatherService, QStringLiteral("unset")), QStringLiteral("unset"));

    // The node index counts projects and positions in tree order.
    const int selected = s.read(keys::kTreeSelection).toInt();
    int index = 0;
    bool isPosition = false;
    for (const ProjectNode& project : LoadProjectTree(*db)) {
        EXPECT_NE(index++, selected) << "a project node is selected";
        for (qsizetype i = 0; i < project.positions.size(); ++i)
            isPosition = isPosition || index++ == selected;
    }
    EXPECT_TRUE(isPosition);

    QString error;
    EXPECT_EQ(LoadMailSettings(home.file(QStringLiteral("help")), &error), DefaultMailSettings());
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
}

TEST_F(SampleRegisterTest, SameSeedGivesTheSameRowsAndAnotherSeedOthers)
{
    test::TempHome again, other;
    const auto a = writeSite(home, 7);
    const auto b = writeSite(again, 7);
    const auto c = writeSite(other, 8);
    ASSERT_TRUE(a && b && c);
    for (const QString& table : {QStringLiteral("gcxx"), QStringLiteral("skxx")}) {
        EXPECT_EQ(DumpTable(*a, table), DumpTable(*b, table)) << table.toStdString();
        EXPECT_NE(DumpTable(*a, table), DumpTable(*c, table)) << table.toStdString();
    }
}

TEST_F(SampleRegisterTest, AnExistingDatabaseIsNeverOverwritten)
{
    const SampleResult first = WriteSampleRegister(home.path(), SampleSize::Site, 1, kToday);
    ASSERT_TRUE(first.ok);
    const QByteArray before = FileHash(first.databasePath);
    const SampleResult second = WriteSampleRegister(home.path(), SampleSize::Large, 2, kToday);
    EXPECT_FALSE(second.ok);
    EXPECT_TRUE(second.message.contains(first.databasePath)) << second.message.toStdString();
    EXPECT_EQ(FileHash(first.databasePath), before);
}

TEST_F(SampleRegisterTest, LargeHoldsTwoThousandProjectsOfTenPositionsAndTwentyYears)
{
    const SampleResult result = WriteSampleRegister(home.path(), SampleSize::Large, kDefaultSampleSeed, kToday);
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    EXPECT_EQ(result.projects, 2000);
    EXPECT_EQ(result.groups, 20000);
    const auto db = Database::Open(result.databasePath);
    ASSERT_TRUE(db);
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("gcxx")), 20000);
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("skxx")), 7305);
    const QVector<ProjectNode> tree = LoadProjectTree(*db);
    EXPECT_EQ(tree.size(), 2000);
    EXPECT_TRUE(std::all_of(tree.begin(), tree.end(), [](const ProjectNode& p) { return p.positions.size() == 10; }));
    Statement range(*db, QStringLiteral("SELECT min(取样日期), max(取样日期) FROM gcxx"));
    ASSERT_TRUE(range.next());
    EXPECT_GE(range.dateTime(0).date(), kToday.addDays(-7305)) << "every casting day has temperatures";
    EXPECT_LE(range.dateTime(1).date(), kToday);
}

// Planned only: writing 100,000 rows belongs to the benchmarks, not the suite.
TEST(SamplePlanTest, WideHoldsTenProjectsOfTenThousandPositionsEachOver20Years)
{
    const SamplePlan plan = PlanSampleRegister(SampleSize::Wide, kDefaultSampleSeed, kToday);
    EXPECT_EQ(plan.projects, 10);
    ASSERT_EQ(plan.groups.size(), 100000);
    QHash<QString, QSet<QString>> positions;
    QDate first = kToday;
    QDate last;
    for (const SpecimenGroup& g : plan.groups) {
        positions[g.project].insert(g.position);
        first = std::min(first, g.castingDate.date());
        last = std::max(last, g.castingDate.date());
    }
    ASSERT_EQ(positions.size(), 10);
    for (const QSet<QString>& names : positions)
        EXPECT_EQ(names.size(), 10000) << "every position once, as the program allows";
    EXPECT_GE(first, kToday.addDays(-7305)) << "every casting day has temperatures";
    EXPECT_LE(last, kToday);
    EXPECT_EQ(plan.days.size(), 7305);
}

TEST(SampleArgumentsTest, OneSizeAtMost)
{
    const QString tool = QStringLiteral("stolvar-sample");
    EXPECT_EQ(ParseSampleArguments({tool, QStringLiteral("/tmp/x")}).size, SampleSize::Site);
    EXPECT_EQ(ParseSampleArguments({tool, QStringLiteral("/tmp/x"), QStringLiteral("--wide")}).size, SampleSize::Wide);
    EXPECT_EQ(ParseSampleArguments({tool, QStringLiteral("/tmp/x"), QStringLiteral("--huge")}).size, SampleSize::Huge);
    EXPECT_FALSE(ParseSampleArguments({tool, QStringLiteral("/tmp/x"), QStringLiteral("--huge"), QStringLiteral("--wide")})
                     .error.isEmpty());
    EXPECT_FALSE(ParseSampleArguments({tool, QStringLiteral("/tmp/x"), QStringLiteral("--large"), QStringLiteral("--wide")})
                     .error.isEmpty());
}

} // namespace
} // namespace stolvar
