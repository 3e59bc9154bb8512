#include "model/strength/StrengthRules.h"
#include "model/strength/StrengthTexts.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

TEST(DesignStrength, IsTheNumberAfterTheFirstC)
{
    EXPECT_EQ(DesignStrength(QStringLiteral("C30")), 30);
    EXPECT_EQ(DesignStrength(QStringLiteral("C30P8")), 30);
    EXPECT_EQ(DesignStrength(QStringLiteral("水下C35")), 35);
    EXPECT_EQ(DesignStrength(QStringLiteral("c25")), 25);
    EXPECT_EQ(DesignStrength(QStringLiteral("Ｃ４０")), 40);
    EXPECT_EQ(DesignStrength(QStringLiteral("C60")), 60);
    for (const char* unreadable : {"", "C", "P8", "早强", "C-30", "C0"})
        EXPECT_EQ(DesignStrength(QString::fromUtf8(unreadable)), std::nullopt) << unreadable;
    EXPECT_EQ(UnknownGradeText(QStringLiteral("P8")), QStringLiteral("强度等级无法识别：P8"));
}

TEST(RoundToTenth, GoesHalfUpEvenWhereTheBinaryProductFallsShort)
{
    EXPECT_DOUBLE_EQ(RoundToTenth(23.0 * 0.95), 21.9);   // 21.849999… in binary
    EXPECT_DOUBLE_EQ(RoundToTenth(30.45), 30.5);
    EXPECT_DOUBLE_EQ(RoundToTenth(30.44), 30.4);
    EXPECT_DOUBLE_EQ(RoundToTenth(29.449), 29.4);
    EXPECT_DOUBLE_EQ(RoundToTenth(31.166666), 31.2);
}

struct GroupCase {
    const char* name;
    std::array<double, 3> strengths;
    int edge;
    std::optional<int> fcuk;
    GroupBasis basis;
    double value;
};

// The 15 % rule both ways and at its bound, the size factors, the rounding.
const GroupCase kGroupCases[] = {
    {"mean of three", {30.2, 31.5, 32.8}, 150, 30, GroupBasis::Mean, 31.5},
    {"largest 16.7 % above the middle", {29.0, 30.0, 35.0}, 150, 30, GroupBasis::Middle, 30.0},
    {"smallest 16.7 % below the middle", {25.0, 30.0, 31.0}, 150, 30, GroupBasis::Middle, 30.0},
    {"exactly 15 % off is not more", {26.0, 30.0, 34.5}, 150, 30, GroupBasis::Mean, 30.2},
    {"both off: invalid", {24.0, 30.0, 36.0}, 150, 30, GroupBasis::Invalid, 0},
    {"order of the cubes does not matter", {36.0, 24.0, 30.0}, 150, 30, GroupBasis::Invalid, 0},
    {"100 mm × 0.95, half up", {23.0, 23.0, 23.0}, 100, 30, GroupBasis::Mean, 21.9},
    {"200 mm × 1.05", {30.1, 30.1, 30.1}, 200, 30, GroupBasis::Mean, 31.6},
    {"middle value, then the size factor", {25.0, 30.0, 31.0}, 100, 30, GroupBasis::Middle, 28.5},
    {"C55 may use 100 mm", {60.0, 60.0, 60.0}, 100, 55, GroupBasis::Mean, 57.0},
    {"C60 on 150 mm", {66.0, 67.0, 68.0}, 150, 60, GroupBasis::Mean, 67.0},
    {"C60 on 100 mm is refused", {66.0, 67.0, 68.0}, 100, 60, GroupBasis::Invalid, 0},
    {"an unreadable grade skips only the C60 check", {66.0, 67.0, 68.0}, 100, std::nullopt, GroupBasis::Mean, 63.7},
    {"an unknown cube edge", {30.0, 30.0, 30.0}, 120, 30, GroupBasis::Invalid, 0},
};

