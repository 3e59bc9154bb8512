#pragma once

#include "db/Records.h"
#include "sample/SampleWeather.h"

#include <QDate>
#include <QVector>

namespace stolvar {

// Site: one building site with three projects over the season before today.
// Large: 2,000 projects of 10 positions; Huge: 10,000 of 10; Wide: 10 of 10,000 (a
// contractor's few very large projects, about two groups cast a day); all over 20 years.
enum class SampleSize { Site, Large, Huge, Wide };

// The lead time the sample's settings ask for; the site's pours are placed so that the
// standard and form-removal reminders have something to list on `today`.
constexpr int kSampleLeadDays = 3;

struct SamplePlan {
    int projects = 0;
    QVector<SpecimenGroup> groups;   // in order of casting, as the clerk registers them
    QVector<SampleDay> days;         // oldest first, ending the day before today
};

// The whole register, the same for the same size, seed and today.
SamplePlan PlanSampleRegister(SampleSize size, quint32 seed, const QDate& today);

} // namespace stolvar
