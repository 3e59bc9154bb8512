#pragma once

#include "db/Records.h"

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

constexpr int kSameConditionLookBackDays = 60;

// `ascendingWindow`: the records from targetDate − 60 days to targetDate, oldest first.
// None when the records run out before the threshold or the day cap is met.
std::optional<SameConditionStop> FindSameConditionStop(const QVector<TemperatureRecord>& ascendingWindow);

// The entries for the groups cast on the stop day that have same-condition specimens.
QString SameConditionText(const QVector<SpecimenGroup>& groupsCastOnStopDay, const QDateTime& targetDate,
                          const SameConditionStop& stop);

} // namespace stolvar
