#pragma once

#include "model/strength/TestResults.h"

#include <QDate>
#include <QString>

#include <optional>

namespace stolvar {

// Reading what the clerk types (or pastes from a spreadsheet) into a row of results.

// A whole text as a decimal number: "32.5", "32,5" (a decimal comma), full-width digits,
// blanks around it; none for anything else.
std::optional<double> ParseDecimal(const QString& text);

// The cells of one row as typed.
enum class ResultColumn { Report, TestDate, Size, Strength1, Strength2, Strength3 };
QString ResultColumnTitle(ResultColumn column);   // 报告编号, 试验日期, 尺寸, 强度1 …

struct ResultCells {
    QString report;
    QString testDate;
    QString size;
    std::array<QString, 3> strengths;
};

struct CellProblem {
    ResultColumn column = ResultColumn::Report;
    QString message;
};

// A row without any strength holds no result. Otherwise all three strengths must lie in
// 0 < f ≤ 150 MPa, the size be 100, 150 or 200 mm, a test date (optional) be a date not
// before casting, the report number fit its column.
struct ReadRow {
    std::optional<TestResult> result;
    std::optional<CellProblem> problem;
};
ReadRow ReadResultCells(const ResultCells& cells, DueKind kind, int number, const QDate& casting);

// The message that names the cell: 第2行（标养第2组）强度2：…
QString CellProblemText(int row, DueKind kind, int number, const CellProblem& problem);

} // namespace stolvar
