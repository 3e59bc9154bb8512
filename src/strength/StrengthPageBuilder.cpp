#include "strength/StrengthPageBuilder.h"

#include "model/strength/Evaluation.h"
#include "model/strength/StrengthTexts.h"
#include "strength/StrengthWidgets.h"
#include "ui/WidgetFactory.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QTableView>

namespace stolvar {

namespace {

QComboBox* Choice(QWidget* page, const QString& caption, const QString& name, const QRect& label, int width)
{
    PlaceLabel(page, name + QStringLiteral("标签"), caption, label);
    return Place<QComboBox>(page, name, {label.right() + 1, label.y(), width, label.height()});
}

QDateEdit* DateBox(QWidget* page, const QString& name, const QRect& geometry)
{
    auto* box = Place<QDateEdit>(page, name, geometry);
    box->setDisplayFormat(QStringLiteral("yyyy年M月d日"));
    box->setCalendarPopup(true);
    return box;
}

void SetupGrid(QTableView* grid)
{
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->horizontalHeader()->setStretchLastSection(true);
}

} // namespace

void BuildResultsPanel(QWidget* standardStateGroup, QWidget* groupEditingGroup, ResultsPanelWidgets& ui)
{
    ui.strengthLabel = PlaceLabel(standardStateGroup, QStringLiteral("强度标签"), QString(), {10, 98, 274, 58});
    ui.strengthLabel->setWordWrap(true);
    ui.strengthLabel->setTextFormat(Qt::PlainText);
    ui.strengthLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui.resultsButton =
        PlaceButton(groupEditingGroup, QStringLiteral("试验结果按钮"), QStringLiteral("试验结果…"), {420, 23 + 5 * 38, 150, 30});
    ui.resultsButton->setEnabled(false);
}

QWidget* BuildEvaluationPage(EvaluationWidgets& ui)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("强度评定页"));
    ui.page = page;
    ui.projectBox = Choice(page, QStringLiteral("工程："), QStringLiteral("评定工程框"), {4, 4, 40, 26}, 222);
    ui.gradeBox = Choice(page, QStringLiteral("等级："), QStringLiteral("评定等级框"), {272, 4, 40, 26}, 96);
    ui.methodBox = Choice(page, QStringLiteral("方法："), QStringLiteral("评定方法框"), {414, 4, 40, 26}, 142);
    ui.methodBox->addItems(MethodChoices());
    ui.kindBox = Choice(page, QStringLiteral("类别："), QStringLiteral("评定类别框"), {4, 34, 40, 26}, 222);
    ui.kindBox->addItems({KindChoiceText(DueKind::Standard), KindChoiceText(DueKind::SameCondition)});
    PlaceLabel(page, QStringLiteral("评定日期标签"), QStringLiteral("成型："), {272, 34, 40, 26});
    ui.fromBox = DateBox(page, QStringLiteral("评定起始框"), {312, 34, 128, 26});
    PlaceLabel(page, QStringLiteral("评定至标签"), QStringLiteral("至"), {444, 34, 16, 26});
    ui.toBox = DateBox(page, QStringLiteral("评定截止框"), {462, 34, 134, 26});
    ui.grid = Place<QTableView>(page, QStringLiteral("评定表格"), {0, 66, 600, 452});
    SetupGrid(ui.grid);
    ui.resultLabel = PlaceLabel(page, QStringLiteral("评定结果标签"), QString(), {4, 522, 592, 66});
    ui.resultLabel->setWordWrap(true);
    ui.resultLabel->setTextFormat(Qt::PlainText);
    ui.resultLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui.resultLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ui.pendingLabel = PlaceLabel(page, QStringLiteral("待录入标签"), QString(), {4, 590, 592, 22});
    return page;
}

} // namespace stolvar
