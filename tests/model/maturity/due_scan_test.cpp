#include "model/maturity/DueScan.h"

#include "support/RemindFixtures.h"

namespace stolvar {
namespace {

using test::At;
using test::Group;

TEST(ScanDueSpecimens, WritesTheStandardEntryExactly)
{
    const DueTexts texts = ScanDueSpecimens({Group(1, At(2024, 5, 1))}, At(2024, 5, 26, 10), 3);
    EXPECT_EQ(texts.standardText, QStringLiteral("工程名称：一号楼\r\n工程部位：三层梁板\r\n强度等级：C30\r\n"
                                                 "成型日期2024年5月1日\r\n送样日期2024年5月29日\r\n标养：2\r\n\r\n"));
}

// Cast 1 May, delivery 29 May: which scan moments list the group for a lead time.
TEST(ScanDueSpecimens, ListsAStandardGroupOnlyOnItsReminderDay)
{
    const struct {
        QDateTime now;
        int daysAhead;
        bool listed;
    } cases[] = {
        {At(2024, 5, 26, 10), 3, true},
        {At(2024, 5, 25, 10), 3, false},
        {At(2024, 5, 27, 10), 3, false},
        {At(2024, 5, 26, 23, 59), 3, true},
        {At(2024, 5, 26), 3, false},  // at midnight the difference is whole: the match falls a day later
        {At(2024, 5, 27), 3, true},
        {At(2024, 5, 29, 10), 0, true},   // delivery day
        {At(2024, 5, 30, 10), 0, true},   // −0.4 truncates to 0 as well
        {At(2024, 5, 31, 10), 0, false},  // reference day passed
        {At(2024, 5, 28, 10), 0, false},
        {At(2024, 5, 31, 10), -1, false},  // a countdown past its reference day never counts
    };
    for (const auto& c : cases) {
        const DueTexts texts = ScanDueSpecimens({Group(1, At(2024, 5, 1))}, c.now, c.daysAhead);
        EXPECT_EQ(!texts.standardText.isEmpty(), c.listed) << qPrintable(c.now.toString()) << " lead " << c.daysAhead;
    }
}

TEST(ScanDueSpecimens, NeverListsStandardGroupsAlreadySent)
{
    SpecimenGroup sent = Group(1, At(2024, 5, 1));
    sent.standardState = kSent;
    for (int day = 20; day <= 31; ++day) {
        for (int lead = 0; lead <= 8; ++lead) {
            const DueTexts texts = ScanDueSpecimens({sent}, At(2024, 5, day, 10), lead);
            EXPECT_TRUE(texts.standardText.isEmpty()) << day << " " << lead;
        }
    }
    // The state does not concern form removal.
    EXPECT_FALSE(ScanDueSpecimens({sent}, At(2024, 5, 12, 10), 3).formRemovalText.isEmpty());
}

TEST(ScanDueSpecimens, ListsFormRemovalWheneverACountIsWritten)
{
    SpecimenGroup none = Group(1, At(2024, 5, 1));
    none.formCount.clear();
    SpecimenGroup zero = Group(2, At(2024, 5, 1), QStringLiteral("二号楼"));
    zero.formCount = QStringLiteral("0");
    const DueTexts texts = ScanDueSpecimens({none, zero}, At(2024, 5, 12, 10), 3);
    EXPECT_EQ(texts.formRemovalText, QStringLiteral("工程名称：二号楼\r\n工程部位：三层梁板【梁板拆模】\r\n强度等级：C30\r\n"
                                                    "成型日期2024年5月1日\r\n送样日期2024年5月15日\r\n\r\n"));
    EXPECT_TRUE(texts.standardText.isEmpty());
}

TEST(ScanDueSpecimens, KeepsTheOrderOfTheGroupsAndSkipsGroupsWithoutDate)
{
    SpecimenGroup undated = Group(2, QDateTime());
    const DueTexts texts = ScanDueSpecimens(
        {Group(1, At(2024, 5, 1), QStringLiteral("甲")), undated, Group(3, At(2024, 5, 1), QStringLiteral("乙"))},
        At(2024, 5, 26, 10), 3);
    EXPECT_EQ(texts.standardText.count(QStringLiteral("工程名称")), 2);
    EXPECT_LT(texts.standardText.indexOf(QStringLiteral("甲")), texts.standardText.indexOf(QStringLiteral("乙")));
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
