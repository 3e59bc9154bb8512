#pragma once

#include "support/MaturityFixtures.h"

#include <QTableWidget>

namespace stolvar::test {

inline QString Text(const QTableWidget& grid, int row, int column)
{
    const QTableWidgetItem* item = grid.item(row, column);
    return item ? item->text() : QString();
}

} // namespace stolvar::test
