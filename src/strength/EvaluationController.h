#pragma once

#include "core/TaskRunner.h"
#include "model/strength/Evaluation.h"

#include <QObject>

#include <functional>
#include <memory>

class QTableWidget;

class QStringListModel;

namespace stolvar {

struct AppContext;
class EvaluationModel;
struct EvaluationWidgets;

// The page "强度评定": the register with its results is read on a worker (a newer read
// replaces an older one); the lot the choices make is evaluated from it on a worker too (on
// 100,000 groups that takes longer than a frame), and a newer choice replaces an older one.
// "强度评定打印" prints the record of what the page evaluates.
class EvaluationController : public QObject
{
    Q_OBJECT
public:
    EvaluationController(AppContext& ctx, EvaluationWidgets& ui, QObject* parent = nullptr);

    // Whether the page is shown; a refresh while it is not waits until it is.
    void setShownCheck(std::function<bool()> shown) { m_shown = std::move(shown); }
    // Groups, results or temperatures changed: the register is read again.
    void refresh();
    // The page became current: its project follows the tree's selection.
    void pageShown(const QString& selectedProject);

    // The evaluation of the choices as they stand (one still running is done at once).
    const ScopeEvaluation& evaluation();
    EvaluationScope scope() const;
    EvaluationModel& model() { return *m_model; }

    // "强度评定打印": the record of the page's scope, in the print preview.
    void print();
    std::unique_ptr<QTableWidget> buildRecord();

signals:
    void groupRequested(const QString& project, const QString& position);

private:
    void apply(StrengthRegister reg);
    void fillProjects();
    void fillGrades();
    void resetDates();
    void evaluate();
    void finishEvaluation();
    void showEvaluation(const EvaluationScope& scope, double conversion);
    void onProjectChosen();
    bool isShown() const;
    std::optional<QString> chosenProject() const;

    AppContext& m_ctx;
    EvaluationWidgets& m_ui;
    EvaluationModel* m_model;
    QStringListModel* m_projects;   // the project box's choices, set whole
    std::function<bool()> m_shown;
    Generation m_generation;
    Generation m_evaluationGeneration;
    bool m_evaluating = false;     // the choices' evaluation is still running on a worker
    std::shared_ptr<const StrengthRegister> m_register;
    ScopeEvaluation m_evaluation;
    QString m_wantedProject;       // the tree's project, chosen once the register is read
    bool m_stale = true;
    bool m_filling = false;
    bool m_datesChosen = false;    // the clerk narrowed the casting dates
};

} // namespace stolvar
