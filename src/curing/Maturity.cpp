#include "curing/Maturity.h"

#include "core/Conversions.h"

#include <functional>

namespace stolvar {

namespace {

using StopRule = std::function<bool(const MaturitySummary&)>;

MaturityDay TakeRecord(const TemperatureRecord& record, MaturitySummary& summary)
{
    MaturityDay day;
    day.day = record.day;
    day.mean = record.mean;
    day.high = record.high;
    day.low = record.low;
    day.valid = record.mean && double(*record.mean) > maturity::kValidAbove;
    if (record.mean)
        summary.accumulated = AddToSum(summary.accumulated, *record.mean);
    summary.countedDays += 1;
    summary.validDays += day.valid ? 1 : 0;
    day.validSoFar = summary.validDays;
    day.sumSoFar = summary.accumulated;
    return day;
}

// Each record is taken, then the stop rule is tested; a record after the stop is never read.
MaturitySummary Accumulate(const QVector<TemperatureRecord>& window, bool countFromNextDay,
                           const StopRule& stop)
{
    MaturitySummary summary;
    for (qsizetype i = countFromNextDay ? 1 : 0; i < window.size(); ++i) {
        summary.days.append(TakeRecord(window[i], summary));
        if (ThresholdReached(summary.accumulated) || stop(summary))
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

MaturitySummary AccumulateTable1(const QVector<TemperatureRecord>& window, bool countFromNextDay)
{
    return Accumulate(window, countFromNextDay,
                      [](const MaturitySummary& s) { return s.countedDays >= maturity::kTable1DayCap; });
}

MaturitySummary AccumulateTable2(const QVector<TemperatureRecord>& window, bool countFromNextDay)
{
    return Accumulate(window, countFromNextDay,
                      [](const MaturitySummary& s) { return s.validDays >= maturity::kTable2ValidCap; });
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
