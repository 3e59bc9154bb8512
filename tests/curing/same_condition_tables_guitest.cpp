#include "curing/CuringFixtures.h"
#include "curing/forms/SameConditionTables.h"
#include "curing/forms/Table1Frame.h"

#include <QLabel>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

using test::kCasting;
using test::Text;
using test::Texts;
using test::Window;

const GroupHeader kGroup{QStringLiteral("一号楼"), QStringLiteral("三层梁"), kCasting, QStringLiteral("C30")};

TEST(FillSameConditionTable1, PlacesDaysDownTheFourColumnPairs)
{
    QTableWidget grid;
    QLabel label;
    SetupTable1Grid(&grid);
    FillSameConditionTable1(&grid, &label, AccumulateTable1(Window(std::vector<float>(61, 2.5f)), false));
    const struct {
        int row, column;
        const char* day;
    } placed[] = {{7, 0, "3月1日"}, {21, 0, "3月15日"}, {7, 2, "3月16日"}, {7, 4, "3月31日"}, {7, 6, "4月15日"}, {21, 6, "4月29日"}};
    for (const auto& p : placed) {
        EXPECT_EQ(Text(grid, p.row, p.column), QString::fromUtf8(p.day)) << p.day;
        EXPECT_EQ(Text(grid, p.row, p.column + 1), QStringLiteral("2.5℃")) << p.day;
    }
    EXPECT_EQ(Text(grid, 5, 2), QStringLiteral("150℃"));
    EXPECT_EQ(Text(grid, 5, 5), QStringLiteral("60天"));
    EXPECT_EQ(label.text(), QStringLiteral("同养60天|150℃"));
}

TEST(FillSameConditionTable1, ARefillClearsOldDaysAndKeepsTheFrameAndGroup)
{
    QTableWidget grid, table2;
    QLabel label;
    SetupTable1Grid(&grid);
    SetupTable2Grid(&table2);
    ApplyTable1Frame(&grid, 18, 10);
    WriteGroupHeaderCells(&grid, &table2, kGroup);
    FillSameConditionTable1(&grid, &label, AccumulateTable1(Window(std::vector<float>(40, 1.0f)), false));
    std::vector<float> means(22, 25.0f);   // and a 23rd day of 54.5 ℃ reaches 604.5 ℃·d
    means.insert(means.end(), {54.5f, 30.0f});
    FillSameConditionTable1(&grid, &label, AccumulateTable1(Window(means), false));
    EXPECT_EQ(label.text(), QStringLiteral("同养23天|604.5℃"));
    EXPECT_EQ(Text(grid, 14, 3), QStringLiteral("54.5℃"));
    EXPECT_EQ(Text(grid, 15, 2), QString()) << "the 24th day is never shown";
    EXPECT_EQ(Text(grid, 7, 4), QString()) << "days of the previous fill are cleared";
    EXPECT_EQ(grid.item(7, 4)->font().pointSize(), 10) << "clearing keeps the cell format";
    EXPECT_EQ(Text(grid, 6, 4), QStringLiteral("日期/温度"));
    const QStringList group{Text(grid, 2, 2), Text(grid, 3, 2), Text(grid, 4, 2), Text(grid, 4, 7), Text(table2, 0, 5)};
    EXPECT_EQ(group, Texts({"一号楼", "三层梁", "2017年3月1日", "C30", "2017年3月1日"}));

    FillSameConditionTable1(&grid, &label, AccumulateTable1(Window({1234.567f}), false));
    EXPECT_EQ(Text(grid, 5, 2), QStringLiteral("1234.57℃"));
}

class Table2Test : public ::testing::Test
{
protected:
    void SetUp() override { SetupTable2Grid(&grid); }
    void fill(const std::vector<float>& means) { FillSameConditionTable2(&grid, kGroup, AccumulateTable2(Window(means), false)); }
    QStringList row(int r) const
    {
        QStringList texts;
        for (int c = 0; c < grid.columnCount(); ++c)
            texts << Text(grid, r, c);
        return texts;
    }
    QTableWidget grid;
};

