#include "core/Conversions.h"
#include "model/workbook/Workbook.h"
#include "model/workbook/WorkbookSheets.h"
#include "support/TempHome.h"
#include "support/WorkbookReader.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

TEST(WorkbookCells, GridTextsBecomeTypedValues)
{
    const QDateTime anchor = WallTime(QDate(2017, 12, 20));
    struct Case {
        QString text;
        SheetValue expected;
    };
    const Case cases[] = {
        {QStringLiteral("2017年3月5日"), WallTime(QDate(2017, 3, 5))},
        {QStringLiteral("12月31日"), WallTime(QDate(2017, 12, 31))},
        {QStringLiteral("1月2日"), WallTime(QDate(2018, 1, 2))},   // after the turn of the year
        {QStringLiteral("12.5℃"), Degrees{12.5}},
        {QStringLiteral("-3℃"), Degrees{-3}},
        {QStringLiteral("604.5"), 604.5},
        {QStringLiteral(" 3 "), 3.0},
        {QStringLiteral(""), std::monostate()},
        {QStringLiteral("8天"), QStringLiteral("8天")},
        {QStringLiteral("有效"), QStringLiteral("有效")},
        {QStringLiteral("2017-3-5"), QStringLiteral("2017-3-5")},      // not as the grids show dates
        {QStringLiteral("2月30日"), QStringLiteral("2月30日")},        // no such day
        {QStringLiteral("1e5"), QStringLiteral("1e5")},
        {QStringLiteral("同养23天|604.5℃"), QStringLiteral("同养23天|604.5℃")},
    };
    for (const Case& c : cases) {
        const SheetValue value = SheetValueFromText(c.text, anchor);
        EXPECT_EQ(value.index(), c.expected.index()) << c.text.toStdString();
        if (const auto* d = std::get_if<Degrees>(&value))
            EXPECT_DOUBLE_EQ(d->value, std::get<Degrees>(c.expected).value) << c.text.toStdString();
        else
            EXPECT_TRUE(value == c.expected) << c.text.toStdString();
    }
    EXPECT_TRUE(std::holds_alternative<QString>(SheetValueFromText(QStringLiteral("1月2日"))))
        << "a short day without a casting date has no year";
}

TEST(WorkbookWriter, WidensColumnsToTheirContentAndWritesOldDatesAsText)
{
    test::TempHome home;
    Sheet sheet;
    sheet.name = QStringLiteral("全部试块");
    sheet.rows = {{QStringLiteral("工程名称"), QStringLiteral("取样日期")},
                  {QStringLiteral("很长很长很长很长的工程名称一二三四五"), WallTime(QDate(1899, 12, 30))},
                  {QStringLiteral("x"), WallTime(QDate(2026, 12, 1), QTime(8, 30))}};
    const QString path = home.file(QStringLiteral("w.xlsx"));
    ASSERT_EQ(WriteWorkbook(path, {sheet}), QString());
    const test::ReadBack book = test::ReadWorkbook(path);
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    const QJsonObject widths = book.sheet(sheet.name)[QStringLiteral("widths")].toObject();
    EXPECT_GE(widths[QStringLiteral("A")].toDouble(), 36.0);
    EXPECT_GE(widths[QStringLiteral("B")].toDouble(), 16.0);
    EXPECT_EQ(book.cell(sheet.name, QStringLiteral("B2")).toString(), QStringLiteral("1899年12月30日"));
    EXPECT_EQ(book.cell(sheet.name, QStringLiteral("B3")).toObject(), test::DateCell("2026-12-01"));
}

} // namespace
} // namespace stolvar
