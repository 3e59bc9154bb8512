#pragma once

#include "db/Records.h"
#include "model/strength/StrengthValues.h"
#include "model/strength/TestResults.h"

#include <QDialog>
#include <QVector>

#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace stolvar {

class Messages;

// What the dialog shows of a group.
struct ResultsDialogInput {
    SpecimenGroup group;
    QVector<TestResult> results;
    std::optional<int> formRequirement;
    double conversion = 1.10;
    bool readOnly = false;
};

// Stores the rows as read; "" or why they could not be stored.
using StoreResults = std::function<QString(const QVector<TestResult>&, std::optional<int>)>;

// "试验结果对话框": one row per group of each kind the register row counts, where the clerk
// types or pastes the report's strengths; 代表值 and 结论 follow as they are typed. "保存"
// checks every row and stores them all at once or, naming the first wrong cell, nothing.
class ResultsDialog : public QDialog
{
    Q_OBJECT
public:
    ResultsDialog(const ResultsDialogInput& input, Messages& messages, StoreResults store, QWidget* parent = nullptr);

    QTableWidget* grid() const { return m_grid; }
    QComboBox* requirementBox() const { return m_requirementBox; }
    QPushButton* saveButton() const { return m_save; }

    // Fills the grid from the current cell with tab-separated rows (a block copied from a
    // spreadsheet); what falls outside the typed columns is left out.
    void pasteText(const QString& text);
    // Reads every row; on a wrong cell says which, selects it and returns false.
    bool collect(QVector<TestResult>* results);
    std::optional<int> formRequirement() const;
    void save();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct RowKey {
        DueKind kind;
        int number;
    };
    void buildRows(const QVector<TestResult>& results);
    void showResult(int row, const TestResult& result);
    void updateComputed(int row);
    void updateAllComputed();
    ResultCells cellsOf(int row) const;
    void clearSelectedCells();

    ResultsDialogInput m_input;
    Messages& m_messages;
    StoreResults m_store;
    QVector<RowKey> m_rows;
    QTableWidget* m_grid;
    QComboBox* m_requirementBox;
    QPushButton* m_save;
    bool m_computing = false;
};

// The dialog's title: the group's project, position, grade and casting date.
QString ResultsDialogTitle(const SpecimenGroup& group);
// "板 ≤2m：50%" … "未指定", with the percentage each stands for.
QStringList FormRequirementChoices();
std::optional<int> FormRequirementOfChoice(int index);

} // namespace stolvar
