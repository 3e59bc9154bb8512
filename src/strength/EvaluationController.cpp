#include "strength/EvaluationController.h"

#include "core/Conversions.h"
#include "model/maturity/SameConditionQuery.h"
#include "model/strength/StrengthSettings.h"
#include "model/strength/StrengthTexts.h"
#include "strength/EvaluationModel.h"
#include "strength/EvaluationRecord.h"
#include "strength/StrengthWidgets.h"
#include "ui/AppContext.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStringListModel>
#include <QTableView>
#include <QTableWidget>

namespace stolvar {

namespace {

constexpr int kPageColumnWidths[] = {32, 90, 76, 104, 32, 100, 40, 40, 40, 48};
constexpr int kProjectColumn = 1;

LotMethod MethodAt(int index)
{
    return index == 1 ? LotMethod::Statistical : index == 2 ? LotMethod::NonStatistical : LotMethod::Automatic;
}

void SelectText(QComboBox* box, const QString& text)
{
    const int index = box->findText(text);
    box->setCurrentIndex(index >= 0 ? index : 0);
}

} // namespace

EvaluationController::EvaluationController(AppContext& ctx, EvaluationWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui), m_model(new EvaluationModel(ui.grid)),
      m_projects(new QStringListModel(ui.projectBox))
{
    m_ui.grid->setModel(m_model);
    // A register holds thousands of projects: a list model takes them in one piece, where
    // the box's own model would make an item of each (10 ms for 10,000 on the UI thread).
    m_ui.projectBox->setModel(m_projects);
    for (int c = 0; c < int(std::size(kPageColumnWidths)); ++c)
        m_ui.grid->setColumnWidth(c, kPageColumnWidths[c]);
    connect(m_ui.projectBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            onProjectChosen();
    });
    for (QComboBox* box : {m_ui.gradeBox, m_ui.kindBox, m_ui.methodBox}) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (!m_filling)
                evaluate();
        });
    }
    for (QDateEdit* box : {m_ui.fromBox, m_ui.toBox}) {
        connect(box, &QDateEdit::dateChanged, this, [this] {
            if (m_filling)
                return;
            m_datesChosen = true;
            evaluate();
        });
    }
    connect(m_ui.grid, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const StrengthGroup* g = m_model->groupAt(index.row()))
            emit groupRequested(g->group.project, g->group.position);
    });
}

bool EvaluationController::isShown() const
{
    return !m_shown || m_shown();
}

void EvaluationController::refresh()
{
    if (!isShown()) {
        m_stale = true;
        return;
    }
    m_stale = false;
    const quint64 generation = m_generation.next();
    auto work = [db = m_ctx.db, rule = ReadCountingRule(m_ctx.settings)] {
        return db ? LoadStrengthRegister(*db, rule) : StrengthRegister();
    };
    m_ctx.tasks.run(this, std::move(work), [this, generation](StrengthRegister reg) {
        if (m_generation.isCurrent(generation))
            apply(std::move(reg));
    });
}

void EvaluationController::pageShown(const QString& selectedProject)
{
    m_wantedProject = selectedProject;
    if (m_stale || !m_register) {
        refresh();
        return;
    }
    const QString wanted = std::exchange(m_wantedProject, QString());
    if (!wanted.isEmpty() && m_ui.projectBox->findText(wanted) >= 0)
        m_ui.projectBox->setCurrentIndex(m_ui.projectBox->findText(wanted));
}

void EvaluationController::apply(StrengthRegister reg)
{
    m_register = std::make_shared<const StrengthRegister>(std::move(reg));
    m_filling = true;
    fillProjects();
    fillGrades();
    if (!m_datesChosen)
        resetDates();
    m_filling = false;
    evaluate();
}

// "全部工程" and each project; the one shown before stays, unless the tree asked for another.
void EvaluationController::fillProjects()
{
    const QString wanted = std::exchange(m_wantedProject, QString());
    const QString current = !wanted.isEmpty() ? wanted : m_ui.projectBox->currentText();
    m_projects->setStringList(QStringList{AllProjectsText()} + m_register->projects);
    SelectText(m_ui.projectBox, current);
}

void EvaluationController::fillGrades()
{
    const QString current = m_ui.gradeBox->currentText();
    m_ui.gradeBox->clear();
    m_ui.gradeBox->addItems(m_register->choices.of(chosenProject()).grades);
    SelectText(m_ui.gradeBox, current);
}

void EvaluationController::resetDates()
{
    const DateRange& range = m_register->choices.of(chosenProject()).casting;
    const QDate today = m_ctx.today().date();
    m_ui.fromBox->setDate(range.first.isValid() ? range.first : today);
    m_ui.toBox->setDate(range.last.isValid() ? range.last : today);
}

