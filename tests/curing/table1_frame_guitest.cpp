#include "curing/CuringFixtures.h"
#include "curing/forms/SameConditionTables.h"
#include "curing/forms/Table1Frame.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::Text;

// Everything the frame sets, cell by cell, to compare two layouts.
QStringList Snapshot(const QTableWidget& grid)
{
    QStringList cells;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            cells << QStringLiteral("%1x%2 h%3 %4 %5 %6").arg(grid.rowSpan(r, c)).arg(grid.columnSpan(r, c))
                         .arg(grid.rowHeight(r)).arg(Text(grid, r, c), item ? item->font().toString() : QString())
                         .arg(item ? item->textAlignment() : -1);
        }
    }
    return cells;
}

class Table1FrameTest : public ::testing::Test
{
protected:
    void SetUp() override { SetupTable1Grid(&grid); }
    QTableWidget grid;
};

TEST_F(Table1FrameTest, MergesTheFormCellsAndWritesItsTexts)
{
    ApplyTable1Frame(&grid, 18, 10);
    const int spans[][4] = {
        {0, 0, 1, 8}, {1, 0, 1, 8}, {2, 0, 1, 2}, {2, 2, 1, 6}, {3, 0, 1, 2}, {3, 2, 1, 6}, {4, 0, 1, 2},
        {4, 2, 1, 3}, {4, 5, 1, 2}, {4, 7, 1, 1}, {5, 0, 1, 2}, {5, 2, 1, 1}, {5, 3, 1, 2}, {5, 5, 1, 3},
        {6, 0, 1, 2}, {6, 6, 1, 2}, {7, 0, 1, 1}, {22, 0, 2, 2}, {22, 2, 2, 2}, {22, 4, 2, 2}, {22, 6, 2, 2},
    };
    for (const auto& s : spans) {
        EXPECT_EQ(grid.rowSpan(s[0], s[1]), s[2]) << s[0] << "," << s[1];
        EXPECT_EQ(grid.columnSpan(s[0], s[1]), s[3]) << s[0] << "," << s[1];
    }
    EXPECT_EQ(QList<int>({grid.rowHeight(0), grid.rowHeight(1), grid.rowHeight(2)}), QList<int>({20, 40, 31}));
    EXPECT_EQ(Text(grid, 0, 0), QStringLiteral("HJ0.1-2-8"));
    EXPECT_EQ(Text(grid, 1, 0), QStringLiteral("混凝土结构同条件养护试块养护记录"));
    EXPECT_EQ(Text(grid, 5, 3), QStringLiteral("养护龄期为："));
    EXPECT_EQ(Text(grid, 22, 4), QStringLiteral("监理单位见证员："));
}

TEST_F(Table1FrameTest, TitleAndTableFontsWhileTheFormCodeKeepsTheDefault)
{
    const int defaultSize = grid.font().pointSize();
    ApplyTable1Frame(&grid, 18, 10);
    const QFont title = grid.item(1, 0)->font();
    EXPECT_EQ(title.pointSize(), 18);
    EXPECT_TRUE(title.bold() && !title.italic() && !title.underline());
    EXPECT_EQ(grid.item(0, 0)->font().pointSize(), defaultSize);
    for (int r = 2; r < 24; ++r)
        EXPECT_EQ(grid.item(r, r % 8)->font().pointSize(), 10) << r;
    EXPECT_EQ(grid.item(0, 0)->textAlignment(), int(Qt::AlignRight | Qt::AlignVCenter));
    for (int r = 1; r < 24; ++r)
        EXPECT_EQ(grid.item(r, 3)->textAlignment(), int(Qt::AlignCenter)) << r;

    ApplyTable1Frame(&grid, 0, 0);   // no setting: the grid's own size
    EXPECT_EQ(grid.item(1, 0)->font().pointSize(), defaultSize);
    EXPECT_EQ(grid.item(9, 1)->font().pointSize(), defaultSize);
}

TEST_F(Table1FrameTest, ApplyingTwiceChangesNothingAndKeepsTheFilledCells)
{
    grid.setItem(2, 2, new QTableWidgetItem(QStringLiteral("一号楼")));
    grid.setItem(7, 1, new QTableWidgetItem(QStringLiteral("12.5℃")));
    ApplyTable1Frame(&grid, 18, 10);
    const QStringList first = Snapshot(grid);
    ApplyTable1Frame(&grid, 18, 10);
    EXPECT_EQ(Snapshot(grid), first);
    EXPECT_EQ(Text(grid, 2, 2), QStringLiteral("一号楼"));
    EXPECT_EQ(Text(grid, 7, 1), QStringLiteral("12.5℃"));
}

TEST(ReadTable1FontSizes, TakesTheLeadingNumberTruncated)
{
    test::TempHome home;
    const SettingsStore settings = home.settings();
    const char* const cases[][4] = {{"18.9", "10.2pt", "18", "10"}, {"abc", "", "0", "0"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(settings.write(keys::kTitleFontSize, QString::fromUtf8(c[0])));
        ASSERT_TRUE(settings.write(keys::kTableFontSize, QString::fromUtf8(c[1])));
        const Table1FontSizes sizes = ReadTable1FontSizes(settings);
        EXPECT_EQ(QString::number(sizes.title), QString::fromUtf8(c[2])) << c[0];
        EXPECT_EQ(QString::number(sizes.table), QString::fromUtf8(c[3])) << c[1];
    }
}

} // namespace
} // namespace stolvar
