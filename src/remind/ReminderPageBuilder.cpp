#include "remind/ReminderPageBuilder.h"

#include "remind/ReminderWidgets.h"
#include "ui/WidgetFactory.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QTableWidget>

namespace stolvar {

namespace {

QPlainTextEdit* ReminderBox(QWidget* page, const QString& groupName, const QString& title,
                            const QString& boxName, const QRect& geometry)
{
    auto* group = Place<QGroupBox>(page, groupName, geometry);
    group->setTitle(title);
    auto* box = Place<QPlainTextEdit>(group, boxName, {6, 20, geometry.width() - 12, geometry.height() - 26});
    box->setReadOnly(true);
    return box;
}

} // namespace

void BuildReminderBoxes(QWidget* page, ReminderWidgets& ui)
{
    ui.standardDueBox = ReminderBox(page, QStringLiteral("分组框6"), QStringLiteral("标养到期提醒"),
                                    QStringLiteral("到期提醒编辑框"), {2, 2, 294, 194});
    ui.formRemovalDueBox = ReminderBox(page, QStringLiteral("分组框8"), QStringLiteral("拆模到期提醒"),
                                       QStringLiteral("拆模提醒编辑框"), {302, 2, 294, 194});
    ui.sameConditionDueBox = ReminderBox(page, QStringLiteral("分组框7"), QStringLiteral("同养到期提醒"),
                                         QStringLiteral("到期提醒编辑框1"), {2, 198, 294, 194});
    ui.recentPoursBox = ReminderBox(page, QStringLiteral("分组框9"), QStringLiteral("近期浇筑"),
                                    QStringLiteral("近期浇筑编辑框"), {302, 198, 294, 194});
}

QWidget* BuildWorklistPage(WorklistWidgets& ui)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("待办页"));
    ui.summaryLabel = PlaceLabel(page, QStringLiteral("待办统计标签"), QString(), {4, 4, 470, 28});
    ui.markSentButton = PlaceButton(page, QStringLiteral("待办委托按钮"), QStringLiteral("标记委托"), {480, 2, 116, 30});
    ui.grid = Place<QTableWidget>(page, QStringLiteral("待办表格"), {0, 36, 600, 579});
    ui.grid->setColumnCount(7);
    ui.grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ui.grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    ui.grid->setSelectionMode(QAbstractItemView::SingleSelection);
    ui.grid->verticalHeader()->hide();
    ui.grid->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {40, 96, 88, 56, 104, 126};
    for (int c = 0; c < 6; ++c)
        ui.grid->setColumnWidth(c, widths[c]);
    return page;
}

} // namespace stolvar
