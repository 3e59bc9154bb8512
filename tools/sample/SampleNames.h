#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace stolvar {

class SampleRandom;

// `count` distinct building names of estates, schools and hospitals ("城北花园3号楼").
QStringList SampleProjectNames(int count, SampleRandom& rng);

// One structural position of a building, as the clerk registers it.
struct SamplePosition {
    QString name;         // "基础承台", "三层梁板"
    QString grade;        // "C15" … "C40"
    bool sameCondition;   // specimens cured beside the structure
    bool formRemoval;     // slabs and stairs: specimens that decide when forms come off
};

// The positions of one building in the order they are cast: foundations, an optional
// basement, then column and slab pours floor by floor up to the roof.
QVector<SamplePosition> SamplePositions(SampleRandom& rng);

// 1 → 一, 12 → 十二, 20 → 二十 (1 to 99).
QString ChineseNumeral(int n);

} // namespace stolvar
