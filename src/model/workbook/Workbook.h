#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

#include <variant>

namespace stolvar {

// A temperature: a number shown with its unit (12.5℃).
struct Degrees {
    double value = 0;
    bool operator==(const Degrees&) const = default;
};

// A workbook to export, described apart from the file format: sheets of typed cells.
// A date is a real spreadsheet date (shown as 2026年12月1日), a number is a number.
using SheetValue = std::variant<std::monostate, QString, double, QDateTime, Degrees>;

struct SheetMerge {
    int firstRow = 0;
    int firstColumn = 0;
    int lastRow = 0;
    int lastColumn = 0;
};

struct Sheet {
    QString name;
    QVector<QVector<SheetValue>> rows;
    QVector<SheetMerge> merges;
    QVector<double> minimumWidths;   // per column, in characters; content may widen them
    int headerRows = 1;              // bold and frozen
    bool gridLines = false;          // a printed form: every cell framed and centred
};

// The number formats of date and temperature cells.
inline const char* kSheetDateFormat = "yyyy\"年\"m\"月\"d\"日\"";
inline const char* kSheetDegreesFormat = "General\"℃\"";

// Writes the sheets as an .xlsx file. Returns "" or why the file could not be written.
QString WriteWorkbook(const QString& path, const QVector<Sheet>& sheets);

// The width, in characters of the standard font, that shows the value: a Chinese
// character counts as two.
double DisplayWidth(const SheetValue& value);

} // namespace stolvar