TEST_F(Table2Test, HeaderDaysAndFooter)
{
    fill({10.0f, -3.5f, 0.0f});
    ASSERT_EQ(grid.rowCount(), 3 + 3 + 1);
    EXPECT_EQ(row(0), Texts({"工程名称", "一号楼", "", "", "成型日期", "2017年3月1日", ""}));
    EXPECT_EQ(row(1), Texts({"工程部位", "三层梁", "", "", "强度等级", "C30", ""}));
    EXPECT_EQ(row(2), Texts({"日    期", "最高温度", "最低温度", "平均温度", "有效温度判定", "有效天数累计", "累计℃·d"}));
    EXPECT_EQ(row(3), Texts({"3月1日", "14℃", "6℃", "10℃", "有效", "1", "10℃"}));
    EXPECT_EQ(row(4), Texts({"3月2日", "0.5℃", "-7.5℃", "-3.5℃", "无效", "1", "6.5℃"}));
    EXPECT_EQ(row(5), Texts({"3月3日", "4℃", "-4℃", "0℃", "无效", "1", "6.5℃"}));
    EXPECT_EQ(row(6), Texts({" 取样员：", "", "", " 见证员：", "", "", ""}));
    EXPECT_EQ(grid.rowHeight(6), 60);
    EXPECT_EQ(grid.rowHeight(5), 20);
    const int spans[][3] = {{0, 1, 3}, {1, 1, 3}, {0, 5, 2}, {1, 5, 2}, {6, 1, 2}, {6, 4, 3}, {3, 1, 1}};
    for (const auto& s : spans)
        EXPECT_EQ(grid.columnSpan(s[0], s[1]), s[2]) << s[0] << "," << s[1];
    for (int c = 0; c < 7; ++c)
        EXPECT_EQ(grid.item(2, c)->textAlignment(), int(Qt::AlignCenter)) << c;
}

TEST_F(Table2Test, ARefillRebuildsTheRowsAndTheFooter)
{
    fill({10.0f});
    fill({10.0f, 11.0f, 12.0f});
    ASSERT_EQ(grid.rowCount(), 7);
    EXPECT_EQ(grid.columnSpan(4, 1), 1) << "the old footer's merge is gone";
    EXPECT_EQ(grid.rowHeight(4), 20);
    EXPECT_EQ(Text(grid, 6, 0), QStringLiteral(" 取样员："));
    std::vector<float> alternating;   // never 60 valid days, never 600 ℃·d
    for (int i = 0; i < 91; ++i)
        alternating.push_back(float(i % 2));
    fill(alternating);
    EXPECT_EQ(grid.rowCount(), 3 + 91 + 1);
    EXPECT_EQ(Text(grid, 93, 0), QStringLiteral("5月30日"));
}

// Everything a refill must leave as a fill into a new grid would: rows, heights, texts,
// sources, tooltips and merges.
QStringList Snapshot(const QTableWidget& grid)
{
    QStringList cells{QString::number(grid.rowCount())};
    for (int r = 0; r < grid.rowCount(); ++r) {
        cells << QStringLiteral("row %1: %2").arg(r).arg(grid.rowHeight(r));
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QTableWidgetItem* item = grid.item(r, c);
            cells << QStringLiteral("%1,%2 [%3] %4 %5 span %6×%7")
                         .arg(r)
                         .arg(c)
                         .arg(item ? item->text() : QStringLiteral("-"),
                              item ? item->data(kSourceRole).toString() : QString(),
                              item ? item->toolTip() : QString())
                         .arg(grid.rowSpan(r, c))
                         .arg(grid.columnSpan(r, c));
        }
    }
    return cells;
}

MaturitySummary Summary(int days, int forecastFrom)
{
    QVector<TemperatureRecord> window = Window(std::vector<float>(size_t(days), 12.0f));
    for (int i = forecastFrom; i < days; ++i)
        window[i].source = TemperatureSource::Forecast;
    return AccumulateTable2(window, false);
}

TEST_F(Table2Test, ARefillLeavesTheGridAsAFillIntoANewGrid)
{
    const struct {
        int days, forecastFrom;
    } fills[] = {{5, 3}, {5, 3}, {8, 8}, {2, 0}, {2, 2}, {0, 0}, {6, 1}, {6, 6}};
    for (size_t i = 1; i < std::size(fills); ++i) {
        const auto [daysBefore, forecastBefore] = fills[i - 1];
        const auto [days, forecastFrom] = fills[i];
        QTableWidget fresh;
        SetupTable2Grid(&fresh);
        FillSameConditionTable2(&fresh, kGroup, Summary(days, forecastFrom));
        FillSameConditionTable2(&grid, kGroup, Summary(daysBefore, forecastBefore));
        FillSameConditionTable2(&grid, kGroup, Summary(days, forecastFrom));
        EXPECT_EQ(Snapshot(grid), Snapshot(fresh)) << daysBefore << " days, then " << days;
    }
}

} // namespace
} // namespace stolvar