TEST(RepresentativeValue, FollowsTheWorkedCases)
{
    for (const GroupCase& c : kGroupCases) {
        const GroupValue v = RepresentativeValue(c.strengths, c.edge, c.fcuk);
        EXPECT_EQ(v.basis, c.basis) << c.name;
        EXPECT_DOUBLE_EQ(v.value, c.value) << c.name;
    }
    EXPECT_EQ(RepresentativeValue({66.0, 67.0, 68.0}, 200, 65).problem, QStringLiteral("C60及以上应采用标准尺寸试件"));
    EXPECT_TRUE(RepresentativeValue({24.0, 30.0, 36.0}, 150, 30).problem.isEmpty());
    EXPECT_FALSE(RepresentativeValue({30.0, 30.0, 30.0}, 120, 30).problem.isEmpty());
}

TEST(SameConditionValue, ConvertsTheRoundedValueAndRoundsAgain)
{
    // 30.45 is first rounded to 30.5; 30.5 × 1.10 = 33.55 → 33.6 (unrounded: 33.495 → 33.5).
    const GroupValue rep = RepresentativeValue({30.40, 30.45, 30.50}, 150, 30);
    ASSERT_DOUBLE_EQ(rep.value, 30.5);
    EXPECT_DOUBLE_EQ(SameConditionValue(rep, 1.10).value, 33.6);
    EXPECT_DOUBLE_EQ(SameConditionValue(rep, 1.00).value, 30.5);
    EXPECT_FALSE(SameConditionValue(RepresentativeValue({24.0, 30.0, 36.0}, 150, 30), 1.10).valid());
    EXPECT_TRUE(IsAcceptedConversion(0.95));
    EXPECT_TRUE(IsAcceptedConversion(1.10));
    EXPECT_FALSE(IsAcceptedConversion(0.94));
    EXPECT_FALSE(IsAcceptedConversion(1.11));
}

// n values of mean 40 and a deviation near 5 (alternating 35 and 45), for a C30 lot.
QVector<double> SpreadValues(int n)
{
    QVector<double> values;
    for (int i = 0; i < n; ++i)
        values << (i % 2 == 0 ? 35.0 : 45.0);
    return values;
}

struct LambdaCase {
    int n;
    LotMethod method;
    double meanFactor;
    double minimumFactor;
};

TEST(EvaluateLot, TakesTheFactorsOfItsSizeAtTheBounds)
{
    const LambdaCase cases[] = {
        {9, LotMethod::NonStatistical, 1.15, 0.95}, {10, LotMethod::Statistical, 1.15, 0.90},
        {14, LotMethod::Statistical, 1.15, 0.90},   {15, LotMethod::Statistical, 1.05, 0.85},
        {19, LotMethod::Statistical, 1.05, 0.85},   {20, LotMethod::Statistical, 0.95, 0.85},
    };
    for (const LambdaCase& c : cases) {
        const std::optional<LotEvaluation> lot = EvaluateLot(SpreadValues(c.n), 30, LotMethod::Automatic);
        ASSERT_TRUE(lot) << c.n;
        EXPECT_EQ(lot->method, c.method) << c.n;
        EXPECT_DOUBLE_EQ(lot->meanFactor, c.meanFactor) << c.n;
        EXPECT_DOUBLE_EQ(lot->minimumFactor, c.minimumFactor) << c.n;
        if (c.method == LotMethod::Statistical) {
            EXPECT_DOUBLE_EQ(lot->meanLimit, 30 + c.meanFactor * *lot->deviation) << c.n;
            EXPECT_DOUBLE_EQ(lot->minimumLimit, c.minimumFactor * 30) << c.n;
        } else {
            EXPECT_DOUBLE_EQ(lot->meanLimit, c.meanFactor * 30) << c.n;
        }
    }
}

