#include "curing/CuringController.h"

#include "core/Conversions.h"
#include "curing/CuringWidgets.h"
#include "curing/DeleteTemperatureDialog.h"
#include "curing/forms/ChartPrinter.h"
#include "curing/forms/MaturityCurvePage.h"
#include "curing/forms/SameConditionTables.h"
#include "curing/forms/Table1Frame.h"
#include "model/temperatures/TemperatureStore.h"
#include "ui/AppContext.h"
#include "ui/GridCells.h"
#include "ui/GridPrinter.h"
#include "ui/Pages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>

#include <utility>

namespace stolvar {

bool CuringController::confirmSwappedTemperatures()
{
    const CuringWidgets& ui = m_ui;
    if (!MaximumBelowMinimum(ui.highBox->text(), ui.lowBox->text()))
        return true;
    return m_context.messages().ask(m_context.window, QStringLiteral("最高温度低于最低温度，确定要保存吗？"),
                                    Messages::DefaultTitle(), Messages::Icon::Warning);
}

CuringController::CuringController(AppContext& context, CuringWidgets& ui, QObject* parent)
    : QObject(parent), m_context(context), m_ui(ui)
{
}

void CuringController::connectControls()
{
    const CuringWidgets& ui = m_ui;
    connect(ui.addTemperatureButton, &QPushButton::clicked, this, &CuringController::addTemperature);
    connect(ui.changeTemperatureButton, &QPushButton::clicked, this, &CuringController::changeTemperature);
}

void CuringController::report(const QString& text)
{
    m_context.messages().show(m_context.window, text, Messages::DefaultTitle(), Messages::Icon::Information);
}

// The typed day through one of the validated edits: nothing without a database or when the
// clerk declines a maximum below the minimum; the edit's own message is shown. The edit
// goes through the register's write queue with the other edits, in the order they were
// asked for, and is stored in the register it was typed for.
void CuringController::storeTypedDay(TypedDayEdit edit, std::function<void(const StoreResult&)> stored)
{
    if (!m_context.db) {
        report(Messages::NoDatabaseText());
        return;
    }
    if (!confirmSwappedTemperatures())
        return;
    const CuringWidgets& ui = m_ui;
    auto store = [db = m_context.db, edit, date = ui.temperatureDateBox->text(), high = ui.highBox->text(),
                  low = ui.lowBox->text()] { return edit(*db, date, high, low); };
    m_context.writes.post(this, std::move(store), [this, stored = std::move(stored)](const StoreResult& result) {
        if (!result.message.isEmpty())
            report(result.message);
        stored(result);
    });
}

void CuringController::addTemperature()
{
    storeTypedDay(&AddTemperatureRecord, [this](const StoreResult& result) {
        if (!result.ok)
            return;
        temperaturesStored();
        if (m_afterAddition)
            m_afterAddition();
    });
}

void CuringController::changeTemperature()
{
    storeTypedDay(&ChangeTemperatureRecord, [this](const StoreResult& result) {
        if (result.rows > 0)
            temperaturesStored();
    });
}

std::unique_ptr<DeleteTemperatureDialog> CuringController::createDeleteDialog()
{
    auto dialog = std::make_unique<DeleteTemperatureDialog>(m_context.db, m_context.today(), m_context.messages(),
                                                            m_context.window);
    connect(dialog.get(), &DeleteTemperatureDialog::recordsDeleted, this, &CuringController::temperaturesStored);
    return dialog;
}

void CuringController::openDeleteDialog()
{
    createDeleteDialog()->exec();
}

void CuringController::showLastTemperatureDay()
{
    if (!m_context.db)
        return;
    const QDateTime last = LastTemperatureDay(*m_context.db);
    if (last.isValid())
        m_ui.temperatureDateBox->setText(FormatLongDate(last));
}

int CuringController::shownPage() const
{
    return m_shownPage ? m_shownPage() : -1;
}

void CuringController::showGroup(const SpecimenGroup& group)
{
    WriteGroupHeaderCells(m_ui.table1, m_ui.table2, {group.project, group.position, group.castingDate, group.grade});
    showCuring();
}

// Table 1 (it also writes 累计温度标签, whichever page is shown), table 2 when it is shown,
// and the outlook, from one read of the group's days.
void CuringController::showCuring()
{
    m_table1Generation.next();   // a refresh still running is now out of date
    const CountingRule current = countingRule();
    showRuleNote(current.rule);
    const GroupCuring curing = ComputeGroupCuring(m_context.db.get(), projectionInput(current));
    applyTable1(curing.table1, current.rule);
    if (shownPage() == kTable2Page)
        fillTable2();
    if (m_context.db)
        applyOutlook(curing.outlook);
}

CountingRule CuringController::countingRule() const
{
    return ReadCountingRule(m_context.settings);
}

// Under the national standard's rule table 1 says so after its title, on the screen
// only; the printed form is unchanged. (Table 2 says so in the line under it.)
void CuringController::showRuleNote(MaturityRule rule)
{
    ShowRuleNote(m_ui.table1, rule);
}

void CuringController::applyTable1(const MaturityResult& result, MaturityRule rule)
{
    if (!result.ok()) {
        ClearTable1Days(m_ui.table1);
        return report(result.failure);
    }
    FillSameConditionTable1(m_ui.table1, m_ui.accumulatedLabel, result.summary, rule);
    GrowToFitTexts(m_ui.table1);
}

void CuringController::fillTable1()
{
    m_table1Generation.next();   // a refresh still running is now out of date
    const CountingRule current = countingRule();
    showRuleNote(current.rule);
    applyTable1(ComputeTable1(m_context.db.get(), m_context.selection.samplingDate, current), current.rule);
}

void CuringController::temperaturesStored()
{
    refreshTable1InBackground();
    emit temperaturesChanged();
}

// Table 1 and the outlook after a change of days, both computed on a worker: the UI thread
// never waits there for the connection while the scans that follow the change hold it.
void CuringController::refreshTable1InBackground()
{
    const quint64 generation = m_table1Generation.next();
    const CurrentSelection group = m_context.selection;
    const CountingRule current = countingRule();
    auto work = [db = m_context.db, input = projectionInput(current)] { return ComputeGroupCuring(db.get(), input); };
    // The clerk may pick another position meanwhile (on a page where table 1 is not
    // refilled): a result for the group no longer shown is dropped.
    auto apply = [this, generation, group, current](const GroupCuring& curing) {
        if (!m_table1Generation.isCurrent(generation) || !IsSameGroup(group, m_context.selection))
            return;
        showRuleNote(current.rule);
        applyTable1(curing.table1, current.rule);
        if (m_context.db)
            applyOutlook(curing.outlook);
    };
    m_context.tasks.run(this, std::move(work), std::move(apply));
}

void CuringController::fillTable2()
{
    const CurrentSelection& selection = m_context.selection;
    const CountingRule current = countingRule();
    showRuleNote(current.rule);
    const MaturityResult result = ComputeTable2(m_context.db.get(), selection.samplingDate, current);
    if (!result.ok())
        return report(result.failure);
    const QString position = selection.position.isEmpty() ? selection.nodeText : selection.position;
    FillSameConditionTable2(m_ui.table2, {selection.projectName, position, selection.samplingDate, selection.grade},
                            result.summary);
    GrowToFitTexts(m_ui.table2);
    m_ui.table2Legend->setText(Table2NoteText(current.rule, result.summary));
}

void CuringController::applyOutlook(const GroupOutlook& outlook)
{
    const CuringWidgets& ui = m_ui;
    ui.projectionLabel->setText(ProjectionText(outlook.projection));
    ui.missingDaysLabel->setText(MissingDaysText(outlook.missingDays));
    if (shownPage() == kCurvePage)
        showCurve(outlook.curve);
}

ProjectionInput CuringController::projectionInput(const CountingRule& current) const
{
    return {m_context.selection.samplingDate, current.countFromNextDay, current.rule, m_context.today().date(), {}};
}

void CuringController::showCurve(const MaturityCurve& curve)
{
    const CurrentSelection& selection = m_context.selection;
    const QString position = selection.position.isEmpty() ? selection.nodeText : selection.position;
    ShowCurveOnPage(m_ui, curve, MaturityCurveTitle(selection.projectName, position, selection.grade));
}

void CuringController::refreshAfterRuleChange()
{
    showRuleNote(countingRule().rule);
    if (m_context.selection.samplingDate.isValid())
        showCuring();
}

void CuringController::applyTable1Frame()
{
    const Table1FontSizes sizes = ReadTable1FontSizes(m_context.settings);
    ApplyTable1Frame(m_ui.table1, sizes.title, sizes.table);
    GrowToFitTexts(m_ui.table1);
}

void CuringController::buildFormsForSelection()
{
    applyTable1Frame();
    if (!m_context.selection.samplingDate.isValid())
        return;
    const CurrentSelection& s = m_context.selection;
    const QString position = s.position.isEmpty() ? s.nodeText : s.position;
    WriteGroupHeaderCells(m_ui.table1, m_ui.table2, {s.projectName, position, s.samplingDate, s.grade});
    fillTable1();
    fillTable2();
}

// The forms are built for the selected group from the data, whatever page was shown last.
void CuringController::printTable1()
{
    buildFormsForSelection();
    PrintGridWithPreview(m_ui.table1, m_context.window, m_context.messages());
}

void CuringController::printTable2()
{
    buildFormsForSelection();
    PrintGridWithPreview(m_ui.table2, m_context.window, m_context.messages());
}

void CuringController::makeCurveChart()
{
    CurveViewOfPage(m_ui);
}

void CuringController::printCurve()
{
    QString error;
    if (!CurveViewOfPage(m_ui, &error)) {
        report(QStringLiteral("成熟度曲线无法打印：") + error);
        return;
    }
    if (m_context.db && m_context.selection.samplingDate.isValid())
        showCurve(ComputeGroupOutlook(m_context.db.get(), projectionInput(countingRule())).curve);
    PrintChartWithPreview(m_ui.curveView, m_context.window, m_context.messages());
}

} // namespace stolvar
