#include "curing/CuringController.h"

#include "ui/AppContext.h"
#include "core/Conversions.h"
#include "curing/DeleteTemperatureDialog.h"
#include "curing/GridPrinter.h"
#include "curing/SameConditionTables.h"
#include "curing/Table1Frame.h"
#include "curing/TemperatureStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

namespace stolvar {

namespace {

QString NoDatabaseText()
{
    return QStringLiteral("请先打开数据库！");
}

} // namespace

bool CuringController::confirmSwappedTemperatures()
{
    const MainWidgets& ui = m_context.ui;
    if (!MaximumBelowMinimum(ui.highBox->text(), ui.lowBox->text()))
        return true;
    return m_context.messages().ask(m_context.window, QStringLiteral("最高温度低于最低温度，确定要保存吗？"),
                                    Messages::DefaultTitle(), Messages::Icon::Warning);
}

CuringController::CuringController(AppContext& context, QObject* parent)
    : QObject(parent), m_context(context)
{
}

void CuringController::connectControls()
{
    const MainWidgets& ui = m_context.ui;
    connect(ui.addTemperatureButton, &QPushButton::clicked, this, &CuringController::addTemperature);
    connect(ui.changeTemperatureButton, &QPushButton::clicked, this, &CuringController::changeTemperature);
}

void CuringController::report(const QString& text)
{
    m_context.messages().show(m_context.window, text, Messages::DefaultTitle(), Messages::Icon::Information);
}

void CuringController::addTemperature()
{
    if (!m_context.db)
        return report(NoDatabaseText());
    if (!confirmSwappedTemperatures())
        return;
    const MainWidgets& ui = m_context.ui;
    const StoreResult result =
        AddTemperatureRecord(*m_context.db, ui.temperatureDateBox->text(), ui.highBox->text(), ui.lowBox->text());
    if (!result.message.isEmpty())
        report(result.message);
    if (!result.ok)
        return;
    refreshTable1InBackground();
    if (m_afterAddition)
        m_afterAddition();
}

void CuringController::changeTemperature()
{
    if (!m_context.db)
        return report(NoDatabaseText());
    if (!confirmSwappedTemperatures())
        return;
    const MainWidgets& ui = m_context.ui;
    const StoreResult result =
        ChangeTemperatureRecord(*m_context.db, ui.temperatureDateBox->text(), ui.highBox->text(), ui.lowBox->text());
    if (!result.message.isEmpty())
        report(result.message);
    if (result.rows > 0)
        refreshTable1InBackground();
}

std::unique_ptr<DeleteTemperatureDialog> CuringController::createDeleteDialog()
{
    auto dialog = std::make_unique<DeleteTemperatureDialog>(m_context.db, m_context.today(), m_context.messages(),
                                                            m_context.window);
    connect(dialog.get(), &DeleteTemperatureDialog::recordsDeleted, this,
            &CuringController::refreshTable1InBackground);
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
        m_context.ui.temperatureDateBox->setText(FormatLongDate(last));
}

bool CuringController::countFromNextDay() const
{
    return m_context.settings.readBool(keys::kCountFromNextDay);
}

void CuringController::applyTable1(const MaturityResult& result)
{
    if (!result.ok()) {
        ClearTable1Days(m_context.ui.table1);
        return report(result.failure);
    }
    FillSameConditionTable1(m_context.ui.table1, m_context.ui.accumulatedLabel, result.summary);
}

void CuringController::fillTable1()
{
    m_table1Generation.next();   // a refresh still running is now out of date
    applyTable1(ComputeTable1(m_context.db.get(), m_context.selection.samplingDate, countFromNextDay()));
}

void CuringController::refreshTable1InBackground()
{
    const quint64 generation = m_table1Generation.next();
    const CurrentSelection group = m_context.selection;
    auto work = [db = m_context.db, casting = group.samplingDate, fromNext = countFromNextDay()] {
        return ComputeTable1(db.get(), casting, fromNext);
    };
    // The clerk may pick another position meanwhile (on a page where table 1 is not
    // refilled): a result for the group no longer shown is dropped.
    auto apply = [this, generation, group](const MaturityResult& result) {
        if (m_table1Generation.isCurrent(generation) && IsSameGroup(group, m_context.selection))
            applyTable1(result);
    };
    m_context.tasks.run(this, std::move(work), std::move(apply));
}

void CuringController::fillTable2()
{
    const CurrentSelection& selection = m_context.selection;
    const MaturityResult result = ComputeTable2(m_context.db.get(), selection.samplingDate, countFromNextDay());
    if (!result.ok())
        return report(result.failure);
    const QString position = selection.position.isEmpty() ? selection.nodeText : selection.position;
    FillSameConditionTable2(m_context.ui.table2, {selection.projectName, position, selection.samplingDate, selection.grade},
                            result.summary);
}

void CuringController::applyTable1Frame()
{
    const Table1FontSizes sizes = ReadTable1FontSizes(m_context.settings);
    ApplyTable1Frame(m_context.ui.table1, sizes.title, sizes.table);
}

void CuringController::printStandardList()
{
    PrintGridWithPreview(m_context.ui.standardList, m_context.window, m_context.messages());
}

void CuringController::printTable1()
{
    PrintGridWithPreview(m_context.ui.table1, m_context.window, m_context.messages());
}

void CuringController::printTable2()
{
    PrintGridWithPreview(m_context.ui.table2, m_context.window, m_context.messages());
}

} // namespace stolvar
