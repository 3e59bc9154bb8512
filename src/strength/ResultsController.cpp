#include "strength/ResultsController.h"

#include "db/Database.h"
#include "model/strength/StrengthSettings.h"
#include "model/strength/StrengthTexts.h"
#include "strength/ResultsDialog.h"
#include "strength/StrengthWidgets.h"
#include "ui/AppContext.h"

#include <QLabel>
#include <QPushButton>

namespace stolvar {

ResultsController::ResultsController(AppContext& ctx, ResultsPanelWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui)
{
    connect(m_ui.resultsButton, &QPushButton::clicked, this, &ResultsController::openDialog);
    updateButton();
}

void ResultsController::showGroup(const SpecimenGroup& group)
{
    m_group = group;
    m_positionSelected = true;
    refreshLabel();
    updateButton();
}

void ResultsController::forgetGroup()
{
    m_group.reset();
    refreshLabel();
    updateButton();
}

void ResultsController::setPositionSelected(bool selected)
{
    m_positionSelected = selected;
    updateButton();
}

void ResultsController::updateButton()
{
    m_ui.resultsButton->setEnabled(m_ctx.db && m_group && m_positionSelected);
}

void ResultsController::refreshLabel()
{
    if (!m_ctx.db || !m_group) {
        m_ui.strengthLabel->clear();
        return;
    }
    QString error;
    const QVector<TestResult> results = LoadGroupResults(*m_ctx.db, m_group->id, &error);
    m_ui.strengthLabel->setText(error.isEmpty() ? PanelStrengthText(results, m_group->grade, ReadConversionFactor(m_ctx.settings))
                                                : QStringLiteral("试验结果无法读取：") + error);
}

std::unique_ptr<ResultsDialog> ResultsController::createDialog()
{
    if (!m_ctx.db || !m_group)
        return nullptr;
    QString error;
    ResultsDialogInput input{*m_group, LoadGroupResults(*m_ctx.db, m_group->id, &error),
                             LoadFormRequirement(*m_ctx.db, m_group->id), ReadConversionFactor(m_ctx.settings),
                             m_ctx.db->isReadOnly()};
    if (!error.isEmpty()) {
        m_ctx.messages().show(m_ctx.window, QStringLiteral("试验结果无法读取：") + error, Messages::DefaultTitle(),
                              Messages::Icon::Warning);
        return nullptr;
    }
    const auto store = [this, db = m_ctx.db, id = m_group->id](const QVector<TestResult>& results,
                                                                std::optional<int> requirement) {
        const QString failure = SaveGroupResults(*db, id, results, requirement);
        if (failure.isEmpty()) {
            refreshLabel();
            emit resultsChanged();
        }
        return failure;
    };
    return std::make_unique<ResultsDialog>(input, m_ctx.messages(), store, m_ctx.window);
}

void ResultsController::openDialog()
{
    if (std::unique_ptr<ResultsDialog> dialog = createDialog())
        dialog->exec();
}

} // namespace stolvar
