#pragma once

#include "db/Records.h"
#include "model/maturity/DueRules.h"

#include <QDateTime>
#include <QString>

namespace stolvar {

// The reminder entries, one per group, each closed by an empty line. The standard and
// form-removal entries write 成型日期 and 送样日期 without a colon, as the clerk's forms do.

// Standard-cured specimens go to the laboratory 28 days after casting.
QString StandardDueEntry(const SpecimenGroup& group);
// Form-removal specimens go 14 days after casting; the position carries 【梁板拆模】.
QString FormRemovalEntry(const SpecimenGroup& group);
// Same-condition specimens: the sum and the age reached on targetDate.
// `ruleSuffix` follows the sum: "（按GB 50204-2015）" under the national standard's rule.
QString SameConditionEntry(const SpecimenGroup& group, const QDateTime& targetDate, float sum, int age,
                           const QString& ruleSuffix = QString());
QString StandardRuleSuffix();
QString RecentPourEntry(const SpecimenGroup& group);

} // namespace stolvar
