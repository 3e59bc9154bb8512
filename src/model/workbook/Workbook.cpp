#include "model/workbook/Workbook.h"

#include "core/Conversions.h"

#include <xlsxwriter.h>

#include <QFile>

#include <algorithm>

namespace stolvar {

namespace {

constexpr double kMaximumWidth = 60;
constexpr double kDateWidth = 16;

struct Formats {
    lxw_format* header = nullptr;
    lxw_format* date = nullptr;
    lxw_format* headerDate = nullptr;
    lxw_format* text = nullptr;
    lxw_format* degrees = nullptr;
};

Formats MakeFormats(lxw_workbook* book, bool gridLines)
{
    const auto make = [&](bool bold, const char* numberFormat) {
        lxw_format* format = workbook_add_format(book);
        if (bold)
            format_set_bold(format);
        if (numberFormat)
            format_set_num_format(format, numberFormat);
        if (gridLines) {
            format_set_border(format, LXW_BORDER_THIN);
            format_set_align(format, LXW_ALIGN_CENTER);
            format_set_align(format, LXW_ALIGN_VERTICAL_CENTER);
            format_set_text_wrap(format);
        }
        return format;
    };
    return {make(true, nullptr), make(false, kSheetDateFormat), make(true, kSheetDateFormat), make(false, nullptr),
            make(false, kSheetDegreesFormat)};
}

// Spreadsheet dates start in 1900; an earlier date is written as its text.
bool IsSheetDate(const QDateTime& value)
{
    return value.isValid() && value.date().year() >= 1900 && value.date().year() <= 9999;
}

lxw_datetime ToSheetDate(const QDateTime& value)
{
    const QDate d = value.date();
    const QTime t = value.time();
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), double(t.second())};
}

lxw_format* FormatOf(const Formats& formats, const SheetValue& value, bool header)
{
    const bool date = std::holds_alternative<QDateTime>(value);
    if (std::holds_alternative<Degrees>(value))
        return formats.degrees;
    if (header)
        return date ? formats.headerDate : formats.header;
    return date ? formats.date : formats.text;
}

lxw_error WriteCell(lxw_worksheet* sheet, int row, int column, const SheetValue& value, lxw_format* format)
{
    const auto r = lxw_row_t(row);
    const auto c = lxw_col_t(column);
    if (const auto* text = std::get_if<QString>(&value))
        return worksheet_write_string(sheet, r, c, text->toUtf8().constData(), format);
    if (const auto* number = std::get_if<double>(&value))
        return worksheet_write_number(sheet, r, c, *number, format);
    if (const auto* degrees = std::get_if<Degrees>(&value))
        return worksheet_write_number(sheet, r, c, degrees->value, format);
    if (const auto* date = std::get_if<QDateTime>(&value)) {
        if (!IsSheetDate(*date))
            return worksheet_write_string(sheet, r, c, FormatLongDate(*date).toUtf8().constData(), format);
        lxw_datetime when = ToSheetDate(*date);
        return worksheet_write_datetime(sheet, r, c, &when, format);
    }
    return format ? worksheet_write_blank(sheet, r, c, format) : LXW_NO_ERROR;
}

bool InsideMerge(const Sheet& sheet, int row, int column)
{
    return std::any_of(sheet.merges.begin(), sheet.merges.end(), [&](const SheetMerge& m) {
        return row >= m.firstRow && row <= m.lastRow && column >= m.firstColumn && column <= m.lastColumn;
    });
}

QVector<double> ColumnWidths(const Sheet& sheet)
{
    QVector<double> widths = sheet.minimumWidths;
    for (int r = 0; r < sheet.rows.size(); ++r) {
        const QVector<SheetValue>& row = sheet.rows[r];
        if (widths.size() < row.size())
            widths.resize(row.size(), 0);
        for (int c = 0; c < row.size(); ++c) {
            if (!std::holds_alternative<std::monostate>(row[c]) && (sheet.merges.isEmpty() || !InsideMerge(sheet, r, c)))
                widths[c] = std::max(widths[c], std::min(DisplayWidth(row[c]) + 2, kMaximumWidth));
        }
    }
    return widths;
}

// Merged ranges are written first (with the value of their first cell), then the cells.
lxw_error WriteSheet(lxw_workbook* book, const Sheet& data)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book, data.name.toUtf8().constData());
    if (!sheet)
        return LXW_ERROR_PARAMETER_VALIDATION;
    const Formats formats = MakeFormats(book, data.gridLines);
    const QVector<double> widths = ColumnWidths(data);
    for (int c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), std::max(widths[c], 2.0), nullptr);
    for (const SheetMerge& m : data.merges) {
        const lxw_format* format = m.firstRow < data.headerRows ? formats.header : formats.text;
        const lxw_error error = worksheet_merge_range(sheet, lxw_row_t(m.firstRow), lxw_col_t(m.firstColumn),
                                                      lxw_row_t(m.lastRow), lxw_col_t(m.lastColumn), "",
                                                      const_cast<lxw_format*>(format));
        if (error != LXW_NO_ERROR)
            return error;
    }
    for (int r = 0; r < data.rows.size(); ++r) {
        for (int c = 0; c < data.rows[r].size(); ++c) {
            const SheetValue& value = data.rows[r][c];
            const bool blank = std::holds_alternative<std::monostate>(value);
            if (blank && (!data.gridLines || InsideMerge(data, r, c)))
                continue;
            const lxw_error error = WriteCell(sheet, r, c, value, FormatOf(formats, value, r < data.headerRows));
            if (error != LXW_NO_ERROR)
                return error;
        }
    }
    if (data.headerRows > 0)
        worksheet_freeze_panes(sheet, lxw_row_t(data.headerRows), 0);
    return LXW_NO_ERROR;
}

} // namespace

double DisplayWidth(const SheetValue& value)
{
    if (std::holds_alternative<QDateTime>(value))
        return kDateWidth;
    if (const auto* number = std::get_if<double>(&value))
        return double(QString::number(*number).size());
    if (const auto* degrees = std::get_if<Degrees>(&value))
        return double(QString::number(degrees->value).size()) + 2;
    double width = 0;
    if (const auto* text = std::get_if<QString>(&value)) {
        for (const QString& line : text->split(QLatin1Char('\n'))) {
            double lineWidth = 0;
            for (const QChar c : line)
                lineWidth += c.unicode() < 0x2E80 ? 1 : 2;
            width = std::max(width, lineWidth);
        }
    }
    return width;
}

QString WriteWorkbook(const QString& path, const QVector<Sheet>& sheets)
{
    lxw_workbook* book = workbook_new(QFile::encodeName(path).constData());
    if (!book)
        return QStringLiteral("无法创建文件：") + path;
    lxw_error error = LXW_NO_ERROR;
    for (const Sheet& sheet : sheets) {
        if (error == LXW_NO_ERROR)
            error = WriteSheet(book, sheet);
    }
    // The workbook is closed (and freed) even after a failure.
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error == LXW_NO_ERROR)
        return {};
    return QStringLiteral("Excel文件写入失败：") + QString::fromUtf8(lxw_strerror(error));
}

} // namespace stolvar
