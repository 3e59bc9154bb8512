#include "db/Database.h"
#include "db/ResultsSchema.h"
#include "model/strength/Evaluation.h"
#include "model/strength/StrengthSettings.h"
#include "model/strength/StrengthTexts.h"
#include "model/workbook/StrengthSheet.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Day;

StrengthGroup Group(const QString& project, const QString& position, const QString& grade, const QDateTime& casting,
                    QVector<TestResult> results = {})
{
    StrengthGroup g;
    g.group.project = project;
    g.group.position = position;
    g.group.grade = grade;
    g.group.castingDate = casting;
    g.cast = casting.date();
    g.group.standardCount = QStringLiteral("2");
    g.group.sameCount = QStringLiteral("1");
    g.results = std::move(results);
    g.standardDue = casting.date().addDays(28);
    return g;
}

TestResult Standard(int number, double a, double b, double c, int edge = 150)
{
    return {DueKind::Standard, number, {}, {}, edge, {a, b, c}};
}

TestResult Same(int number, double a, double b, double c)
{
    return {DueKind::SameCondition, number, {}, {}, 150, {a, b, c}};
}

class EvaluationTest : public ::testing::Test
{
protected:
    EvaluationTest()
    {
        reg.groups = {
            Group(QStringLiteral("乙楼"), QStringLiteral("二层柱"), QStringLiteral("C30"), Day(2026, 9, 10),
                  {Standard(1, 36.0, 36.0, 36.0), Standard(2, 24.0, 30.0, 36.0), Same(1, 32.0, 32.0, 32.0)}),
            Group(QStringLiteral("乙楼"), QStringLiteral("一层柱"), QStringLiteral("C30"), Day(2026, 9, 1),
                  {Standard(1, 35.0, 35.0, 35.0)}),
            Group(QStringLiteral("甲楼"), QStringLiteral("基础"), QStringLiteral("C30"), Day(2026, 8, 20),
                  {Standard(1, 33.0, 33.0, 33.0, 100)}),
            Group(QStringLiteral("甲楼"), QStringLiteral("垫层"), QStringLiteral("C15"), Day(2026, 8, 1)),
            Group(QStringLiteral("甲楼"), QStringLiteral("水池"), QStringLiteral("C30P8"), Day(2026, 8, 5)),
            Group(QStringLiteral("甲楼"), QStringLiteral("后浇带"), QStringLiteral("早强"), Day(2026, 8, 6),
                  {Standard(1, 30.0, 30.0, 30.0)}),
        };
        reg.choices = ChoicesOf(reg);
    }

    ScopeEvaluation evaluate(std::optional<QString> project, const QString& grade, DueKind kind = DueKind::Standard,
                             QDate from = {}, QDate to = {})
    {
        return EvaluateScope(reg, {std::move(project), grade, kind, LotMethod::Automatic, from, to}, 1.10,
                             QDate(2026, 10, 5));
    }

    StrengthRegister reg;
};

TEST_F(EvaluationTest, TheLotIsTheValidGroupsOfTheScope)
{
    const ScopeEvaluation all = evaluate(std::nullopt, QStringLiteral("C30"));
    ASSERT_EQ(all.rows.size(), 4);
    // By casting date: 甲楼 基础, 乙楼 一层柱, then 乙楼 二层柱 1 and 2.
    EXPECT_EQ(all.rows[0].group, 2);
    EXPECT_EQ(all.rows[1].group, 1);
    EXPECT_EQ(all.rows[2].number, 1);
    EXPECT_EQ(all.rows[3].number, 2);
    EXPECT_EQ(ResultOf(reg, all.rows[3]).strengths[0], 24.0);
    ASSERT_TRUE(all.lot);
    EXPECT_EQ(all.lot->n, 3) << "the invalid group takes no part";
    EXPECT_DOUBLE_EQ(all.lot->minimum, 31.4);   // 33.0 × 0.95 = 31.35 → 31.4
    EXPECT_DOUBLE_EQ(all.lot->mean, (31.4 + 35.0 + 36.0) / 3);
    EXPECT_EQ(all.resultText, LotResultText(*all.lot));

    const ScopeEvaluation one = evaluate(QStringLiteral("乙楼"), QStringLiteral("C30"));
    EXPECT_EQ(one.rows.size(), 3);
    EXPECT_EQ(one.lot->n, 2);
    const ScopeEvaluation bounded = evaluate(std::nullopt, QStringLiteral("C30"), DueKind::Standard, QDate(2026, 9, 1),
                                             QDate(2026, 9, 1));
    EXPECT_EQ(bounded.rows.size(), 1);
    EXPECT_EQ(bounded.rows[0].group, 1);
}

