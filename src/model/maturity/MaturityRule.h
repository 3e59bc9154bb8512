#pragma once

#include "core/Keys.h"
#include "core/SettingsStore.h"

namespace stolvar {

// How same-condition degree-days are counted. The classic count sums every day's mean,
// frost days included. The national standard's (GB 50204-2015) leaves a day at or below
// 0 ℃ out altogether (neither summed nor counted) and makes a group due at the later of
// the day reaching 600 ℃·d and its 14th counted day; the 60-counted-day cap stays.
// The tables, the status panel, the due scan and the curve all follow the one setting.
enum class MaturityRule { Classic, Standard2015 };

inline MaturityRule ReadMaturityRule(const SettingsStore& settings)
{
    return settings.readBool(keys::kStandardRule) ? MaturityRule::Standard2015 : MaturityRule::Classic;
}

// Whether a group's degree-days count from the day after casting. A setting never made
// means what the same-condition dialog shows then: from the next day.
inline bool ReadCountFromNextDay(const SettingsStore& settings)
{
    return SettingsStore::IsTrue(settings.read(keys::kCountFromNextDay, SettingsStore::BoolText(true)));
}

// The rule in force for every table, scan, projection, curve, mail and export.
struct CountingRule {
    MaturityRule rule = MaturityRule::Classic;
    bool countFromNextDay = true;
};

inline CountingRule ReadCountingRule(const SettingsStore& settings)
{
    return {ReadMaturityRule(settings), ReadCountFromNextDay(settings)};
}

} // namespace stolvar
