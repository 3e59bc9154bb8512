#pragma once

#include "model/maturity/MaturityRule.h"
#include "model/maturity/Worklist.h"

#include <QDate>
#include <QString>
#include <QVector>

namespace stolvar {

class Database;

// The worklist of the register on `today`, from one read of the groups that can be due and
// one of the records their windows cover; for a worker.
struct WorklistResult {
    QVector<WorkItem> items;
    QString error;   // why the groups or the records could not be read
};
WorklistResult ComputeWorklist(const Database& db, const QDate& today, int leadDays, const CountingRule& rule);

} // namespace stolvar
