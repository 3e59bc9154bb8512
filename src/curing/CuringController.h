#pragma once

#include "core/TaskRunner.h"
#include "db/Records.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/temperatures/TemperatureStore.h"

#include <QObject>

#include <functional>
#include <memory>

namespace stolvar {

struct AppContext;
struct CuringWidgets;
class DeleteTemperatureDialog;

// The main window's temperature records, same-condition tables and printed forms: the
// handlers of their buttons and menu commands. Lives on the UI thread; the typed days are
// stored on a worker, one after the other, and the table-1 refresh after an edit reads the
// database on a worker and the newest result is applied.
class CuringController : public QObject
{
    Q_OBJECT

public:
    CuringController(AppContext& context, CuringWidgets& ui, QObject* parent = nullptr);

    // Connects "添加温度" and "修改温度".
    void connectControls();
    // Started after each manual addition (the weather collection run).
    void setAfterAddition(std::function<void()> start) { m_afterAddition = std::move(start); }
    // Which page of the tab control is shown: the tables and the curve are filled only on
    // their own page (none: no page of theirs is shown).
    void setShownPage(std::function<int()> shownPage) { m_shownPage = std::move(shownPage); }

    void addTemperature();
    void changeTemperature();
    void openDeleteDialog();
    std::unique_ptr<DeleteTemperatureDialog> createDeleteDialog();
    // At start: the day of the last record into the date box, for the next day to be typed.
    void showLastTemperatureDay();

    // A position's group is in the panel: the two same-condition tables take its header,
    // and the table on the current page is computed for it.
    void showGroup(const SpecimenGroup& group);
    // The tables of the selected group, filled now on the UI thread.
    void fillTable1();
    void fillTable2();
    // Table 1 after a temperature edit; a newer refresh replaces an older one.
    void refreshTable1InBackground();
    // Days were stored, changed or deleted: table 1 follows, and so does every other view.
    void temperaturesStored();
    // The frame of table 1 with the font sizes of Temp.ini.
    void applyTable1Frame();
    // After the counting rule changed: every view of the selected group again.
    void refreshAfterRuleChange();

    // Table 1 with its frame and table 2, for the selected group from the data: what the
    // prints and the workbook show, whichever page was shown before.
    void buildFormsForSelection();
    void printTable1();
    void printTable2();
    void printCurve();
    // The curve page's chart, from the chart module, once the page is first shown (it stays
    // empty without a selected group); the page says so when the module cannot be loaded.
    void makeCurveChart();

signals:
    void temperaturesChanged();

private:
    using TypedDayEdit = StoreResult (*)(Database&, const QString&, const QString&, const QString&);
    void storeTypedDay(TypedDayEdit edit, std::function<void(const StoreResult&)> stored);
    CountingRule countingRule() const;
    ProjectionInput projectionInput(const CountingRule& current) const;
    void showCurve(const MaturityCurve& curve);
    int shownPage() const;
    void showRuleNote(MaturityRule rule);
    void showCuring();
    void applyOutlook(const GroupOutlook& outlook);
    void applyTable1(const MaturityResult& result, MaturityRule rule);
    void report(const QString& text);
    // Asks before a maximum below the minimum is stored; true to go on.
    bool confirmSwappedTemperatures();

    AppContext& m_context;
    CuringWidgets& m_ui;
    Generation m_table1Generation;
    std::function<void()> m_afterAddition;
    std::function<int()> m_shownPage;
};

} // namespace stolvar
