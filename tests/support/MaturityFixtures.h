#pragma once

#include "core/Conversions.h"
#include "db/Records.h"

#include <QStringList>

#include <initializer_list>
#include <vector>

namespace stolvar::test {

inline const QDateTime kCasting = WallTime(QDate(2017, 3, 1));

// One record a day from kCasting + firstOffset, maximum and minimum 4 ℃ around the mean.
inline QVector<TemperatureRecord> Window(const std::vector<float>& means, int firstOffset = 0)
{
    QVector<TemperatureRecord> window;
    for (size_t i = 0; i < means.size(); ++i)
        window.append({qint64(i + 1), AddDays(kCasting, firstOffset + int(i)), means[i], means[i] + 4, means[i] - 4});
    return window;
}

inline QStringList Texts(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* t : texts)
        list << QString::fromUtf8(t);
    return list;
}

} // namespace stolvar::test
