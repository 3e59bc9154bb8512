#include "core/Clock.h"

#include "core/Conversions.h"

namespace stolvar {

QDateTime Clock::now() const
{
    const QDateTime local = QDateTime::currentDateTime();
    return WallTime(local.date(), local.time());
}

QDateTime Clock::today() const
{
    return WallTime(now().date());
}

} // namespace stolvar
