#include "db/Database.h"
#include "db/ProjectSummary.h"
#include "db/RegisterCheck.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <QMap>

#include <gtest/gtest.h>

// The register's count of groups by project, kept by its triggers whoever writes, and
// checked against the groups (and made again) when the file is opened.
namespace stolvar {
namespace {

using test::Day;

// Every spelling with its number of groups ("NULL" for the rows without a name, "=" and the
// name otherwise), from a query giving "unnamed, name, groups".
QMap<QString, qint64> Spellings(const Database& db, const QString& sql)
{
    QMap<QString, qint64> rows;
    Statement st(db, sql);
    while (st.next())
        rows.insert((st.integer(0) ? "NULL" : "=") + st.text(1), st.integer(2));
    return rows;
}

// As the summary holds them and as the groups give them.
QMap<QString, qint64> SummaryRows(const Database& db)
{
    return Spellings(db, "SELECT 无名称, 工程名称, 组数 FROM gchz");
}

QMap<QString, qint64> CountedFromGroups(const Database& db)
{
    return Spellings(db, "SELECT 工程名称 IS NULL, IFNULL(工程名称, ''), COUNT(*) FROM gcxx GROUP BY 工程名称 COLLATE BINARY");
}

bool Write(Database& db, const QString& sql, const QString& a = {}, const QString& b = {})
{
    Statement st(db, sql);
    if (sql.count(u'?') >= 1)
        st.bind(1, a);
    if (sql.count(u'?') >= 2)
        st.bind(2, b);
    return st.run();
}

class ProjectSummaryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = test::MakeProjectDatabase(path);
        ASSERT_TRUE(db);
        ASSERT_TRUE(HasProjectSummary(*db));
        for (const auto& [project, position] : {std::pair<QVariant, const char*>{"一号楼", "基础"},
                                                {"一号楼", "一层"},
                                                {"Ab楼", "基础"},
                                                {"AB楼", "一层"},
                                                {"b楼", "一层"},   // before C楼 with case aside, after it in bytes
                                                {"C楼", "一层"},
                                                {"", "无名"},
                                                {QVariant(), "x"}}) {
            ASSERT_TRUE(test::InsertGroup(*db, project, position, Day(2024, 3, 1)));
        }
    }

    void expectCountedAlike(const char* after)
    {
        EXPECT_EQ(SummaryRows(*db), CountedFromGroups(*db)) << after;
        EXPECT_TRUE(ProjectSummaryAgrees(*db)) << after;
    }

    test::TempHome home;
    const QString path = home.file("r.dat");
    std::shared_ptr<Database> db;
};

// Names that differ in ASCII case only are one project spelt two ways; the empty name and
// the rows without a name are counted apart.
TEST_F(ProjectSummaryTest, TheTriggersCountEverySpellingThroughEveryKindOfWrite)
{
    expectCountedAlike("the first inserts");
    EXPECT_EQ(SummaryRows(*db).value("=Ab楼"), 1);
    EXPECT_EQ(SummaryRows(*db).value("="), 1);
    EXPECT_EQ(SummaryRows(*db).value("NULL"), 1);
    ASSERT_TRUE(Write(*db, "UPDATE gcxx SET 工程名称 = ? WHERE 工程名称 = ?", "二号楼", "一号楼"));
    expectCountedAlike("a project renamed");
    EXPECT_FALSE(SummaryRows(*db).contains("=一号楼")) << "a spelling goes with its last group";
    ASSERT_TRUE(Write(*db, "UPDATE gcxx SET 工程名称 = ? WHERE 工程名称 COLLATE BINARY = ?", "AB楼", "Ab楼"));
    expectCountedAlike("one spelling renamed into the other");
    ASSERT_TRUE(Write(*db, "UPDATE gcxx SET 工程名称 = NULL WHERE 工程名称 = ?", ""));
    expectCountedAlike("the empty name made no name");
    ASSERT_TRUE(Write(*db, "UPDATE gcxx SET 工程部位 = ?, 工程名称 = 工程名称 WHERE 工程部位 = ?", "二层", "一层"));
    expectCountedAlike("an update that sets a name to itself");
    ASSERT_TRUE(Write(*db, "INSERT OR REPLACE INTO gcxx (工程名称, 工程部位) VALUES (?, ?)", "二号楼", "三层"));
    expectCountedAlike("a group written by INSERT OR REPLACE");
    EXPECT_EQ(SummaryRows(*db).value("=二号楼"), 3);
    ASSERT_TRUE(Write(*db, "DELETE FROM gcxx WHERE 工程名称 IS NULL"));
    expectCountedAlike("the rows without a name deleted");
    ASSERT_TRUE(Write(*db, "DELETE FROM gcxx"));
    EXPECT_TRUE(SummaryRows(*db).isEmpty());
    expectCountedAlike("every row deleted");
}

