#include "model/mail/DueNotice.h"

namespace stolvar {

QSet<QString> DueEntries::all() const
{
    QSet<QString> set;
    for (const QStringList* list : {&standard, &sameCondition, &formRemoval})
        for (const QString& entry : *list)
            set.insert(entry);
    return set;
}

QStringList SplitReminderEntries(const QString& text)
{
    QStringList entries;
    for (const QString& part : text.split(QStringLiteral("\r\n\r\n"))) {
        if (!part.trimmed().isEmpty())
            entries << part.trimmed();
    }
    return entries;
}

DueEntries CollectDueEntries(const QString& standardText, const QString& sameConditionText,
                             const QString& formRemovalText)
{
    return {SplitReminderEntries(standardText), SplitReminderEntries(sameConditionText),
            SplitReminderEntries(formRemovalText)};
}

DueNotice ComposeDueNotice(const DueEntries& entries)
{
    DueNotice notice;
    notice.summary = QStringLiteral("今天有%1组试块需要送检").arg(entries.total());
    QStringList lines;
    const std::pair<QString, qsizetype> kinds[] = {{QStringLiteral("标养试块"), entries.standard.size()},
                                                   {QStringLiteral("同养试块"), entries.sameCondition.size()},
                                                   {QStringLiteral("拆模试块"), entries.formRemoval.size()}};
    for (const auto& [kind, count] : kinds) {
        if (count > 0)
            lines << QStringLiteral("%1：%2组").arg(kind).arg(count);
    }
    notice.body = lines.join(u'\n');
    return notice;
}

bool NotificationGate::shouldNotify(const DueEntries& entries, const QDate& today) const
{
    if (entries.total() == 0)
        return false;
    if (today != m_lastDay)
        return true;
    const QSet<QString> named = entries.all();
    return !m_lastNamed.contains(named);
}

void NotificationGate::recordNotified(const DueEntries& entries, const QDate& today)
{
    m_lastDay = today;
    m_lastNamed = entries.all();
}

} // namespace stolvar
