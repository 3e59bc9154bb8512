#include "app/Clock.h"

#include "app/Conversions.h"

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
