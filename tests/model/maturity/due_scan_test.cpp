#include "model/maturity/DueScan.h"

#include "support/RemindFixtures.h"

namespace stolvar {
namespace {

using test::At;
using test::Group;

DueReminder Reminder(const SpecimenGroup& g, DueKind kind, const QDate& horizon,
                     const QVector<TemperatureRecord>& window = {})
{
    return MakeDueReminder(g, ComputeDueDays(g.castingDate, window, CountingRule{}), kind, horizon);
}

TEST(ReminderTexts, WritesEachKindsEntryExactly)
{
    const SpecimenGroup g = Group(1, At(2024, 5, 1));
    const DueTexts texts = ReminderTexts({Reminder(g, DueKind::Standard, QDate(2024, 5, 29)),
                                          Reminder(g, DueKind::FormRemoval, QDate(2024, 5, 29))},
                                         QDate(2024, 5, 29), MaturityRule::Classic);
    EXPECT_EQ(texts.standardText, QStringLiteral("工程名称：一号楼\r\n工程部位：三层梁板\r\n强度等级：C30\r\n"
                                                 "成型日期2024年5月1日\r\n送样日期2024年5月29日\r\n标养：2\r\n\r\n"));
    EXPECT_EQ(texts.formRemovalText, QStringLiteral("工程名称：一号楼\r\n工程部位：三层梁板【梁板拆模】\r\n强度等级：C30\r\n"
                                                    "成型日期2024年5月1日\r\n送样日期2024年5月15日\r\n\r\n"));
    EXPECT_TRUE(texts.sameConditionText.isEmpty());
}

// 40 days of 20 ℃ from the day after casting: 600 ℃·d on 31 May. The entry gives the sum
// and the age on the horizon, as table 1 has them.
TEST(ReminderTexts, TheSameConditionEntryGivesSumAndAgeOnTheHorizon)
{
    QVector<TemperatureRecord> window;
    for (int d = 0; d <= 40; ++d)
        window.append({d + 1, AddDays(At(2024, 5, 1), d), 20.0f, 25.0f, 15.0f});
    const SpecimenGroup g = Group(1, At(2024, 5, 1));
    const QDate horizon(2024, 6, 2);
    const DueTexts texts =
        ReminderTexts({Reminder(g, DueKind::SameCondition, horizon, window)}, horizon, MaturityRule::Classic);
    EXPECT_EQ(texts.sameConditionText, QStringLiteral("工程名称：一号楼\r\n工程部位：三层梁板\r\n强度等级：C30\r\n"
                                                      "成型日期：2024年5月1日\r\n同养：1\r\n截止至2024年6月2日累计温度为：600℃\r\n"
                                                      "截止至2024年6月2日同条件养护龄期为32天\r\n\r\n"));
    const DueTexts standard =
        ReminderTexts({Reminder(g, DueKind::SameCondition, horizon, window)}, horizon, MaturityRule::Standard2015);
    EXPECT_TRUE(standard.sameConditionText.contains(QStringLiteral("600℃（按GB 50204-2015）")));
}

// Cast 1 May, standard day 29 May: listed from the day the lead time reaches it, and on
// every later day up to 30 days after it (the log then keeps it from being listed twice).
TEST(DueForReminder, FromTheLeadTimeAheadBackToThirtyDaysAgo)
{
    const SpecimenGroup g = Group(1, At(2024, 5, 1, 16, 20));   // a time of day shifts nothing
    const GroupDueDays due = ComputeDueDays(g.castingDate, {}, CountingRule{});
    const struct {
        QDate scanDay;
        int lead;
        bool due;
    } cases[] = {
        {QDate(2024, 5, 26), 3, true},  {QDate(2024, 5, 25), 3, false}, {QDate(2024, 5, 27), 3, true},
        {QDate(2024, 5, 29), 0, true},  {QDate(2024, 5, 28), 0, false}, {QDate(2024, 6, 28), 0, true},
        {QDate(2024, 6, 29), 0, false}, {QDate(2024, 5, 20), 4, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DueForReminder(g, due, DueKind::Standard, c.scanDay, c.lead), c.due)
            << qPrintable(c.scanDay.toString()) << " lead " << c.lead;
}

TEST(DueForReminder, WhatEachKindNeeds)
{
    SpecimenGroup sent = Group(1, At(2024, 5, 1));
    sent.standardState = kSent;
    const GroupDueDays due = ComputeDueDays(sent.castingDate, {}, CountingRule{});
    for (int day = 20; day <= 31; ++day)
        EXPECT_FALSE(DueForReminder(sent, due, DueKind::Standard, QDate(2024, 5, day), 3)) << day;
    EXPECT_TRUE(DueForReminder(sent, due, DueKind::FormRemoval, QDate(2024, 5, 12), 3)) << "the state is the standard's";

    SpecimenGroup counts = Group(2, At(2024, 5, 1));
    counts.formCount.clear();
    counts.standardCount.clear();
    EXPECT_FALSE(DueForReminder(counts, due, DueKind::FormRemoval, QDate(2024, 5, 12), 3)) << "no form-removal count";
    EXPECT_FALSE(DueForReminder(counts, due, DueKind::Standard, QDate(2024, 5, 26), 3)) << "no groups to send";
    counts.formCount = QStringLiteral("0");
    EXPECT_TRUE(DueForReminder(counts, due, DueKind::FormRemoval, QDate(2024, 5, 12), 3)) << "\"0\" is a count";
    EXPECT_FALSE(DueForReminder(counts, due, DueKind::SameCondition, QDate(2024, 7, 1), 3)) << "not due yet";
}

TEST(RecentPoursText, ListsTheTenNewestNewestFirst)
{
    QVector<SpecimenGroup> newestFirst;
    for (int id = 12; id >= 1; --id)
        newestFirst.append(Group(id, At(2024, 5, id), QStringLiteral("工程%1").arg(id)));
    const QString text = RecentPoursText(newestFirst);
    EXPECT_EQ(text.count(QStringLiteral("工程名称：")), 10);
    EXPECT_TRUE(text.startsWith(QStringLiteral("工程名称：工程12\r\n工程部位：三层梁板\r\n强度等级：C30\r\n"
                                               "成型日期：2024年5月12日\r\n\r\n工程名称：工程11")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("工程名称：工程3\r\n工程部位：三层梁板\r\n强度等级：C30\r\n"
                                             "成型日期：2024年5月3日\r\n\r\n")));
}

TEST(MailGate, SendsOncePerCalendarDay)
{
    const MailGateDecision sameDay = MailGate(QStringLiteral("2024年5月26日"), At(2024, 5, 26));
    EXPECT_FALSE(sameDay.sendNow);
    EXPECT_EQ(sameDay.statusText, QStringLiteral("邮件于2024年5月26日发送成功！"));

    for (const QString& mailDay : {QStringLiteral("2024年5月25日"), QString()}) {
        const MailGateDecision decision = MailGate(mailDay, At(2024, 5, 26, 10, 30));
        EXPECT_TRUE(decision.sendNow);
        EXPECT_EQ(decision.statusText, QStringLiteral("邮件暂未发送"));
    }
}

} // namespace
} // namespace stolvar
