#pragma once

#include "db/Records.h"
#include "model/maturity/MaturityRule.h"
#include "model/temperatures/ClimateStore.h"

#include <QDate>
#include <QDateTime>
#include <QVector>

namespace stolvar {

// The same-condition due day of a group not due yet, as each of the past years would bring
// it: the group's stored days (forecast days included), then that year's daily means from
// the same calendar day on, through the one computation of due days. A year whose days
// cannot bring the group to the rule counts as the last day of its window (the 60th day).
// A year whose days the stored climate lacks (the year after the newest) takes no part.
struct ClimateEnsemble {
    int years = 0;           // the years that took part; 0 when the climate cannot be used
    QDate median;            // the projected day
    QDate low;               // 10th percentile
    QDate high;              // 90th percentile
    bool medianByCap = false;   // the median year met the rule only by the window's end
    int forecastDays = 0;    // stored forecast days counted up to the projected day
    QDate lastStoredDay;     // the climate takes over the day after (invalid: from casting)
    // With sums: the accumulation by day since casting, from `firstAge` on, across the years
    // (10th, 50th, 90th percentile); a year holds its sum once it is due.
    int firstAge = 0;
    QVector<float> lowSums;
    QVector<float> medianSums;
    QVector<float> highSums;
};

// Fewer years than these make no range worth showing: the recent-mean rule decides then.
inline constexpr int kEnsembleMinimumYears = 20;

// `window` is the group's due window, ascending (see DueWindow).
ClimateEnsemble ProjectWithClimate(const QDateTime& castingDate, const QVector<TemperatureRecord>& window,
                                   const CountingRule& rule, const Climate& climate, bool withSums = false);

// The value at fraction `p` (0..1) of values sorted ascending, interpolated between the two
// nearest; 0 for none.
double Percentile(const QVector<double>& sorted, double p);

} // namespace stolvar
