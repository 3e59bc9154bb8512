#include "curing/CuringFixtures.h"
#include "curing/forms/SameConditionTables.h"
#include "curing/forms/Table1Frame.h"
#include "core/Conversions.h"
#include "register/RegisterController.h"
#include "register/RegisterPageBuilder.h"
#include "support/ScriptedMessages.h"
#include "support/TempHome.h"
#include "ui/GridGeometry.h"
#include "ui/GridPrinter.h"

#include <QAction>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace stolvar {
namespace {

using test::Window;

const GroupHeader kGroup{QStringLiteral("一号楼"), QStringLiteral("三层梁"), test::kCasting, QStringLiteral("C30")};

void BuildTable1(QTableWidget* grid)
{
    QTableWidget table2;
    SetupTable1Grid(grid);
    SetupTable2Grid(&table2);
    ApplyTable1Frame(grid, 18, 10);
    WriteGroupHeaderCells(grid, &table2, kGroup);
    FillSameConditionTable1(grid, nullptr, AccumulateTable1(Window(std::vector<float>(5, 21.5f)), false));
}

void BuildTable2(QTableWidget* grid, int days)
{
    SetupTable2Grid(grid);
    FillSameConditionTable2(grid, kGroup, AccumulateTable2(Window(std::vector<float>(size_t(days), 0.0f)), false));
}

void BuildStandardList(QTableWidget* grid)
{
    SetupStandardListGrid(grid);
    const int widths[] = {1, 220, 60, 120, 120, 60, 60, 60, 150};
    const QStringList header = test::Texts({"", "工程部位", "强度等级", "取样日期", "委托日期", "剩余天数", "标养状态", "同养状态", "标养组数"});
    const QStringList data = test::Texts({"", "三层梁", "C30", "2017年3月1日", "2017年3月30日", "已过期", "未委托", "未委托", "2"});
    grid->setRowCount(2);
    for (int c = 0; c < 9; ++c) {
        grid->setColumnWidth(c, widths[c]);
        grid->setItem(0, c, new QTableWidgetItem(header[c]));
        grid->setItem(1, c, new QTableWidgetItem(data[c]));
    }
}

QString PdfText(const QString& path)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    return process.waitForFinished(30000) ? QString::fromUtf8(process.readAllStandardOutput()) : QString();
}

TEST(WriteGridPdf, PrintsEachGridWithItsTexts)
{
    const struct {
        const char* name;
        std::function<void(QTableWidget*)> build;
        QStringList expected;
        int pages;
    } cases[] = {
        {"table1", BuildTable1,
         test::Texts({"HJ0.1-2-8", "混凝土结构同条件养护试块养护记录", "工程名称：", "一号楼", "2017年3月1日", "日期/温度",
                      "3月5日", "21.5℃", "107.5℃", "5天", "施工单位试验员：", "监理单位见证员："}), 1},
        {"table2", [](QTableWidget* g) { BuildTable2(g, 3); },
         test::Texts({"工程名称", "累计℃·d", "3月3日", "无效", "取样员：", "见证员："}), 1},
        {"table2-91-days", [](QTableWidget* g) { BuildTable2(g, 91); }, test::Texts({"5月30日", "见证员："}), 3},
        {"list", BuildStandardList, test::Texts({"工程部位", "标养组数", "三层梁", "2017年3月30日", "已过期"}), 1},
    };
    test::TempHome home;
    for (const auto& c : cases) {
        QTableWidget grid;
        c.build(&grid);
        const QString path = home.file(QString::fromUtf8(c.name) + QStringLiteral(".pdf"));
        ASSERT_TRUE(WriteGridPdf(grid, path)) << c.name;
        const QString text = PdfText(path);
        for (const QString& expected : c.expected)
            EXPECT_TRUE(text.contains(expected)) << c.name << ": " << expected.toStdString();
        EXPECT_EQ(text.count(u'\f'), c.pages) << c.name;
    }
    QTableWidget grid;
    BuildStandardList(&grid);
    EXPECT_FALSE(WriteGridPdf(grid, home.file(QStringLiteral("no/such/folder/list.pdf"))));
}

// The printed standard-curing list names its project and the day on every page, with the
// page's number of all.
TEST(WriteGridPdf, TheStandardListCarriesItsHeadingAndPageNumbers)
{
    QTableWidget grid;
    BuildStandardList(&grid);
    grid.setRowCount(60);
    for (int r = 2; r < 60; ++r) {
        grid.setItem(r, 1, new QTableWidgetItem(QStringLiteral("部位%1").arg(r)));
        grid.setRowHeight(r, 30);
    }
    test::TempHome home;
    const QString path = home.file(QStringLiteral("list.pdf"));
    const QString heading = StandardListHeading(QStringLiteral("城北花园3号楼"), WallTime(QDate(2026, 12, 8)));
    EXPECT_EQ(heading, QStringLiteral("标养试块列表　工程名称：城北花园3号楼　打印日期：2026年12月8日"));
    ASSERT_TRUE(WriteGridPdf(grid, path, heading));
    const QStringList pages = PdfText(path).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        const QString page = pages[i].simplified();
        EXPECT_TRUE(page.contains(QStringLiteral("工程名称：城北花园3号楼"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("打印日期：2026年12月8日"))) << i;
        EXPECT_TRUE(page.contains(QStringLiteral("第%1页，共2页").arg(i + 1))) << page.toStdString();
    }
    EXPECT_TRUE(pages[1].contains(QStringLiteral("部位59")));
}

TEST(SplitIntoPages, BreaksBetweenMergedCells)
{
    QTableWidget grid(10, 2);
    for (int r = 0; r < 10; ++r)
        grid.setRowHeight(r, 100);
    grid.setSpan(3, 0, 3, 1);   // rows 3 to 5 are one cell in column 0
    auto firstRows = [&](double pageHeight) {
        QList<int> firsts;
        for (const PageRows& page : SplitIntoPages(GridGeometry(grid), pageHeight))
            firsts << page.first;
        return firsts;
    };
    EXPECT_EQ(firstRows(450), QList<int>({0, 3, 7}));
    // A merged cell taller than a page starts a page and is cut where that page ends.
    EXPECT_EQ(firstRows(250), QList<int>({0, 2, 3, 5, 7, 9}));
}

TEST(GridPreview, PaintsTheGridAndSavesItAsPdf)
{
    test::TempHome home;
    test::ScriptedMessages messages;
    QTableWidget grid;
    BuildTable1(&grid);
    QPrinter printer;
    std::unique_ptr<QPrintPreviewDialog> dialog(CreateGridPreview(&grid, &printer, nullptr, messages));
    auto* preview = dialog->findChild<QPrintPreviewWidget*>();
    ASSERT_NE(preview, nullptr);
    preview->updatePreview();
    EXPECT_EQ(preview->pageCount(), 1);
    EXPECT_DOUBLE_EQ(printer.pageLayout().margins(QPageLayout::Millimeter).left(), 1.0);

    auto* save = dialog->findChild<QAction*>(QStringLiteral("另存为PDF"));
    ASSERT_NE(save, nullptr);
    messages.fileNames << home.file(QStringLiteral("form"));
    save->trigger();
    EXPECT_TRUE(PdfText(home.file(QStringLiteral("form.pdf"))).contains(QStringLiteral("HJ0.1-2-8")));
    save->trigger();   // cancelled: no file name, no message
    EXPECT_TRUE(messages.shown.isEmpty());
    messages.fileNames << home.file(QStringLiteral("missing/form.pdf"));
    save->trigger();
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("PDF文件保存失败")));
}

} // namespace
} // namespace stolvar
