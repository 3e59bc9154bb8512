#pragma once

#include "db/Records.h"
#include "model/workbook/Workbook.h"

#include <QDateTime>
#include <QString>
#include <QVector>

namespace stolvar {

// A cell text as the grids show it, typed for a spreadsheet: a long date (2026年12月1日)
// is a date; a short day (12月1日) is a date of the year that puts it on or after
// `anchor` (the casting date: a form's days run forward from it), or text without one;
// 12.5℃ is a temperature; 604.5 a number; anything else stays text.
SheetValue SheetValueFromText(const QString& text, const QDateTime& anchor = {});

// Every group of the register with its states and counts, one row each under a header.
Sheet GroupsSheet(const QVector<SpecimenGroup>& groups);

} // namespace stolvar
