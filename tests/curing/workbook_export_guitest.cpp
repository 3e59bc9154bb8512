#include "curing/CuringController.h"
#include "curing/CuringWidgets.h"
#include "curing/forms/SameConditionTables.h"
#include "curing/forms/Table1Frame.h"
#include "curing/TransferController.h"
#include "db/Database.h"
#include "db/ResultsSchema.h"
#include "model/strength/TestResults.h"
#include "support/ControllerFixture.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "support/TestRegister.h"
#include "support/WorkbookReader.h"
#include "ui/GridCells.h"

#include <QLabel>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::DateCell;
using test::Day;
using test::NumberCell;

const QDateTime kCasting = Day(2017, 12, 20);

class WorkbookExportTest : public ::testing::Test, protected test::ControllerFixture
{
protected:
    WorkbookExportTest()
        : ControllerFixture(Day(2018, 1, 10, 10, 0)), curing(context, ui.curingUi),
          controller(context, ui.curingUi, curing), table1(*ui.curingUi.table1), table2(*ui.curingUi.table2),
          list(*ui.registerUi.standardList)
    {
        controller.setStandardList([this] { return &list; });
        ApplyTable1Frame(&table1, 16, 12);
        openDatabase();
        context.settings.write(keys::kCountFromNextDay, QStringLiteral("假"));   // the forms start on the casting day
        test::InsertGroup(*context.db, QStringLiteral("一号楼"), QStringLiteral("三层梁"), kCasting, kSent, kNotSent,
                          QStringLiteral("C30"), QStringLiteral("3"), QStringLiteral("2"));
        test::InsertGroup(*context.db, QStringLiteral("二号楼"), QStringLiteral("基础"), Day(2017, 11, 2));
        // The year turns inside the tables: 12月31日 is 2017, 1月1日 is 2018.
        for (int d = 0; d < 14; ++d)
            test::InsertTemperature(*context.db, kCasting.addDays(d), 10.5, 15, 6);
        context.selection = {QStringLiteral("三层梁"), QStringLiteral("一号楼"), kCasting, QStringLiteral("三层梁"),
                             QStringLiteral("C30")};
        WriteGroupHeaderCells(&table1, &table2, {QStringLiteral("一号楼"), QStringLiteral("三层梁"), kCasting, QStringLiteral("C30")});
        ShowListRow();
    }

    // The list as the register shows it after a filter: its header and one row.
    void ShowListRow()
    {
        list.setRowCount(2);
        list.setColumnWidth(1, 220);
        SetCellText(&list, 0, 1, QStringLiteral("工程部位"));
        const QString row[] = {{}, QStringLiteral("三层梁"), QStringLiteral("C30"), QStringLiteral("2017年12月20日"),
                               QStringLiteral("2018年1月18日"), QStringLiteral("8天"), kSent, kNotSent, QStringLiteral("3")};
        for (int c = 0; c < 9; ++c)
            SetCellText(&list, 1, c, row[c]);
    }

    test::ReadBack exportTo(const QString& name)
    {
        messages->fileNames << home.file(name);
        controller.exportWorkbook();
        return test::ReadWorkbook(home.file(name.endsWith(QStringLiteral(".xlsx")) ? name : name + QStringLiteral(".xlsx")));
    }

    CuringController curing;
    TransferController controller;
    QTableWidget& table1;
    QTableWidget& table2;
    QTableWidget& list;
};

