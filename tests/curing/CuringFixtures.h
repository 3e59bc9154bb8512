#pragma once

#include "model/maturity/Projection.h"
#include "support/MaturityFixtures.h"

#include <QTableWidget>

namespace stolvar::test {

inline QString Text(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

// Ten stored days of 20 ℃ and the projection that follows them.
inline MaturityCurve TenDaysOfTwenty()
{
    const ProjectionInput input{kCasting, false, MaturityRule::Classic, kCasting.date().addDays(10), {}};
    return BuildMaturityCurve(Window(std::vector<float>(10, 20.0f)), input);
}

} // namespace stolvar::test
