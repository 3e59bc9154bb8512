#include "ui/MeasuredItemDelegate.h"

#include <QHeaderView>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace stolvar {
namespace {

// Row after row of texts as a register's list has them: repeated dates and states, long and
// short positions, an empty cell, a larger and a bold font, a cell with a check box.
void Fill(QTableWidget& grid, int variant)
{
    const QStringList positions = {QStringLiteral("基础"), QStringLiteral("三层梁板及楼梯（东侧后浇带）"),
                                   QStringLiteral("C30"), QString(), QStringLiteral("Wall 12-A"),
                                   QStringLiteral("十二层剪力墙")};
    grid.setRowCount(12);
    grid.setColumnCount(4);
    QFont large = grid.font();
    large.setPointSize(20);
    QFont bold = grid.font();
    bold.setBold(true);
    for (int r = 0; r < grid.rowCount(); ++r) {
        auto* position = new QTableWidgetItem(positions[(r + variant) % positions.size()]);
        if (r % 4 == 1)
            position->setFont(large);
        if (r == grid.rowCount() - 1) {   // the longest text, measured in the small font above
            position->setText(positions[1]);
            position->setFont(large);
        }
        grid.setItem(r, 0, position);
        grid.setItem(r, 1, new QTableWidgetItem(QStringLiteral("2017年3月%1日").arg(1 + (r * variant) % 28)));
        auto* state = new QTableWidgetItem(r % 3 == variant % 3 ? QStringLiteral("已委托") : QStringLiteral("未委托"));
        if (r == 5)
            state->setFont(bold);
        grid.setItem(r, 2, state);
        auto* checked = new QTableWidgetItem(QStringLiteral("送检"));
        if (r == 2 + variant)
            checked->setCheckState(Qt::Checked);
        grid.setItem(r, 3, checked);
    }
}

// Columns fitted through the remembering delegate are as wide as through Qt's own, at
// the first fit and after the texts changed (sizes remembered from before and new ones mixed).
TEST(MeasuredItemDelegate, FitsColumnsExactlyAsTheStandardDelegate)
{
    QTableWidget plain;
    QTableWidget measured;
    measured.setItemDelegate(new MeasuredItemDelegate(&measured));
    for (QTableWidget* grid : {&plain, &measured}) {
        grid->horizontalHeader()->hide();
        grid->resize(600, 400);
    }
    for (const int variant : {1, 0, 2, 1}) {
        SCOPED_TRACE(variant);
        Fill(plain, variant);
        Fill(measured, variant);
        plain.resizeColumnsToContents();
        measured.resizeColumnsToContents();
        for (int c = 0; c < plain.columnCount(); ++c)
            EXPECT_EQ(measured.columnWidth(c), plain.columnWidth(c)) << "column " << c;
        EXPECT_GT(plain.columnWidth(0), plain.columnWidth(2)) << "the long position sets its column";
    }
}

} // namespace
} // namespace stolvar