TEST_F(WorkbookExportTest, WritesTheFiveSheetsWithTypedCells)
{
    const test::ReadBack book = exportTo(QStringLiteral("导出"));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    EXPECT_EQ(messages->lastText(), QStringLiteral("已导出到：") + home.file(QStringLiteral("导出.xlsx")));
    QStringList names;
    for (const QJsonValue& sheet : book.sheets)
        names << sheet[QStringLiteral("name")].toString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("标养列表"), QStringLiteral("全部试块"), QStringLiteral("同养表一"),
                                  QStringLiteral("同养表二"), QStringLiteral("强度评定")}));

    const QString listSheet = QStringLiteral("标养列表");
    EXPECT_EQ(book.sheet(listSheet)[QStringLiteral("freeze")].toString(), QStringLiteral("A2"));
    EXPECT_EQ(book.cell(listSheet, QStringLiteral("B1")).toString(), QStringLiteral("工程部位"));
    EXPECT_EQ(book.cell(listSheet, QStringLiteral("D2")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(listSheet, QStringLiteral("F2")).toString(), QStringLiteral("8天"));
    EXPECT_EQ(book.cell(listSheet, QStringLiteral("I2")).toObject(), NumberCell(3));
    EXPECT_GE(book.sheet(listSheet)[QStringLiteral("widths")][QStringLiteral("B")].toDouble(), 220 / 7.0 - 0.01);

    const QString all = QStringLiteral("全部试块");
    EXPECT_EQ(book.sheet(all)[QStringLiteral("rows")].toInt(), 3);
    EXPECT_EQ(book.sheet(all)[QStringLiteral("freeze")].toString(), QStringLiteral("A2"));
    EXPECT_EQ(book.cell(all, QStringLiteral("A2")).toString(), QStringLiteral("一号楼"));
    EXPECT_EQ(book.cell(all, QStringLiteral("D2")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(all, QStringLiteral("E2")).toObject(), DateCell("2018-01-17"));
    EXPECT_EQ(book.cell(all, QStringLiteral("F2")).toString(), kSent);
    EXPECT_EQ(book.cell(all, QStringLiteral("H2")).toObject(), NumberCell(3));
    EXPECT_TRUE(book.cell(all, QStringLiteral("J2")).isUndefined()) << "an empty count stays empty";
    EXPECT_EQ(book.cell(all, QStringLiteral("A3")).toString(), QStringLiteral("二号楼"));
}

TEST_F(WorkbookExportTest, TheFormsKeepTheirMergedCellsAndCarryRealDatesAndTemperatures)
{
    const test::ReadBack book = exportTo(QStringLiteral("forms.xlsx"));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    EXPECT_EQ(messages->lastText(), QStringLiteral("已导出到：") + home.file(QStringLiteral("forms.xlsx")));
    const QString one = QStringLiteral("同养表一");
    const QJsonArray merges1 = book.sheet(one)[QStringLiteral("merges")].toArray();
    for (const char* range : {"A1:H1", "A2:H2", "C3:H3", "C5:E5", "A23:B24", "G23:H24"})
        EXPECT_TRUE(merges1.contains(QString::fromLatin1(range))) << range;
    EXPECT_EQ(book.cell(one, QStringLiteral("A2")).toString(), QStringLiteral("混凝土结构同条件养护试块养护记录"));
    EXPECT_EQ(book.cell(one, QStringLiteral("C5")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(one, QStringLiteral("A8")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(one, QStringLiteral("A20")).toObject(), DateCell("2018-01-01"));
    EXPECT_EQ(book.cell(one, QStringLiteral("B8")).toObject(), NumberCell(10.5, QStringLiteral("General\"℃\"")));

    const QString two = QStringLiteral("同养表二");
    const QJsonArray merges2 = book.sheet(two)[QStringLiteral("merges")].toArray();
    for (const char* range : {"B1:D1", "F1:G1", "B2:D2", "F2:G2"})
        EXPECT_TRUE(merges2.contains(QString::fromLatin1(range))) << range;
    EXPECT_EQ(book.sheet(two)[QStringLiteral("freeze")].toString(), QStringLiteral("A4"));
    EXPECT_EQ(book.cell(two, QStringLiteral("B1")).toString(), QStringLiteral("一号楼"));
    EXPECT_EQ(book.cell(two, QStringLiteral("F1")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(two, QStringLiteral("A4")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(two, QStringLiteral("B4")).toObject(), NumberCell(15, QStringLiteral("General\"℃\"")));
    EXPECT_EQ(book.cell(two, QStringLiteral("E4")).toString(), QStringLiteral("有效"));
    EXPECT_EQ(book.cell(two, QStringLiteral("F4")).toObject(), NumberCell(1));
}

TEST_F(WorkbookExportTest, CancelNoDatabaseAndAnUnwritableFileAreHandled)
{
    controller.exportWorkbook();   // the save dialog cancelled
    EXPECT_TRUE(messages->shown.isEmpty());

    messages->fileNames << home.file(QStringLiteral("no-such-folder/导出.xlsx"));
    controller.exportWorkbook();
    EXPECT_TRUE(messages->lastText().startsWith(QStringLiteral("Excel文件写入失败："))) << messages->lastText().toStdString();

    context.db.reset();
    controller.exportWorkbook();
    EXPECT_EQ(messages->lastText(), QStringLiteral("请先打开数据库！"));
}

// The sheet "强度评定" is computed from the register's results, one block per grade and kind.
TEST_F(WorkbookExportTest, TheStrengthSheetEvaluatesEveryGrade)
{
    ASSERT_TRUE(EnsureResultsSchema(*context.db));
    ASSERT_EQ(SaveGroupResults(*context.db, 1, {{DueKind::Standard, 1, {}, {}, 150, {36.0, 36.0, 36.0}}}, std::nullopt),
              QString());
    const test::ReadBack book = exportTo(QStringLiteral("strength.xlsx"));
    ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
    const QString sheet = QStringLiteral("强度评定");
    EXPECT_EQ(book.cell(sheet, QStringLiteral("A1")).toString(), QStringLiteral("C30　标准养护"));
    EXPECT_EQ(book.cell(sheet, QStringLiteral("C3")).toString(), QStringLiteral("三层梁"));
    EXPECT_EQ(book.cell(sheet, QStringLiteral("D3")).toObject(), DateCell("2017-12-20"));
    EXPECT_EQ(book.cell(sheet, QStringLiteral("J3")).toObject(), NumberCell(36));
    EXPECT_TRUE(book.cell(sheet, QStringLiteral("A4")).toString().startsWith(QStringLiteral("n=1　mfcu=36.00")));
    EXPECT_EQ(book.cell(sheet, QStringLiteral("A7")).toString(), QStringLiteral("评定结果：合格"));
    EXPECT_EQ(book.cell(sheet, QStringLiteral("A9")).toString(), QStringLiteral("C30　同条件养护（结构实体）"));
}

} // namespace
} // namespace stolvar