TEST_F(EvaluationTest, SameConditionValuesAreConverted)
{
    const ScopeEvaluation same = evaluate(std::nullopt, QStringLiteral("C30"), DueKind::SameCondition);
    ASSERT_EQ(same.rows.size(), 1);
    EXPECT_DOUBLE_EQ(same.rows[0].value.value, 35.2);
    EXPECT_EQ(EvaluationCells(reg, same.rows[0], 1, 1.10),
              (QStringList{"1", "乙楼", "二层柱", "2026年9月10日", "1", "", "32.0", "32.0", "32.0", "35.2", "折算×1.10"}));
    EXPECT_EQ(EvaluationCells(reg, evaluate(std::nullopt, QStringLiteral("C30")).rows[0], 1, 1.10).last(),
              QStringLiteral("×0.95（100mm）"));
    EXPECT_EQ(EvaluationCells(reg, evaluate(std::nullopt, QStringLiteral("C30")).rows[3], 4, 1.10).mid(9),
              (QStringList{"", "无效"}));
}

TEST_F(EvaluationTest, WithoutResultsOrGradeThereIsNoVerdict)
{
    EXPECT_EQ(evaluate(std::nullopt, QStringLiteral("C15")).resultText, QStringLiteral("无可评定的试验结果"));
    const ScopeEvaluation unknown = evaluate(std::nullopt, QStringLiteral("早强"));
    EXPECT_EQ(unknown.rows.size(), 1);
    EXPECT_FALSE(unknown.lot);
    EXPECT_EQ(unknown.resultText, QStringLiteral("强度等级无法识别：早强"));
}

TEST_F(EvaluationTest, CountsTheGroupsPastTheirDayWithoutAResult)
{
    // On 5 October the groups cast up to 7 September are due. 乙楼 一层柱 has one of its two
    // results; 甲楼 基础 one of two; 二层柱 (due 8 October) is not due yet.
    EXPECT_EQ(evaluate(std::nullopt, QStringLiteral("C30")).pendingGroups, 2);
    EXPECT_EQ(evaluate(std::nullopt, QStringLiteral("C15")).pendingGroups, 2);
    EXPECT_EQ(evaluate(QStringLiteral("乙楼"), QStringLiteral("C30")).pendingGroups, 1);
    // A same-condition group counts once its day (from the accumulation) has come.
    EXPECT_EQ(evaluate(std::nullopt, QStringLiteral("C30"), DueKind::SameCondition).pendingGroups, 0);
    reg.groups[1].sameDue = QDate(2026, 10, 5);
    EXPECT_EQ(evaluate(std::nullopt, QStringLiteral("C30"), DueKind::SameCondition).pendingGroups, 1);
    EXPECT_EQ(PendingText(3), QStringLiteral("已到龄期尚无结果：3组"));
}

TEST_F(EvaluationTest, ListsProjectsAndGradesInTheirOrder)
{
    EXPECT_EQ(ProjectsOf(reg), (QStringList{"甲楼", "乙楼"}));   // pinyin: jia before yi
    EXPECT_EQ(reg.choices.of(std::nullopt).grades, (QStringList{"C15", "C30", "C30P8", "早强"}));
    EXPECT_EQ(reg.choices.of(QStringLiteral("乙楼")).grades, QStringList{"C30"});
    EXPECT_EQ(reg.choices.of(QStringLiteral("甲楼")).grades, (QStringList{"C15", "C30", "C30P8", "早强"}));
    const DateRange range = reg.choices.of(QStringLiteral("甲楼")).casting;
    EXPECT_EQ(range.first, QDate(2026, 8, 1));
    EXPECT_EQ(range.last, QDate(2026, 8, 20));
    EXPECT_EQ(reg.choices.of(std::nullopt).casting.last, QDate(2026, 9, 10));
    EXPECT_TRUE(reg.choices.of(QStringLiteral("丙楼")).grades.isEmpty());
    EXPECT_FALSE(reg.choices.of(QStringLiteral("丙楼")).casting.first.isValid());
}

// The page's choices of a project are those the evaluation of that project finds: its
// spellings in Latin capitals or not are one project, groups without a casting date offer
// their grade but no date, and a project whose groups lie apart in the list is still one.
TEST(RegisterChoices, AreThoseOfTheProjectTheEvaluationFinds)
{
    StrengthRegister reg;
    const auto group = [](const QString& project, const QString& grade, QDate cast) {
        StrengthGroup g;
        g.group.project = project;
        g.group.grade = grade;
        g.cast = cast;
        return g;
    };
    reg.groups = {group(QStringLiteral("A栋"), QStringLiteral("C40"), QDate(2026, 3, 1)),
                  group(QStringLiteral("a栋"), QStringLiteral("C25"), QDate(2026, 1, 5)),
                  group(QStringLiteral("B栋"), QStringLiteral("C30"), QDate(2026, 2, 1)),
                  group(QStringLiteral("A栋"), QStringLiteral("C60"), QDate())};
    const RegisterChoices choices = ChoicesOf(reg);
    const ScopeChoices& a = choices.of(QStringLiteral("a栋"));
    EXPECT_EQ(a.grades, (QStringList{"C25", "C40", "C60"}));
    EXPECT_EQ(a.casting.first, QDate(2026, 1, 5));
    EXPECT_EQ(a.casting.last, QDate(2026, 3, 1));
    EXPECT_EQ(&choices.of(QStringLiteral("A栋")), &a);
    EXPECT_EQ(choices.of(QStringLiteral("B栋")).grades, QStringList{"C30"});
    EXPECT_EQ(choices.of(std::nullopt).grades, (QStringList{"C25", "C30", "C40", "C60"}));
    // The evaluation of the project chosen in the other spelling finds the same group.
    reg.groups[0].results = {Standard(1, 45.0, 45.0, 45.0)};
    const EvaluationScope scope{QStringLiteral("a栋"), QStringLiteral("C40"), DueKind::Standard,
                                LotMethod::Automatic, a.casting.first, a.casting.last};
    EXPECT_EQ(EvaluateScope(reg, scope, 1.0, QDate(2026, 6, 1)).rows.size(), 1);
}