TEST(EvaluateLot, StatisticalWorkedCase)
{
    const QVector<double> values{31.5, 31.8, 32.3, 33.0, 34.6, 35.2, 35.4, 36.8, 37.6, 38.1, 38.9, 39.2};
    const std::optional<LotEvaluation> lot = EvaluateLot(values, 30, LotMethod::Automatic);
    ASSERT_TRUE(lot);
    EXPECT_EQ(lot->n, 12);
    EXPECT_NEAR(lot->mean, 35.3667, 1e-4);
    EXPECT_NEAR(*lot->deviation, 2.7796, 1e-4);
    EXPECT_DOUBLE_EQ(lot->minimum, 31.5);
    EXPECT_TRUE(lot->passes());
    EXPECT_EQ(LotResultText(*lot),
              QStringLiteral("n=12　mfcu=35.37　Sfcu=2.78　fcu,min=31.5　fcu,k=30｜统计方法：mfcu=35.37 ≥ "
                             "fcu,k+λ1·Sfcu=30+1.15×2.78=33.20 ✓；fcu,min=31.5 ≥ λ2·fcu,k=0.90×30=27.00 ✓｜评定结果：合格"));
}

TEST(EvaluateLot, TakesADeviationBelowTwoAndAHalfAsTwoAndAHalf)
{
    const QVector<double> close{35.0, 35.1, 35.2, 35.3, 35.4, 35.5, 35.6, 35.7, 35.8, 35.9};
    const std::optional<LotEvaluation> lot = EvaluateLot(close, 30, LotMethod::Automatic);
    ASSERT_TRUE(lot);
    EXPECT_NEAR(*lot->deviation, 0.3028, 1e-4);
    EXPECT_DOUBLE_EQ(lot->deviationUsed, 2.5);
    EXPECT_DOUBLE_EQ(lot->meanLimit, 30 + 1.15 * 2.5);
    EXPECT_TRUE(LotSummaryText(*lot).contains(QStringLiteral("Sfcu=0.30（取2.50）"))) << LotSummaryText(*lot).toStdString();
    // The same mean passes against the true deviation but fails against 2.5 MPa.
    QVector<double> lower;
    for (const double f : close)
        lower << f - 2.7;   // mean 32.75 < 32.875
    const std::optional<LotEvaluation> failing = EvaluateLot(lower, 30, LotMethod::Automatic);
    ASSERT_TRUE(failing);
    EXPECT_FALSE(failing->meanPasses);
    EXPECT_TRUE(failing->minimumPasses);
    EXPECT_TRUE(LotResultText(*failing).endsWith(QStringLiteral("✓｜评定结果：不合格")));
    EXPECT_TRUE(LotConditionTexts(*failing).first().endsWith(QStringLiteral("✗")));
}

TEST(EvaluateLot, NonStatisticalBelowAndFromC60)
{
    const std::optional<LotEvaluation> c30 = EvaluateLot({34.5, 34.5, 34.5}, 30, LotMethod::Automatic);
    ASSERT_TRUE(c30);
    EXPECT_TRUE(c30->meanPasses) << "a mean equal to its limit passes";
    EXPECT_EQ(LotConditionTexts(*c30),
              (QStringList{QStringLiteral("mfcu=34.50 ≥ λ3·fcu,k=1.15×30=34.50 ✓"),
                           QStringLiteral("fcu,min=34.5 ≥ λ4·fcu,k=0.95×30=28.50 ✓")}));
    EXPECT_TRUE(EvaluateLot({34.4, 34.5, 34.6}, 30, LotMethod::Automatic)->meanPasses);
    EXPECT_FALSE(EvaluateLot({34.4, 34.4, 34.6}, 30, LotMethod::Automatic)->meanPasses);

    const std::optional<LotEvaluation> c60 = EvaluateLot({66.0, 67.0, 56.0}, 60, LotMethod::Automatic);
    ASSERT_TRUE(c60);
    EXPECT_DOUBLE_EQ(c60->meanFactor, 1.10);
    EXPECT_DOUBLE_EQ(c60->meanLimit, 66.0);
    EXPECT_FALSE(c60->meanPasses);                // 63.0 < 66.0
    EXPECT_FALSE(c60->minimumPasses);             // 56.0 < 57.0
    EXPECT_EQ(LotVerdictText(*c60), QStringLiteral("评定结果：不合格"));

    const std::optional<LotEvaluation> one = EvaluateLot({36.0}, 30, LotMethod::Automatic);
    ASSERT_TRUE(one);
    EXPECT_FALSE(one->deviation);
    EXPECT_TRUE(LotSummaryText(*one).contains(QStringLiteral("Sfcu=—")));
    EXPECT_FALSE(EvaluateLot({}, 30, LotMethod::Automatic));
}

