#pragma once

#include "model/workbook/Workbook.h"

#include <QDateTime>
#include <QString>

class QTableWidget;

namespace stolvar {

// A grid as it is shown: its texts typed as SheetValueFromText reads them, its merged
// cells, its column widths.
Sheet SheetFromGrid(const QString& name, const QTableWidget& grid, int headerRows, bool form,
                    const QDateTime& anchor = {});

} // namespace stolvar
