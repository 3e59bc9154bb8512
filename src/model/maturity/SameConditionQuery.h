#pragma once

#include "model/maturity/Maturity.h"
#include "model/maturity/Projection.h"

#include <QDateTime>
#include <QString>

namespace stolvar {

class Database;

// One accumulation for a group, read from the database. Runs on any thread: it touches
// no widget, only the serialised connection.
struct MaturityResult {
    QString failure;   // the message for the clerk; empty on success
    MaturitySummary summary;
    bool ok() const { return failure.isEmpty(); }
};

QString ConnectFailedText();  // 连接数据库失败！
QString QueryFailedText();    // 查询数据失败！

// A group without a casting date has no days: the result is empty, not a failure.
MaturityResult ComputeTable1(Database* db, const QDateTime& castingDate, bool countFromNextDay,
                             MaturityRule rule = MaturityRule::Classic);
MaturityResult ComputeTable2(Database* db, const QDateTime& castingDate, bool countFromNextDay,
                             MaturityRule rule = MaturityRule::Classic);

// What lies ahead for a group: its missing days, its projected due date and its curve.
struct GroupOutlook {
    QString failure;   // the message for the clerk; empty on success
    QVector<QDate> missingDays;
    SameConditionProjection projection;
    MaturityCurve curve;
};
GroupOutlook ComputeGroupOutlook(Database* db, const ProjectionInput& input);

} // namespace stolvar
