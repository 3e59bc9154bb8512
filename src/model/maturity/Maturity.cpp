#include "model/maturity/Maturity.h"

#include "core/Conversions.h"

#include <functional>

namespace stolvar {

namespace {

using StopRule = std::function<bool(const MaturitySummary&)>;

MaturityDay TakeRecord(const TemperatureRecord& record, MaturitySummary& summary, MaturityRule rule)
{
    MaturityDay day;
    day.day = record.day;
    day.mean = record.mean;
    day.high = record.high;
    day.low = record.low;
    day.source = record.source;
    day.valid = IsValidMean(record.mean);
    if (record.mean && (rule == MaturityRule::Classic || day.valid))
        summary.accumulated = AddToSum(summary.accumulated, *record.mean);
    summary.countedDays += 1;
    summary.validDays += day.valid ? 1 : 0;
    day.validSoFar = summary.validDays;
    day.sumSoFar = summary.accumulated;
    return day;
}

struct Walk {
    MaturityRule rule = MaturityRule::Classic;
    bool listsInvalidDays = true;   // under the standard's rule, whether frost days are shown
    StopRule cap;
};

// Each record is taken, then the stop rule is tested; a record after the stop is never read.
MaturitySummary Accumulate(const QVector<TemperatureRecord>& window, bool countFromNextDay, const Walk& walk)
{
    MaturitySummary summary;
    const bool skipsInvalid = walk.rule == MaturityRule::Standard2015 && !walk.listsInvalidDays;
    for (qsizetype i = countFromNextDay ? 1 : 0; i < window.size(); ++i) {
        if (skipsInvalid && !IsValidMean(window[i].mean))
            continue;
        summary.days.append(TakeRecord(window[i], summary, walk.rule));
        if (MaturityDue(summary.accumulated, summary.validDays, walk.rule) || walk.cap(summary))
            break;
    }
    return summary;
}

QDateTime DayOf(const QDateTime& value)
{
    return WallTime(value.date());
}

} // namespace

float AddToSum(float sum, float mean)
{
    return float(double(sum) + double(mean));
}

bool ThresholdReached(float sum)
{
    return double(sum) - maturity::kThreshold >= -maturity::kTolerance;
}

bool IsValidMean(const std::optional<float>& mean)
{
    return mean && double(*mean) > maturity::kValidAbove;
}

bool MaturityDue(float sum, int validDays, MaturityRule rule)
{
    if (!ThresholdReached(sum))
        return false;
    return rule == MaturityRule::Classic || validDays >= maturity::kStandardMinimumDays;
}

MaturitySummary AccumulateTable1(const QVector<TemperatureRecord>& window, bool countFromNextDay, MaturityRule rule)
{
    const Walk walk{rule, false, [](const MaturitySummary& s) { return s.countedDays >= maturity::kTable1DayCap; }};
    return Accumulate(window, countFromNextDay, walk);
}

MaturitySummary AccumulateTable2(const QVector<TemperatureRecord>& window, bool countFromNextDay, MaturityRule rule)
{
    const Walk walk{rule, true, [](const MaturitySummary& s) { return s.validDays >= maturity::kTable2ValidCap; }};
    return Accumulate(window, countFromNextDay, walk);
}

DayWindow Table1Window(const QDateTime& castingDate)
{
    const QDateTime from = DayOf(castingDate);
    return {from, AddDays(from, maturity::kTable1WindowDays)};
}

DayWindow Table2Window(const QDateTime& castingDate)
{
    const QDateTime from = DayOf(castingDate);
    return {from, AddDays(from, maturity::kTable2WindowDays)};
}

} // namespace stolvar
