#include "db/Database.h"
#include "db/ResultsSchema.h"
#include "db/Schema.h"
#include "model/register/GroupStore.h"
#include "model/strength/StrengthValues.h"
#include "model/strength/TestResults.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QProcess>
#include <functional>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

TestResult Result(DueKind kind, int number, std::array<double, 3> strengths, int edge = 150)
{
    TestResult r;
    r.kind = kind;
    r.number = number;
    r.edgeMm = edge;
    r.strengths = strengths;
    return r;
}

class TestResultsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
        ASSERT_TRUE(db);
        ASSERT_TRUE(HasResultsTable(*db)) << "a new file has the table";
        ASSERT_TRUE(EnsureResultsSchema(*db));   // as the program does when it opens the file
        ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("一号楼"), QStringLiteral("三层梁"), Day(2026, 9, 1)));
        ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("一号楼"), QStringLiteral("四层梁"), Day(2026, 9, 8)));
    }

    test::TempHome home;
    std::shared_ptr<Database> db;
};

TEST_F(TestResultsTest, SavedResultsReadBackWithTheirRequirement)
{
    TestResult first = Result(DueKind::Standard, 1, {31.2, 32.5, 33.0});
    first.report = QStringLiteral("BG-2026-118");
    first.testDate = Day(2026, 9, 29);
    const TestResult second = Result(DueKind::FormRemoval, 1, {24.0, 25.0, 26.0}, 100);
    ASSERT_EQ(SaveGroupResults(*db, 1, {second, first}, 75), QString());
    EXPECT_EQ(LoadGroupResults(*db, 1), (QVector<TestResult>{second, first}));   // by kind text, then number
    EXPECT_EQ(LoadFormRequirement(*db, 1), 75);
    EXPECT_TRUE(LoadGroupResults(*db, 2).isEmpty());
    EXPECT_EQ(LoadFormRequirement(*db, 2), std::nullopt);

    // Empty report and date are stored as NULL; saving again replaces the group's rows.
    Statement nulls(*db, QStringLiteral("SELECT 报告编号 IS NULL, 试验日期 IS NULL FROM syjg WHERE 类别 = '拆模'"));
    ASSERT_TRUE(nulls.next());
    EXPECT_EQ(nulls.integer(0), 1);
    EXPECT_EQ(nulls.integer(1), 1);
    ASSERT_EQ(SaveGroupResults(*db, 1, {first}, std::nullopt), QString());
    EXPECT_EQ(LoadGroupResults(*db, 1), QVector<TestResult>{first});
    EXPECT_EQ(LoadFormRequirement(*db, 1), std::nullopt);
    EXPECT_EQ(LoadAllResults(*db).value(1), QVector<TestResult>{first});
}

TEST_F(TestResultsTest, AFailedSaveStoresNothing)
{
    const TestResult kept = Result(DueKind::Standard, 1, {31.0, 32.0, 33.0});
    ASSERT_EQ(SaveGroupResults(*db, 1, {kept}, 50), QString());
    // Two results for one group number break the table's uniqueness halfway through.
    const TestResult a = Result(DueKind::SameCondition, 1, {35.0, 35.0, 35.0});
    EXPECT_FALSE(SaveGroupResults(*db, 1, {a, a}, 100).isEmpty());
    EXPECT_EQ(LoadGroupResults(*db, 1), QVector<TestResult>{kept});
    EXPECT_EQ(LoadFormRequirement(*db, 1), 50);
    EXPECT_FALSE(SaveGroupResults(*db, 99, {kept}, std::nullopt).isEmpty()) << "no such group";
    EXPECT_EQ(test::CountRows(*db, QStringLiteral("syjg")), 1);
}

TEST_F(TestResultsTest, ResultsStayThroughRenameAndMoveAndGoWithTheGroup)
{
    ASSERT_EQ(SaveGroupResults(*db, 1, {Result(DueKind::Standard, 1, {31.0, 32.0, 33.0})}, std::nullopt), QString());
    ASSERT_EQ(SaveGroupResults(*db, 2, {Result(DueKind::Standard, 1, {30.0, 30.0, 30.0})}, std::nullopt), QString());
    ASSERT_EQ(RenameProject(*db, QStringLiteral("一号楼"), QStringLiteral("1号楼")), WriteResult::Done);
    ASSERT_EQ(ChangePosition(*db, QStringLiteral("1号楼"), QStringLiteral("三层梁"), QStringLiteral("三层梁板")),
              WriteResult::Done);
    EXPECT_EQ(LoadGroupResults(*db, 1).size(), 1);
    ASSERT_EQ(DeleteGroup(*db, QStringLiteral("1号楼"), QStringLiteral("三层梁板")), WriteResult::Done);
    EXPECT_TRUE(LoadGroupResults(*db, 1).isEmpty());
    EXPECT_EQ(LoadGroupResults(*db, 2).size(), 1) << "the other group keeps its result";
}

