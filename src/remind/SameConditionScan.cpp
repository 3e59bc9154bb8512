#include "remind/SameConditionScan.h"

#include "core/Conversions.h"
#include "remind/ReminderTexts.h"

namespace stolvar {

namespace {

constexpr double kThreshold = 600.0;
constexpr double kTolerance = 1e-7;

bool ThresholdReached(float sum)
{
    return double(sum) - kThreshold >= -kTolerance;
}

// The sum is kept in single precision: each addition is made in double and rounded
// back, so that the result matches the degree-day tables to the last digit.
float AddMean(float sum, const TemperatureRecord& record)
{
    return float(double(sum) + double(record.mean.value_or(0.0F)));
}

} // namespace

std::optional<SameConditionStop> FindSameConditionStop(const QVector<TemperatureRecord>& ascendingWindow)
{
    float sum = 0;
    int visited = 0;
    for (auto it = ascendingWindow.crbegin(); it != ascendingWindow.crend(); ++it) {
        ++visited;
        // The record that ends the walk is the casting day itself and is not counted.
        if (ThresholdReached(sum) || visited == kSameConditionLookBackDays + 1)
            return SameConditionStop{it->day, sum};
        sum = AddMean(sum, *it);
    }
    return std::nullopt;
}

QString SameConditionText(const QVector<SpecimenGroup>& groupsCastOnStopDay, const QDateTime& targetDate,
                          const SameConditionStop& stop)
{
    const int age = WholeDaysBetween(stop.stopDay, targetDate);
    QString text;
    for (const SpecimenGroup& g : groupsCastOnStopDay) {
        if (!g.sameCount.isEmpty())
            text += SameConditionEntry(g, targetDate, stop.sum, age);
    }
    return text;
}

} // namespace stolvar
