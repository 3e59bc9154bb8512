#pragma once

#include "db/Records.h"

#include <QObject>

#include <memory>
#include <optional>

namespace stolvar {

struct AppContext;
class ResultsDialog;
struct ResultsPanelWidgets;

// The selected group's laboratory results: the panel's 强度标签 and the dialog "试验结果…"
// opens. Saving stores all rows in one transaction and tells the evaluation.
class ResultsController : public QObject
{
    Q_OBJECT
public:
    ResultsController(AppContext& ctx, ResultsPanelWidgets& ui, QObject* parent = nullptr);

    // A position's group was shown in the panel.
    void showGroup(const SpecimenGroup& group);
    // The tree's selection changed: the button works while a position is selected.
    void setPositionSelected(bool selected);
    // Another database was opened: no group is shown until the tree selects one.
    void forgetGroup();
    // Shows the label again (after the conversion factor changed).
    void refreshLabel();

    void openDialog();
    // The dialog of the shown group; none while no group is shown or no database is open.
    std::unique_ptr<ResultsDialog> createDialog();

signals:
    void resultsChanged();

private:
    void updateButton();

    AppContext& m_ctx;
    ResultsPanelWidgets& m_ui;
    std::optional<SpecimenGroup> m_group;
    bool m_positionSelected = false;
};

} // namespace stolvar