TEST_F(TestResultsTest, AnOlderFileGainsTheTableWhenOpenedForWriting)
{
    const QString path = home.file(QStringLiteral("old.dat"));
    {
        auto old = Database::Create(path);
        ASSERT_TRUE(old->execute(QStringLiteral("CREATE TABLE gcxx (id INTEGER PRIMARY KEY, 工程名称 TEXT, 工程部位 TEXT, "
                                                "强度等级 TEXT, 取样日期 TEXT, 标养状态 TEXT, 同养状态 TEXT, 标养组数 TEXT, "
                                                "同养组数 TEXT, 拆模组数 TEXT);"
                                                "INSERT INTO gcxx (id, 工程名称, 工程部位) VALUES (1, 'a', 'b');")));
    }
    {
        auto reader = Database::OpenReadOnly(path);
        ASSERT_TRUE(reader);
        EXPECT_TRUE(EnsureResultsSchema(*reader));
        EXPECT_FALSE(HasResultsTable(*reader));
        QString error;
        EXPECT_TRUE(LoadGroupResults(*reader, 1, &error).isEmpty());
        EXPECT_TRUE(error.isEmpty());
        EXPECT_EQ(LoadFormRequirement(*reader, 1), std::nullopt);
        EXPECT_FALSE(SaveGroupResults(*reader, 1, {}, 75).isEmpty());
    }
    auto writer = Database::Open(path);
    ASSERT_TRUE(EnsureResultsSchema(*writer));
    EXPECT_TRUE(HasResultsTable(*writer));
    EXPECT_TRUE(HasFormRequirementColumn(*writer));
    EXPECT_TRUE(EnsureResultsSchema(*writer)) << "a second time changes nothing";
    EXPECT_EQ(SaveGroupResults(*writer, 1, {Result(DueKind::Standard, 1, {30.0, 31.0, 32.0})}, 100), QString());
    EXPECT_EQ(LoadFormRequirement(*writer, 1), 100);
}

TEST_F(TestResultsTest, StockClientSeesTheSameRows)
{
    const QString cli = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (cli.isEmpty())
        GTEST_SKIP() << "sqlcipher command-line client not installed";
    ASSERT_EQ(SaveGroupResults(*db, 2, {Result(DueKind::SameCondition, 2, {35.5, 36.0, 36.5}, 100)}, 75), QString());
    db.reset();
    QProcess p;
    p.start(cli, {home.file(QStringLiteral("p.dat"))});
    p.write("PRAGMA key = 'qtrne52817409';\nSELECT 试块编号, 类别, 组号, 试件尺寸, 强度1, 强度3 FROM syjg;\n"
            "SELECT 拆模要求 FROM gcxx WHERE id = 2;\n");
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(20000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QStringLiteral("2|同养|2|100|35.5|36.5"))) << out.toStdString();
    EXPECT_TRUE(out.contains(QStringLiteral("\n75"))) << out.toStdString();
}

TEST(ResultCells, RefusesWhatNoReportGivesAndNamesTheCell)
{
    const QDate casting(2026, 9, 1);
    const auto read = [&](ResultCells cells) { return ReadResultCells(cells, DueKind::Standard, 2, casting); };
    const ResultCells good{QStringLiteral(" BG-1 "), QStringLiteral("2026-9-29"), QStringLiteral("100"),
                           {QStringLiteral("31,5"), QStringLiteral("32.0"), QStringLiteral("３３")}};
    const ReadRow ok = read(good);
    ASSERT_TRUE(ok.result);
    EXPECT_EQ(ok.result->strengths, (std::array<double, 3>{31.5, 32.0, 33.0}));
    EXPECT_EQ(ok.result->edgeMm, 100);
    EXPECT_EQ(ok.result->testDate, Day(2026, 9, 29));
    EXPECT_EQ(ok.result->report, QStringLiteral("BG-1"));
    EXPECT_EQ(ok.result->number, 2);

    const ReadRow empty = read({QStringLiteral("BG-2"), {}, QStringLiteral("150"), {}});
    EXPECT_FALSE(empty.result);
    EXPECT_FALSE(empty.problem) << "a row with no strength holds no result";

    struct Bad {
        ResultCells cells;
        ResultColumn column;
    };
    const auto with = [&](const std::function<void(ResultCells&)>& change) {
        ResultCells c = good;
        change(c);
        return c;
    };
    const Bad bad[] = {
        {with([](ResultCells& c) { c.strengths[1] = QStringLiteral("150.1"); }), ResultColumn::Strength2},
        {with([](ResultCells& c) { c.strengths[0] = QStringLiteral("0"); }), ResultColumn::Strength1},
        {with([](ResultCells& c) { c.strengths[2] = QStringLiteral("3x"); }), ResultColumn::Strength3},
        {with([](ResultCells& c) { c.strengths[2].clear(); }), ResultColumn::Strength3},
        {with([](ResultCells& c) { c.size = QStringLiteral("120"); }), ResultColumn::Size},
        {with([](ResultCells& c) { c.testDate = QStringLiteral("2026-8-31"); }), ResultColumn::TestDate},
        {with([](ResultCells& c) { c.testDate = QStringLiteral("下周"); }), ResultColumn::TestDate},
        {with([](ResultCells& c) { c.report = QString(51, u'号'); }), ResultColumn::Report},
    };
    for (const Bad& b : bad) {
        const ReadRow r = read(b.cells);
        EXPECT_FALSE(r.result);
        ASSERT_TRUE(r.problem);
        EXPECT_EQ(r.problem->column, b.column) << r.problem->message.toStdString();
    }
    EXPECT_TRUE(read(with([](ResultCells& c) { c.strengths[1] = QStringLiteral("150"); })).result);
    EXPECT_TRUE(read(with([](ResultCells& c) { c.size = QStringLiteral("150mm"); })).result);
    EXPECT_TRUE(read(with([](ResultCells& c) { c.testDate = QStringLiteral("2026-9-1"); })).result);
    const ReadRow tooHigh = read(bad[0].cells);
    EXPECT_EQ(CellProblemText(3, DueKind::Standard, 2, *tooHigh.problem),
              QStringLiteral("第3行（标养第2组）强度2：强度应大于0且不超过150MPa（输入：150.1）"));
}

} // namespace
} // namespace stolvar
