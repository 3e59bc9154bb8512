#include "sample/SamplePlan.h"

#include "core/Conversions.h"
#include "model/maturity/DueScan.h"
#include "sample/SampleNames.h"
#include "sample/SampleRandom.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace stolvar {

namespace {

struct Shape {
    int projects;
    int positions;         // per project; 0: as many as the season allows
    int temperatureDays;
};

Shape ShapeOf(SampleSize size)
{
    constexpr int kTwentyYears = 7305;
    switch (size) {
    case SampleSize::Large:
        return {2000, 10, kTwentyYears};
    case SampleSize::Huge:
        return {10000, 10, kTwentyYears};
    case SampleSize::Wide:
        return {10, 10000, kTwentyYears};
    case SampleSize::Site:
        break;
    }
    return {3, 0, 105};
}

// One concrete pour of a project's position.
struct Pour {
    int project;
    int order;
    SamplePosition position;
    QDate day;
};

// A crew pours again three to seven days after the last pour.
int NextPourGap(SampleRandom& rng)
{
    return rng.between(3, 7);
}

// A project of the wide register goes through its building's positions zone after zone
// ("第3区一层柱"), about two pours a day.
void PlanWideProject(QVector<Pour>& pours, int project, QDate day, const Shape& shape, const QDate& today,
                     SampleRandom& rng)
{
    const QVector<SamplePosition> positions = SamplePositions(rng);
    for (int i = 0; i < shape.positions && day <= today; ++i) {
        SamplePosition position = positions[i % positions.size()];
        position.name = QStringLiteral("第%1区").arg(i / positions.size() + 1) + position.name;
        pours.append({project, i, position, day});
        day = day.addDays(rng.between(0, 1));
    }
}

void PlanProject(QVector<Pour>& pours, int project, QDate day, const Shape& shape, const QDate& today,
                 SampleRandom& rng)
{
    const QVector<SamplePosition> positions = SamplePositions(rng);
    const qsizetype wanted = shape.positions > 0 ? shape.positions : positions.size();
    for (qsizetype i = 0; i < wanted && day <= today; ++i) {
        pours.append({project, int(i), positions[i], day});
        day = day.addDays(NextPourGap(rng));
    }
}

// The site's three projects started about 100, 70 and 42 days ago.
QDate SiteStart(int project, const QDate& today, SampleRandom& rng)
{
    static const int kDaysBack[] = {100, 70, 42};
    return today.addDays(-kDaysBack[project] + rng.between(0, project == 0 ? 2 : 5));
}

// Projects of the large registers start anywhere in the twenty years, early enough to
// have all their positions cast by today.
QDate SpreadStart(const Shape& shape, const QDate& today, SampleRandom& rng)
{
    return today.addDays(-rng.between(75, shape.temperatureDays - 15));
}

// A wide project's 10,000 pours, about two a day, take some 5,000 days.
QDate WideStart(const Shape& shape, const QDate& today, SampleRandom& rng)
{
    return today.addDays(-rng.between(5100, shape.temperatureDays - 15));
}

// Moves the pour nearest to `day` among those `eligible` onto that day.
void PinNearest(QVector<Pour>& pours, const QDate& day, const std::function<bool(const Pour&)>& eligible)
{
    Pour* nearest = nullptr;
    for (Pour& p : pours) {
        if (eligible(p) && (!nearest || std::abs(p.day.daysTo(day)) < std::abs(nearest->day.daysTo(day))))
            nearest = &p;
    }
    if (nearest)
        nearest->day = day;
}

// The reminders list a group once its due day lies within the lead time: a group due on
// the last day of it is new to today's boxes.
void PinReminders(QVector<Pour>& pours, const QDate& today)
{
    const QDate standardDue = today.addDays(kSampleLeadDays - kStandardCuringDays);
    const QDate formDue = today.addDays(kSampleLeadDays - kFormRemovalDays);
    PinNearest(pours, standardDue, [&](const Pour& p) { return p.day != formDue; });
    PinNearest(pours, formDue, [&](const Pour& p) { return p.position.formRemoval && p.day != standardDue; });
}

QString CountText(bool present, int low, int high, SampleRandom& rng)
{
    return present ? QString::number(rng.between(low, high)) : QString();
}

// Standard specimens go to the laboratory at 28 days, same-condition ones once they
// have matured, usually some weeks later; most of the old groups have been sent.
SpecimenGroup MakeGroup(const Pour& p, const QStringList& projects, const QDate& today, SampleRandom& rng)
{
    const qint64 age = p.day.daysTo(today);
    SpecimenGroup g;
    g.project = projects[p.project];
    g.position = p.position.name;
    g.grade = p.position.grade;
    g.castingDate = WallTime(p.day);
    g.standardState = age >= kStandardCuringDays && rng.chance(0.9) ? kSent : kNotSent;
    g.sameState = p.position.sameCondition && age >= 45 && rng.chance(0.8) ? kSent : kNotSent;
    g.standardCount = CountText(true, 1, 3, rng);
    g.sameCount = CountText(p.position.sameCondition, 1, 3, rng);
    g.formCount = CountText(p.position.formRemoval, 1, 2, rng);
    return g;
}

} // namespace

SamplePlan PlanSampleRegister(SampleSize size, quint32 seed, const QDate& today)
{
    SampleRandom rng(seed);
    const Shape shape = ShapeOf(size);
    const QStringList projects = SampleProjectNames(shape.projects, rng);
    QVector<Pour> pours;
    for (int p = 0; p < shape.projects; ++p) {
        if (size == SampleSize::Wide) {
            PlanWideProject(pours, p, WideStart(shape, today, rng), shape, today, rng);
            continue;
        }
        const QDate start = size == SampleSize::Site ? SiteStart(p, today, rng) : SpreadStart(shape, today, rng);
        PlanProject(pours, p, start, shape, today, rng);
    }
    if (size == SampleSize::Site)
        PinReminders(pours, today);
    std::stable_sort(pours.begin(), pours.end(), [](const Pour& a, const Pour& b) { return a.day < b.day; });

    SamplePlan plan;
    plan.projects = shape.projects;
    for (const Pour& p : pours)
        plan.groups.append(MakeGroup(p, projects, today, rng));
    plan.days = SampleTemperatures(today, shape.temperatureDays, rng);
    return plan;
}

} // namespace stolvar