void EvaluationController::onProjectChosen()
{
    if (!m_register)
        return;
    m_filling = true;
    fillGrades();
    resetDates();
    m_datesChosen = false;
    m_filling = false;
    evaluate();
}

std::optional<QString> EvaluationController::chosenProject() const
{
    // The first choice is every project; a project of that name is another choice.
    const int choice = m_ui.projectBox->currentIndex();
    return choice > 0 ? std::optional<QString>(m_ui.projectBox->currentText()) : std::nullopt;
}

EvaluationScope EvaluationController::scope() const
{
    return {chosenProject(), m_ui.gradeBox->currentText(),
            m_ui.kindBox->currentIndex() == 1 ? DueKind::SameCondition : DueKind::Standard,
            MethodAt(m_ui.methodBox->currentIndex()), m_ui.fromBox->date(), m_ui.toBox->date()};
}

void EvaluationController::evaluate()
{
    if (!m_register)
        return;
    const quint64 generation = m_evaluationGeneration.next();
    const EvaluationScope s = scope();
    const double conversion = ReadConversionFactor(m_ctx.settings);
    m_evaluating = false;
    m_evaluation = ScopeEvaluation();
    if (!m_register->error.isEmpty()) {
        m_evaluation.resultText = QueryFailedText() + m_register->error;
    } else if (m_ui.gradeBox->count() == 0) {
        m_evaluation.resultText = NoEvaluableResultsText();
    } else {
        m_evaluating = true;
        auto work = [reg = m_register, s, conversion, today = m_ctx.today().date()] {
            return EvaluateScope(*reg, s, conversion, today);
        };
        m_ctx.tasks.run(this, std::move(work), [this, generation, s, conversion](ScopeEvaluation evaluation) {
            if (!m_evaluationGeneration.isCurrent(generation))
                return;
            m_evaluating = false;
            m_evaluation = std::move(evaluation);
            showEvaluation(s, conversion);
        });
        return;
    }
    showEvaluation(s, conversion);
}

// A record asked for while the evaluation still runs: the choices are evaluated at once
// (the worker's result, when it comes, is dropped).
void EvaluationController::finishEvaluation()
{
    if (!m_evaluating)
        return;
    m_evaluationGeneration.next();
    m_evaluating = false;
    const EvaluationScope s = scope();
    const double conversion = ReadConversionFactor(m_ctx.settings);
    m_evaluation = EvaluateScope(*m_register, s, conversion, m_ctx.today().date());
    showEvaluation(s, conversion);
}

const ScopeEvaluation& EvaluationController::evaluation()
{
    finishEvaluation();
    return m_evaluation;
}

void EvaluationController::showEvaluation(const EvaluationScope& scope, double conversion)
{
    m_model->show(m_register, m_evaluation.rows, conversion);
    // One project's name would repeat on every row: its column makes room for the remarks.
    m_ui.grid->setColumnHidden(kProjectColumn, scope.project.has_value());
    m_ui.resultLabel->setText(m_evaluation.resultText);
    m_ui.pendingLabel->setText(PendingText(m_evaluation.pendingGroups));
}

std::unique_ptr<QTableWidget> EvaluationController::buildRecord()
{
    finishEvaluation();
    const EvaluationScope s = scope();
    QString method = MethodText(s.method);
    if (m_evaluation.lot)
        method = s.method == LotMethod::Automatic ? method + u'（' + LotMethodHeading(*m_evaluation.lot) + u'）'
                                                  : LotMethodHeading(*m_evaluation.lot);
    const RecordHeading heading{m_ui.projectBox->currentText(), s.grade, m_ui.kindBox->currentText(), method,
                                FormatLongDate(WallTime(s.from)) + u'～' + FormatLongDate(WallTime(s.to))};
    const StrengthRegister empty;
    return BuildEvaluationRecord(m_register ? *m_register : empty, m_evaluation, heading,
                                 ReadConversionFactor(m_ctx.settings));
}

// A print asked for before the page was ever shown reads the register at once: the record
// must show what the register holds now.
void EvaluationController::print()
{
    if (!m_ctx.db) {
        m_ctx.messages().show(m_ctx.window, Messages::NoDatabaseText(), Messages::DefaultTitle(),
                              Messages::Icon::Information);
        return;
    }
    if (m_stale || !m_register) {
        m_generation.next();
        m_stale = false;
        if (m_wantedProject.isEmpty())
            m_wantedProject = m_ctx.selection.projectName;
        apply(LoadStrengthRegister(*m_ctx.db, ReadCountingRule(m_ctx.settings)));
    }
    const std::unique_ptr<QTableWidget> record = buildRecord();
    QPrinter printer(QPrinter::HighResolution);
    const std::unique_ptr<QPrintPreviewDialog> dialog(CreateRecordPreview(record.get(), &printer, m_ctx.window,
                                                                          m_ctx.messages()));
    dialog->exec();
}

} // namespace stolvar
