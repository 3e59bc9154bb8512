#pragma once

#include "db/Records.h"
#include "model/maturity/DueRules.h"
#include "model/maturity/MaturityRule.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

namespace stolvar {

// Same-condition specimens are due when the daily means summed from the day after
// casting reach 600 ℃·d, and at the latest after 60 counted days. The scan walks back
// from targetDate and finds the casting day D for which that holds on targetDate.
struct SameConditionStop {
    QDateTime stopDay;  // D: groups cast on this day are due
    float sum = 0;      // the means summed after D up to targetDate
};

constexpr int kSameConditionLookBackDays = maturity::kDayCap;
// Under the national standard's rule frost days are not counted, so 60 counted days
// may lie further back: the scan then reads 90 days, as table 2 does.
constexpr int kStandardLookBackDays = 90;
int LookBackDays(MaturityRule rule);

// `ascendingWindow`: the records from targetDate − LookBackDays to targetDate, oldest
// first. None when the records run out before the threshold or the day cap is met.
// Under the national standard's rule a day at or below 0 ℃ is neither summed nor
// counted, and the threshold ends the walk only once 14 days are counted.
std::optional<SameConditionStop> FindSameConditionStop(const QVector<TemperatureRecord>& ascendingWindow,
                                                       MaturityRule rule = MaturityRule::Classic);

// The entries for the groups cast on the stop day that have same-condition specimens;
// under the national standard's rule each sum line says so.
QString SameConditionText(const QVector<SpecimenGroup>& groupsCastOnStopDay, const QDateTime& targetDate,
                          const SameConditionStop& stop, MaturityRule rule = MaturityRule::Classic);

} // namespace stolvar
