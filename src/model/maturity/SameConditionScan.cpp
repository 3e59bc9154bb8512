#include "model/maturity/SameConditionScan.h"

#include "core/Conversions.h"
#include "model/mail/ReminderTexts.h"
#include "model/maturity/Maturity.h"

namespace stolvar {

namespace {

// Whether the days summed so far (those after the record being visited) make a group
// cast on that record's day due.
bool WalkEnds(float sum, int counted, MaturityRule rule)
{
    return counted == maturity::kDayCap || MaturityDue(sum, counted, rule);
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
        if (rule == MaturityRule::Standard2015 && !IsValidMean(it->mean))
            continue;
        sum = AddToSum(sum, it->mean.value_or(0.0F));
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
