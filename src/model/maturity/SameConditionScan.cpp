#include "model/maturity/SameConditionScan.h"

#include "core/Conversions.h"
#include "model/mail/ReminderTexts.h"

namespace stolvar {

namespace {

constexpr double kThreshold = 600.0;
constexpr double kTolerance = 1e-7;
constexpr int kStandardMinimumDays = 14;
constexpr int kDayCap = 60;

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

bool Cures(const TemperatureRecord& record)
{
    return record.mean && double(*record.mean) > kTolerance;
}

// Whether the days summed so far (those after the record being visited) make a group
// cast on that record's day due.
bool WalkEnds(float sum, int counted, MaturityRule rule)
{
    if (counted == kDayCap)
        return true;
    if (!ThresholdReached(sum))
        return false;
    return rule == MaturityRule::Classic || counted >= kStandardMinimumDays;
}

} // namespace

int LookBackDays(MaturityRule rule)
{
    return rule == MaturityRule::Classic ? kSameConditionLookBackDays : kStandardLookBackDays;
}

std::optional<SameConditionStop> FindSameConditionStop(const QVector<TemperatureRecord>& ascendingWindow,
                                                       MaturityRule rule)
{
    float sum = 0;
    int counted = 0;
    for (auto it = ascendingWindow.crbegin(); it != ascendingWindow.crend(); ++it) {
        // The record that ends the walk is the casting day itself and is not counted.
        if (WalkEnds(sum, counted, rule))
            return SameConditionStop{it->day, sum};
        if (rule == MaturityRule::Standard2015 && !Cures(*it))
            continue;
        sum = AddMean(sum, *it);
        ++counted;
    }
    return std::nullopt;
}

QString SameConditionText(const QVector<SpecimenGroup>& groupsCastOnStopDay, const QDateTime& targetDate,
                          const SameConditionStop& stop, MaturityRule rule)
{
    const int age = WholeDaysBetween(stop.stopDay, targetDate);
    const QString rule2015 = rule == MaturityRule::Standard2015 ? StandardRuleSuffix() : QString();
    QString text;
    for (const SpecimenGroup& g : groupsCastOnStopDay) {
        if (!g.sameCount.isEmpty())
            text += SameConditionEntry(g, targetDate, stop.sum, age, rule2015);
    }
    return text;
}

} // namespace stolvar
