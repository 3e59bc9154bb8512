#pragma once

namespace stolvar {

// Air temperatures outside −60…+60 ℃ are no weather on a building site: a service answer
// holding one is refused, a logger line holding one (a sensor fault code) is skipped, a
// typed maximum or minimum outside is refused.
inline constexpr double kLowestPlausible = -60.0;
inline constexpr double kHighestPlausible = 60.0;

inline bool IsPlausibleTemperature(double value)
{
    return value >= kLowestPlausible && value <= kHighestPlausible;
}

} // namespace stolvar
