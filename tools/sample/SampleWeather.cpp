#include "sample/SampleWeather.h"

#include "sample/SampleRandom.h"

#include <cmath>
#include <numbers>

namespace stolvar {

namespace {

// Annual mean and swing of the daily mean; the warmest day lies this many days before today.
constexpr double kAnnualMean = 7.8;
constexpr double kAnnualSwing = 16.4;
constexpr double kWarmestDaysBack = 143.0;
constexpr double kDaysPerYear = 365.25;
// Weather spells: each day keeps 70 % of yesterday's departure from the season.
constexpr double kSpellMemory = 0.7;
constexpr double kSpellNoise = 2.0;

double SeasonalMean(int daysBack)
{
    const double phase = 2.0 * std::numbers::pi * (daysBack - kWarmestDaysBack) / kDaysPerYear;
    return kAnnualMean + kAnnualSwing * std::cos(phase);
}

} // namespace

QVector<SampleDay> SampleTemperatures(const QDate& today, int count, SampleRandom& rng)
{
    QVector<SampleDay> days;
    days.reserve(count);
    double departure = 0;
    for (int back = count; back >= 1; --back) {
        departure = kSpellMemory * departure + kSpellNoise * rng.gauss();
        const double mean = SeasonalMean(back) + departure;
        const double halfRange = 3.5 + 3.0 * rng.uniform();   // clear days swing more
        days.append({today.addDays(-back), std::round(mean + halfRange), std::round(mean - halfRange)});
    }
    return days;
}

} // namespace stolvar
