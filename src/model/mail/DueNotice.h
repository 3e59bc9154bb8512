#pragma once

#include <QDate>
#include <QSet>
#include <QString>
#include <QStringList>

namespace stolvar {

// The groups a due scan found, one reminder entry each, per kind.
struct DueEntries {
    QStringList standard;
    QStringList sameCondition;
    QStringList formRemoval;

    qsizetype total() const { return standard.size() + sameCondition.size() + formRemoval.size(); }
    QSet<QString> all() const;
};

// Splits a reminder text into its entries (each closed by an empty line).
QStringList SplitReminderEntries(const QString& text);
DueEntries CollectDueEntries(const QString& standardText, const QString& sameConditionText,
                             const QString& formRemovalText);

// What a desktop notification says: the number of groups, and one line per kind found.
struct DueNotice {
    QString summary;
    QString body;
};
DueNotice ComposeDueNotice(const DueEntries& entries);

// At most one notification a day for the same groups: the first scan of a day that finds
// groups notifies, and so does a later scan that finds a group the last one did not name.
class NotificationGate
{
public:
    bool shouldNotify(const DueEntries& entries, const QDate& today) const;
    void recordNotified(const DueEntries& entries, const QDate& today);

private:
    QDate m_lastDay;
    QSet<QString> m_lastNamed;
};

} // namespace stolvar