TEST(EvaluateLot, AForcedMethodAppliesWhereTheLotAllowsIt)
{
    const std::optional<LotEvaluation> forcedNon = EvaluateLot(SpreadValues(12), 30, LotMethod::NonStatistical);
    EXPECT_EQ(forcedNon->method, LotMethod::NonStatistical);
    EXPECT_FALSE(forcedNon->statisticalRefused);

    const std::optional<LotEvaluation> tooFew = EvaluateLot(SpreadValues(9), 30, LotMethod::Statistical);
    EXPECT_EQ(tooFew->method, LotMethod::NonStatistical);
    EXPECT_TRUE(tooFew->statisticalRefused);
    EXPECT_EQ(LotMethodHeading(*tooFew), QStringLiteral("非统计方法（统计方法需n≥10）"));
    EXPECT_EQ(EvaluateLot(SpreadValues(10), 30, LotMethod::Statistical)->method, LotMethod::Statistical);
}

TEST(FormRemoval, ComparesThePercentageWithTheMembersNeed)
{
    EXPECT_EQ(FormRemovalText(JudgeFormRemoval(24.6, 30, 75)), QStringLiteral("达到设计强度的82%，可拆模（要求≥75%）"));
    EXPECT_EQ(FormRemovalText(JudgeFormRemoval(22.4, 30, 75)), QStringLiteral("达到设计强度的74%，不可拆模（要求≥75%）"));
    EXPECT_TRUE(JudgeFormRemoval(22.5, 30, 75).allowed) << "exactly 75 % is enough";
    EXPECT_FALSE(JudgeFormRemoval(29.9, 30, 100).allowed);
    EXPECT_EQ(FormRemovalText(JudgeFormRemoval(24.6, 30, std::nullopt)), QStringLiteral("达到设计强度的82%"));
    EXPECT_EQ(FormRequirementFromText(QStringLiteral("75")), 75);
    EXPECT_EQ(FormRequirementFromText(QStringLiteral("80")), std::nullopt);
    EXPECT_EQ(FormRequirementFromText(QString()), std::nullopt);
}

TEST(PanelStrengthText, ListsEachKindsValues)
{
    TestResult standard1{DueKind::Standard, 1, {}, {}, 150, {31.0, 32.0, 33.3}};
    TestResult standard2{DueKind::Standard, 2, {}, {}, 150, {24.0, 30.0, 36.0}};
    TestResult same{DueKind::SameCondition, 1, {}, {}, 150, {34.0, 34.0, 34.0}};
    TestResult form{DueKind::FormRemoval, 1, {}, {}, 150, {24.6, 24.6, 24.6}};
    EXPECT_EQ(PanelStrengthText({form, standard2, same, standard1}, QStringLiteral("C30"), 1.10),
              QStringLiteral("标养：32.1、无效 MPa；同养：37.4 MPa（×1.10）；拆模：82%"));
    EXPECT_EQ(PanelStrengthText({form}, QStringLiteral("P8"), 1.10), QStringLiteral("拆模：24.6 MPa"));
    EXPECT_EQ(PanelStrengthText({}, QStringLiteral("C30"), 1.10), QStringLiteral("暂无试验结果"));
}

} // namespace
} // namespace stolvar
