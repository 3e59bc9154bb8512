#include "model/mail/DueNotice.h"
#include "model/mail/ReminderTexts.h"
#include "support/RemindFixtures.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::At;
using test::Group;

TEST(DueNotice, CountsOneGroupPerReminderEntry)
{
    const SpecimenGroup a = Group(1, At(2017, 4, 15)), b = Group(2, At(2017, 4, 15), QStringLiteral("二号楼"));
    const QString standard = StandardDueEntry(a) + StandardDueEntry(b);
    const QString formRemoval = FormRemovalEntry(a);
    const DueEntries entries = CollectDueEntries(standard, QString(), formRemoval);
    EXPECT_EQ(entries.standard.size(), 2);
    EXPECT_EQ(entries.sameCondition.size(), 0);
    EXPECT_EQ(entries.formRemoval.size(), 1);

    const DueNotice notice = ComposeDueNotice(entries);
    EXPECT_EQ(notice.summary, QStringLiteral("今天有3组试块需要送检"));
    EXPECT_EQ(notice.body, QStringLiteral("标养试块：2组\n拆模试块：1组"));
}

TEST(DueNotice, GateNotifiesOncePerDayUnlessANewGroupAppears)
{
    const QString first = StandardDueEntry(Group(1, At(2017, 4, 15)));
    const QString second = StandardDueEntry(Group(2, At(2017, 4, 15), QStringLiteral("二号楼")));
    const QDate day(2017, 5, 10);
    const struct {
        const char* what;
        QString standard;
        QDate today;
        bool notifies;
    } steps[] = {
        {"nothing due", QString(), day, false},
        {"first scan that finds a group", first, day, true},
        {"same group again", first, day, false},
        {"a new group", first + second, day, true},
        {"one of them gone", second, day, false},
        {"next day, same groups", second, day.addDays(1), true},
        {"next day, nothing due", QString(), day.addDays(1), false},
    };
    NotificationGate gate;
    for (const auto& step : steps) {
        const DueEntries entries = CollectDueEntries(step.standard, QString(), QString());
        EXPECT_EQ(gate.shouldNotify(entries, step.today), step.notifies) << step.what;
        if (step.notifies)
            gate.recordNotified(entries, step.today);
    }
}

} // namespace
} // namespace stolvar
