#include "sample/SampleNames.h"

#include "sample/SampleRandom.h"

namespace stolvar {

namespace {

QStringList Estates()
{
    return {QStringLiteral("城北花园"), QStringLiteral("滨河小区"), QStringLiteral("锦绣家园"),
            QStringLiteral("阳光新城"), QStringLiteral("翠湖名苑"), QStringLiteral("金桂苑"),
            QStringLiteral("银杏小区"), QStringLiteral("和平里"), QStringLiteral("东方明珠苑"),
            QStringLiteral("世纪花园"), QStringLiteral("幸福家园"), QStringLiteral("华府天地"),
            QStringLiteral("龙湖湾"), QStringLiteral("御景华庭"), QStringLiteral("紫荆公寓"),
            QStringLiteral("市第二中学"), QStringLiteral("实验小学"), QStringLiteral("人民医院"),
            QStringLiteral("高新区科技园"), QStringLiteral("经开区物流园"), QStringLiteral("南湖春晓"),
            QStringLiteral("北岸新村"), QStringLiteral("铁路小区"), QStringLiteral("电厂生活区")};
}

void Shuffle(QStringList& items, SampleRandom& rng)
{
    for (qsizetype i = items.size() - 1; i > 0; --i)
        items.swapItemsAt(i, rng.between(0, int(i)));
}

// Column grades fall with the height of the floor: the lowest floors carry the most.
QString ColumnGrade(int floor)
{
    if (floor <= 3)
        return QStringLiteral("C40");
    return floor <= 8 ? QStringLiteral("C35") : QStringLiteral("C30");
}

void AddFoundations(QVector<SamplePosition>& out, SampleRandom& rng)
{
    const QString footing = rng.chance(0.5) ? QStringLiteral("C30") : QStringLiteral("C35");
    out.append({QStringLiteral("基础垫层"), QStringLiteral("C15"), false, false});
    out.append({QStringLiteral("基础承台"), footing, true, false});
    out.append({QStringLiteral("基础梁"), footing, true, false});
    if (rng.chance(0.5)) {
        out.append({QStringLiteral("地下室底板"), QStringLiteral("C35"), true, false});
        out.append({QStringLiteral("地下室外墙"), QStringLiteral("C35"), true, false});
        out.append({QStringLiteral("地下室顶板"), QStringLiteral("C35"), true, true});
    }
}

void AddFloor(QVector<SamplePosition>& out, int floor, SampleRandom& rng)
{
    const QString level = ChineseNumeral(floor) + QStringLiteral("层");
    out.append({level + QStringLiteral("柱"), ColumnGrade(floor), true, false});
    out.append({level + QStringLiteral("梁板"), QStringLiteral("C30"), true, true});
    if (rng.chance(0.15))
        out.append({level + QStringLiteral("楼梯"), QStringLiteral("C30"), true, true});
    if (rng.chance(0.2))
        out.append({level + QStringLiteral("构造柱"), QStringLiteral("C20"), false, false});
}

} // namespace

QString ChineseNumeral(int n)
{
    static const QString digits = QStringLiteral("零一二三四五六七八九");
    if (n < 10)
        return digits.at(n);
    const QString tens = n / 10 == 1 ? QString() : QString(digits.at(n / 10));
    const QString units = n % 10 == 0 ? QString() : QString(digits.at(n % 10));
    return tens + QStringLiteral("十") + units;
}

QStringList SampleProjectNames(int count, SampleRandom& rng)
{
    QStringList estates = Estates();
    Shuffle(estates, rng);
    QVector<int> firstBuilding;
    for (qsizetype e = 0; e < estates.size(); ++e)
        firstBuilding.append(rng.between(1, 5));
    // Estate e gets buildings first, first + 1, …: the pairs, and so the names, are distinct.
    QStringList names;
    for (int i = 0; i < count; ++i) {
        const qsizetype e = i % estates.size();
        const int building = firstBuilding[e] + int(i / estates.size());
        names << estates[e] + QString::number(building) + QStringLiteral("号楼");
    }
    return names;
}

QVector<SamplePosition> SamplePositions(SampleRandom& rng)
{
    QVector<SamplePosition> positions;
    AddFoundations(positions, rng);
    const int floors = rng.between(6, 18);
    for (int floor = 1; floor <= floors; ++floor)
        AddFloor(positions, floor, rng);
    positions.append({QStringLiteral("屋面梁板"), QStringLiteral("C30"), true, true});
    positions.append({QStringLiteral("女儿墙"), QStringLiteral("C25"), false, false});
    return positions;
}

} // namespace stolvar
