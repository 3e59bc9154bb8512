#pragma once

#include <QDate>
#include <QVector>

namespace stolvar {

class SampleRandom;

// One day of the sample temperature record, in whole degrees as a weather page gives them.
struct SampleDay {
    QDate day;
    double high;
    double low;
};

// The `count` days before `today`, oldest first, of a site in the north-Chinese plain.
// The year is placed so that today falls at the start of winter: a hundred days back
// the maxima are near 25 ℃ and the minima near 15 ℃; by today they are near 0 and −10.
QVector<SampleDay> SampleTemperatures(const QDate& today, int count, SampleRandom& rng);

} // namespace stolvar