TEST_F(ProjectSummaryTest, ASummaryThatDisagreesWithTheGroupsIsFoundAndMadeAgain)
{
    const char* const faults[] = {
        "UPDATE gchz SET 组数 = 组数 + 1 WHERE 工程名称 = '一号楼'",             // a count off
        "INSERT INTO gchz VALUES ('三号楼', 0, 1)",                             // a project without groups
        "DELETE FROM gchz WHERE 无名称 = 1",                                    // the rows without a name lost
        "UPDATE gchz SET 工程名称 = 'ab楼' WHERE 工程名称 = 'Ab楼'",             // another spelling, same count
        "DELETE FROM gchz WHERE 工程名称 = 'AB楼'",                              // one of two spellings lost
    };
    for (const char* fault : faults) {
        ASSERT_TRUE(db->execute("DROP TRIGGER gchz_insert; DROP TRIGGER gchz_delete; DROP TRIGGER gchz_rename"));
        ASSERT_TRUE(db->execute(QString::fromUtf8(fault))) << fault;
        EXPECT_FALSE(ProjectSummaryAgrees(*db)) << fault;
        EXPECT_EQ(EnsureProjectSummary(*db), ProjectSummaryState::Sound) << "made again without its triggers: " << fault;
        expectCountedAlike(fault);

        ASSERT_TRUE(db->execute(QString::fromUtf8(fault))) << fault;
        EXPECT_EQ(EnsureProjectSummary(*db), ProjectSummaryState::Corrected) << fault;
        expectCountedAlike(fault);
        ASSERT_TRUE(HasProjectSummary(*db));
        EXPECT_EQ(EnsureProjectSummary(*db), ProjectSummaryState::Sound);
    }
}

// A file of an earlier release gains the summary with its check; one that cannot be
// written keeps using the groups' own count when its summary is wrong.
TEST_F(ProjectSummaryTest, TheCheckAtOpeningMakesTheSummaryOrDistrustsIt)
{
    ASSERT_TRUE(db->execute("DROP TABLE gchz"));   // its triggers go with it
    ASSERT_FALSE(HasProjectSummary(*db));
    OpenedRegisterCheck check = CheckOpenedRegister(*db);
    EXPECT_TRUE(check.damage.isEmpty());
    EXPECT_FALSE(check.projectCountsCorrected) << "the tree was counted from the groups";
    ASSERT_TRUE(HasProjectSummary(*db));
    expectCountedAlike("made by the check");

    ASSERT_TRUE(db->execute("UPDATE gchz SET 组数 = 5 WHERE 工程名称 = '一号楼'"));
    check = CheckOpenedRegister(*db);
    EXPECT_TRUE(check.projectCountsCorrected);
    EXPECT_FALSE(db->isProjectSummaryDistrusted());
    expectCountedAlike("corrected by the check");

    ASSERT_TRUE(db->execute("UPDATE gchz SET 组数 = 5 WHERE 工程名称 = '一号楼'"));
    db.reset();
    const auto readOnly = Database::OpenReadOnly(path);
    ASSERT_TRUE(readOnly && readOnly->isReadOnly());
    check = CheckOpenedRegister(*readOnly);
    EXPECT_TRUE(check.projectCountsCorrected);
    EXPECT_TRUE(readOnly->isProjectSummaryDistrusted());
    EXPECT_EQ(SummaryRows(*readOnly).value("=一号楼"), 5) << "nothing written";
}

} // namespace
} // namespace stolvar
