#pragma once

namespace stolvar {

// When specimens come due. Every table, scan, projection, chart, panel text, notice and
// export takes these from here.

// Standard-cured specimens are tested at 28 days, the age at which a grade's strength is
// defined; form-removal specimens at 14 days, when the forms of most members may be struck.
inline constexpr int kStandardCuringDays = 28;
inline constexpr int kFormRemovalDays = 14;

// Same-condition specimens cure beside the structure, so their test age is measured in
// degree-days: the daily mean temperatures summed from casting. A group is ready when the
// sum reaches 600 ℃·d (the maturity at which site-cured concrete matches 28 standard days),
// and at the latest after 60 counted days, however cold they were.
namespace maturity {
inline constexpr double kThreshold = 600.0;     // ℃·d
inline constexpr double kTolerance = 1e-7;      // the sum counts as reached at 600 − 1e-7
inline constexpr double kValidAbove = 1e-7;     // a day at or below 0 ℃ does not cure
inline constexpr int kDayCap = 60;              // counted days
inline constexpr int kStandardMinimumDays = 14; // national standard: never due before this
} // namespace maturity

} // namespace stolvar