TEST_F(EvaluationTest, TheSheetHasABlockPerGradeAndKind)
{
    const Sheet sheet = StrengthSheet(reg, 1.10);
    EXPECT_EQ(sheet.name, QStringLiteral("强度评定"));
    QStringList titles;
    for (const QVector<SheetValue>& row : sheet.rows) {
        if (!row.isEmpty()) {
            if (const auto* text = std::get_if<QString>(&row[0]); text && text->contains(u'　') && !text->startsWith(u'n'))
                titles << *text;
        }
    }
    EXPECT_EQ(titles, (QStringList{"C15　标准养护", "C15　同条件养护（结构实体）", "C30　标准养护",
                                   "C30　同条件养护（结构实体）", "C30P8　标准养护", "C30P8　同条件养护（结构实体）",
                                   "早强　标准养护", "早强　同条件养护（结构实体）"}));
    // The C30 standard block: title, header, four results typed as numbers and dates.
    const int title = int(std::find_if(sheet.rows.begin(), sheet.rows.end(), [](const auto& row) {
                              return !row.isEmpty() && row[0] == SheetValue(QStringLiteral("C30　标准养护"));
                          }) - sheet.rows.begin());
    const QVector<SheetValue>& first = sheet.rows[title + 2];
    EXPECT_EQ(first[0], SheetValue(1.0));
    EXPECT_EQ(first[3], SheetValue(Day(2026, 8, 20)));
    EXPECT_EQ(first[9], SheetValue(31.4));
    EXPECT_EQ(sheet.rows[title + 6][0], SheetValue(LotSummaryText(*evaluate(std::nullopt, QStringLiteral("C30")).lot)));
}

TEST(StrengthRegisterOnDisk, ReadsGroupsResultsAndDueDays)
{
    test::TempHome home;
    auto db = test::MakeProjectDatabase(home.file(QStringLiteral("p.dat")));
    ASSERT_TRUE(EnsureResultsSchema(*db));
    ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("甲"), QStringLiteral("柱"), Day(2026, 9, 1)));
    ASSERT_TRUE(test::InsertGroup(*db, QStringLiteral("甲"), QStringLiteral("板"), Day(2026, 9, 2)));
    for (int d = 0; d < 40; ++d)
        ASSERT_TRUE(test::InsertTemperature(*db, Day(2026, 9, 1).addDays(d), 20));
    ASSERT_EQ(SaveGroupResults(*db, 2, {Standard(1, 30.0, 31.0, 32.0)}, std::nullopt), QString());
    const StrengthRegister reg = LoadStrengthRegister(*db, CountingRule{});
    ASSERT_TRUE(reg.error.isEmpty());
    ASSERT_EQ(reg.groups.size(), 2);
    EXPECT_EQ(reg.groups[0].group.position, QStringLiteral("板"));   // by project, position
    EXPECT_EQ(reg.groups[0].results.size(), 1);
    EXPECT_EQ(reg.groups[1].standardDue, QDate(2026, 9, 29));
    // 20 ℃ a day from the day after casting: 600 ℃·d on the 30th day.
    EXPECT_EQ(reg.groups[1].sameDue, QDate(2026, 10, 1));
    EXPECT_FALSE(LoadStrengthRegister(*db, std::nullopt).groups[1].sameDue);
    EXPECT_EQ(reg.choices.of(QStringLiteral("甲")).casting.first, QDate(2026, 9, 1));
    EXPECT_EQ(reg.choices.of(QStringLiteral("甲")).casting.last, QDate(2026, 9, 2));
}

TEST(ConversionFactor, IsReadFromTempIniWithinItsRange)
{
    test::TempHome home;
    const SettingsStore settings = home.settings();
    EXPECT_DOUBLE_EQ(ReadConversionFactor(settings), 1.10);
    settings.write(keys::kConversionFactor, QStringLiteral("1.05"));
    EXPECT_DOUBLE_EQ(ReadConversionFactor(settings), 1.05);
    for (const char* bad : {"0.9", "1.2", "abc"}) {
        settings.write(keys::kConversionFactor, QString::fromUtf8(bad));
        EXPECT_DOUBLE_EQ(ReadConversionFactor(settings), 1.10) << bad;
    }
    double typed = 0;
    EXPECT_TRUE(ParseConversionFactor(QStringLiteral("0,95"), &typed));
    EXPECT_DOUBLE_EQ(typed, 0.95);
    EXPECT_EQ(FormatConversionFactor(1.0), QStringLiteral("1.00"));
}

} // namespace
} // namespace stolvar
