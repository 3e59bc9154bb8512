#pragma once

#include "model/strength/TestResults.h"
#include "sample/SamplePlan.h"

#include <QVector>

#include <optional>

namespace stolvar {

// The laboratory's reports for the sample register: most groups that have come due and been
// sent have their results, a few groups are invalid (one cube far above, one far below the
// middle one) and a few fall short of their grade, so that the evaluation has every case to show.
struct SampleGroupResults {
    int group = 0;                       // index into SamplePlan::groups
    QVector<TestResult> results;
    std::optional<int> formRequirement;  // slabs and stairs: 75 %, roof slabs with eaves: 100 %
};

// The same plan, seed and day give the same results; the plan's own rows do not change.
QVector<SampleGroupResults> PlanSampleResults(const SamplePlan& plan, quint32 seed, const QDate& today);

} // namespace stolvar
