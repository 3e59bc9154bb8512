#pragma once

#include "db/Records.h"
#include "model/maturity/DueRules.h"
#include "model/maturity/MaturityRule.h"

#include <QDateTime>
#include <QVector>

#include <optional>

namespace stolvar {

// The caps and windows of the two same-condition tables.
namespace maturity {
inline constexpr int kTable1DayCap = kDayCap;     // rows taken by table 1
inline constexpr int kTable2ValidCap = kDayCap;   // valid days taken by table 2
inline constexpr int kTable1WindowDays = 60;      // casting day .. casting day + 60
inline constexpr int kTable2WindowDays = 90;      // casting day .. casting day + 90
} // namespace maturity


// One record taken by an accumulation. A record without a mean is taken and counted but
// adds nothing and is invalid; a missing maximum or minimum simply shows no value.
struct MaturityDay {
    QDateTime day;
    std::optional<float> mean;
    std::optional<float> high;
    std::optional<float> low;
    TemperatureSource source = TemperatureSource::Manual;
    bool valid = false;     // mean above 1e-7 ℃
    int validSoFar = 0;     // valid days up to and including this one
    float sumSoFar = 0.0f;  // degree-days up to and including this one
};

// The result of one accumulation. An empty window gives 0 days and a sum of 0.
struct MaturitySummary {
    int countedDays = 0;    // records taken, including the one on which the walk stopped
    int validDays = 0;      // records whose mean is above 1e-7 ℃
    float accumulated = 0.0f;
    QVector<MaturityDay> days;
};

// The records are the window ascending by day. With countFromNextDay the first record
// (the casting day's, or the earliest later one when that day has none) is stepped over.
// Table 1 stops on the record that brings the sum to 600 ℃·d or after 60 records;
// table 2 stops at 600 ℃·d or on the 60th valid day. Under the national standard's rule
// table 1 takes only valid days, table 2 still lists every day but sums only valid ones,
// and neither stops on 600 ℃·d before the 14th valid day.
MaturitySummary AccumulateTable1(const QVector<TemperatureRecord>& window, bool countFromNextDay,
                                 MaturityRule rule = MaturityRule::Classic);
MaturitySummary AccumulateTable2(const QVector<TemperatureRecord>& window, bool countFromNextDay,
                                 MaturityRule rule = MaturityRule::Classic);

// A day cures when its mean is above 1e-7 ℃; a day without a mean does not.
bool IsValidMean(const std::optional<float>& mean);
// True when the sum so far makes the group due under the rule (the caps aside).
bool MaturityDue(float sum, int validDays, MaturityRule rule);

// Whole days from the casting day to the last day a table reads, both included.
struct DayWindow {
    QDateTime from;
    QDateTime to;
};
DayWindow Table1Window(const QDateTime& castingDate);
DayWindow Table2Window(const QDateTime& castingDate);

// The running sum is kept in single precision, as the temperatures are: each addition
// is done in double and rounded back to single.
float AddToSum(float sum, float mean);
bool ThresholdReached(float sum);

} // namespace stolvar
