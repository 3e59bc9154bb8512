#pragma once

#include "db/Records.h"
#include "model/maturity/DueDays.h"
#include "model/maturity/Maturity.h"
#include "model/maturity/Projection.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>

namespace stolvar {

class Database;

// The accumulations and due days of groups, read from the database. They run on any
// thread: they touch no widget, only the serialised connection.
struct MaturityResult {
    QString failure;   // the message for the clerk; empty on success
    MaturitySummary summary;
    bool ok() const { return failure.isEmpty(); }
};

QString ConnectFailedText();  // 连接数据库失败！
QString QueryFailedText();    // 查询数据失败！

// A group without a casting date has no days: the result is empty, not a failure. Table 1
// reads the group's due window, so that it shows the accumulation its due day rests on.
MaturityResult ComputeTable1(Database* db, const QDateTime& castingDate, const CountingRule& rule);
MaturityResult ComputeTable2(Database* db, const QDateTime& castingDate, const CountingRule& rule);

// One group's due days.
struct DueResult {
    QString failure;
    GroupDueDays due;
};
DueResult ComputeGroupDueDays(const Database* db, const QDateTime& castingDate, const CountingRule& rule);

// The due days of many groups, in their order, from one read of the records their windows
// cover; `error` says why when the records could not be read (the list is then empty).
QVector<GroupDueDays> ComputeDueDaysOf(const Database& db, const QVector<SpecimenGroup>& groups,
                                       const CountingRule& rule, QString* error = nullptr);
// The records that cover the windows of all the groups, in one read, ascending.
QVector<TemperatureRecord> LoadRecordsCovering(const Database& db, const QVector<SpecimenGroup>& groups,
                                               const std::function<DayWindow(const QDateTime&)>& windowOf,
                                               QString* error = nullptr);
// The records of one group's window, cut from records read ascending for several groups.
QVector<TemperatureRecord> RecordsBetween(const QVector<TemperatureRecord>& ascending, const DayWindow& window);

// What lies ahead for a group: its due days, its missing days, its projected due date and its curve.
struct GroupOutlook {
    QString failure;   // the message for the clerk; empty on success
    GroupDueDays due;
    QVector<QDate> missingDays;
    SameConditionProjection projection;
    MaturityCurve curve;
};
// Without a climate in `input`, the register's (see CachedClimate) is taken.
GroupOutlook ComputeGroupOutlook(Database* db, const ProjectionInput& input);
// The same from records already read for the group's projection window.
GroupOutlook OutlookFromRecords(const QVector<TemperatureRecord>& records, const ProjectionInput& input);

// What a click on a position shows at once, table 1 and the outlook, from one read of the
// group's days: the projection window holds table 1's due window.
struct GroupCuring {
    MaturityResult table1;
    GroupOutlook outlook;
};
GroupCuring ComputeGroupCuring(Database* db, const ProjectionInput& input);

} // namespace stolvar
