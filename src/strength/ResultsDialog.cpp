#include "strength/ResultsDialog.h"

#include "core/Conversions.h"
#include "core/Messages.h"
#include "model/strength/Evaluation.h"
#include "model/strength/StrengthTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace stolvar {

namespace {

enum Column { kKind, kNumber, kReport, kTestDate, kSize, kStrength1, kStrength2, kStrength3, kValue, kConclusion, kColumnCount };

struct RequirementChoice {
    const char16_t* text;
    int percent;   // 0: none
};
const RequirementChoice kRequirementChoices[] = {
    {u"板 ≤2m：50%", 50},        {u"板 2~8m：75%", 75},      {u"板 >8m：100%", 100}, {u"梁拱壳 ≤8m：75%", 75},
    {u"梁拱壳 >8m：100%", 100}, {u"悬臂构件：100%", 100}, {u"未指定", 0},
};

bool IsTyped(int column)
{
    return column >= kReport && column <= kStrength3;
}

int GridColumn(ResultColumn column)
{
    return kReport + int(column);
}

QTableWidgetItem* FixedItem(const QString& text)
{
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QString StrengthText(double value)
{
    return FormatStrength(value);
}

} // namespace

QString ResultsDialogTitle(const SpecimenGroup& group)
{
    return QStringLiteral("试验结果：%1　%2　%3　%4成型")
        .arg(group.project, group.position, group.grade, FormatLongDate(group.castingDate));
}

QStringList FormRequirementChoices()
{
    QStringList texts;
    for (const RequirementChoice& c : kRequirementChoices)
        texts << QString::fromUtf16(c.text);
    return texts;
}

std::optional<int> FormRequirementOfChoice(int index)
{
    if (index < 0 || index >= int(std::size(kRequirementChoices)) || kRequirementChoices[index].percent == 0)
        return std::nullopt;
    return kRequirementChoices[index].percent;
}

ResultsDialog::ResultsDialog(const ResultsDialogInput& input, Messages& messages, StoreResults store, QWidget* parent)
    : QDialog(parent), m_input(input), m_messages(messages), m_store(std::move(store)),
      m_grid(new QTableWidget(0, kColumnCount, this)), m_requirementBox(new QComboBox(this)),
      m_save(new QPushButton(QStringLiteral("保存"), this))
{
    setObjectName(QStringLiteral("试验结果对话框"));
    setWindowTitle(ResultsDialogTitle(input.group));
    m_grid->setObjectName(QStringLiteral("结果表格"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("类别"), QStringLiteral("组号"), QStringLiteral("报告编号"),
                                       QStringLiteral("试验日期"), QStringLiteral("尺寸"), QStringLiteral("强度1"),
                                       QStringLiteral("强度2"), QStringLiteral("强度3"), QStringLiteral("代表值"),
                                       QStringLiteral("结论")});
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {44, 40, 110, 120, 48, 56, 56, 56, 56};
    for (int c = 0; c < kConclusion; ++c)
        m_grid->setColumnWidth(c, widths[c]);
    m_grid->installEventFilter(this);
    m_requirementBox->setObjectName(QStringLiteral("拆模要求框"));
    m_requirementBox->addItems(FormRequirementChoices());
    m_requirementBox->setCurrentIndex(int(std::size(kRequirementChoices)) - 1);
    for (int i = 0; i < int(std::size(kRequirementChoices)); ++i) {
        if (input.formRequirement && kRequirementChoices[i].percent == *input.formRequirement) {
            m_requirementBox->setCurrentIndex(i);
            break;
        }
    }
    buildRows(input.results);

    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    auto* requirementLine = new QHBoxLayout;
    requirementLine->addWidget(new QLabel(QStringLiteral("拆模要求："), this));
    requirementLine->addWidget(m_requirementBox);
    requirementLine->addStretch();
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(m_save, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancel, QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    if (input.readOnly)
        layout->addWidget(new QLabel(QStringLiteral("数据库文件为只读：试验结果只能查看，不能修改。"), this));
    layout->addWidget(m_grid);
    layout->addLayout(requirementLine);
    layout->addWidget(buttons);
    resize(900, 420);

    connect(m_save, &QPushButton::clicked, this, &ResultsDialog::save);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_computing && IsTyped(item->column()))
            updateComputed(item->row());
    });
    connect(m_requirementBox, &QComboBox::currentIndexChanged, this, &ResultsDialog::updateAllComputed);
    if (input.readOnly) {
        m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_save->setEnabled(false);
        m_requirementBox->setEnabled(false);
    }
}

// Rows for the groups the register row counts, and for any stored result beyond them, so
// that nothing stored is hidden.
void ResultsDialog::buildRows(const QVector<TestResult>& results)
{
    for (const DueKind kind : kDueKinds) {
        int rows = GroupCountOf(m_input.group, kind);
        for (const TestResult& r : results) {
            if (r.kind == kind && r.number <= kMaxGroupsPerKind)
                rows = std::max(rows, r.number);
        }
        for (int n = 1; n <= rows; ++n)
            m_rows.append({kind, n});
    }
    m_computing = true;
    m_grid->setRowCount(int(m_rows.size()));
    for (int row = 0; row < m_rows.size(); ++row) {
        m_grid->setItem(row, kKind, FixedItem(DueKindText(m_rows[row].kind)));
        m_grid->setItem(row, kNumber, FixedItem(QString::number(m_rows[row].number)));
        for (int c = kReport; c <= kStrength3; ++c)
            m_grid->setItem(row, c, new QTableWidgetItem);
        m_grid->item(row, kSize)->setText(QString::number(strength::kStandardEdge));
        m_grid->setItem(row, kValue, FixedItem(QString()));
        m_grid->setItem(row, kConclusion, FixedItem(QString()));
        m_grid->item(row, kConclusion)->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        for (const TestResult& r : results) {
            if (r.kind == m_rows[row].kind && r.number == m_rows[row].number)
                showResult(row, r);
        }
    }
    m_computing = false;
    updateAllComputed();
}

void ResultsDialog::showResult(int row, const TestResult& r)
{
    m_grid->item(row, kReport)->setText(r.report);
    m_grid->item(row, kTestDate)->setText(r.testDate.isValid() ? FormatLongDate(r.testDate) : QString());
    m_grid->item(row, kSize)->setText(QString::number(r.edgeMm));
    for (int i = 0; i < 3; ++i)
        m_grid->item(row, kStrength1 + i)->setText(StrengthText(r.strengths[size_t(i)]));
}

ResultCells ResultsDialog::cellsOf(int row) const
{
    const auto text = [&](int column) { return m_grid->item(row, column)->text(); };
    return {text(kReport), text(kTestDate), text(kSize), {text(kStrength1), text(kStrength2), text(kStrength3)}};
}

// 代表值 and 结论 of a row as typed so far; empty while the row cannot be read.
void ResultsDialog::updateComputed(int row)
{
    const RowKey key = m_rows[row];
    const ReadRow read = ReadResultCells(cellsOf(row), key.kind, key.number, m_input.group.castingDate.date());
    QString value;
    QString conclusion;
    if (read.result) {
        const GroupValue v = ValueOfResult(*read.result, DesignStrength(m_input.group.grade), m_input.conversion);
        value = GroupValueText(v);
        conclusion = ResultConclusion(*read.result, m_input.group.grade, m_input.conversion, formRequirement());
    } else if (read.problem) {
        conclusion = read.problem->message;
    }
    m_computing = true;
    m_grid->item(row, kValue)->setText(value);
    m_grid->item(row, kConclusion)->setText(conclusion);
    m_computing = false;
}

void ResultsDialog::updateAllComputed()
{
    for (int row = 0; row < m_rows.size(); ++row)
        updateComputed(row);
}

std::optional<int> ResultsDialog::formRequirement() const
{
    return FormRequirementOfChoice(m_requirementBox->currentIndex());
}

void ResultsDialog::pasteText(const QString& text)
{
    if (m_input.readOnly)
        return;
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.constLast().trimmed().isEmpty())
        lines.removeLast();
    const int top = std::max(0, m_grid->currentRow());
    const int left = std::max(0, m_grid->currentColumn());
    for (int r = 0; r < lines.size() && top + r < m_grid->rowCount(); ++r) {
        const QStringList cells = lines[r].split(u'\t');
        for (int c = 0; c < cells.size() && left + c < kColumnCount; ++c) {
            QString cell = cells[c];
            if (cell.endsWith(u'\r'))
                cell.chop(1);
            if (IsTyped(left + c))
                m_grid->item(top + r, left + c)->setText(cell.trimmed());
        }
    }
}

void ResultsDialog::clearSelectedCells()
{
    if (m_input.readOnly)
        return;
    for (QTableWidgetItem* item : m_grid->selectedItems()) {
        if (IsTyped(item->column()))
            item->setText(QString());
    }
}

bool ResultsDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_grid && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            pasteText(QApplication::clipboard()->text());
            return true;
        }
        if (key->key() == Qt::Key_Delete) {   // an open editor takes its own keys
            clearSelectedCells();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ResultsDialog::collect(QVector<TestResult>* results)
{
    results->clear();
    for (int row = 0; row < m_rows.size(); ++row) {
        const RowKey key = m_rows[row];
        const ReadRow read = ReadResultCells(cellsOf(row), key.kind, key.number, m_input.group.castingDate.date());
        if (read.problem) {
            m_grid->setCurrentCell(row, GridColumn(read.problem->column));
            m_messages.show(this, CellProblemText(row + 1, key.kind, key.number, *read.problem),
                            Messages::DefaultTitle(), Messages::Icon::Warning);
            return false;
        }
        if (read.result)
            results->append(*read.result);
    }
    return true;
}

void ResultsDialog::save()
{
    if (m_input.readOnly)
        return;
    QVector<TestResult> results;
    if (!collect(&results))
        return;
    const QString error = m_store(results, formRequirement());
    if (!error.isEmpty()) {
        m_messages.show(this, QStringLiteral("试验结果未能保存：") + error, Messages::DefaultTitle(),
                        Messages::Icon::Warning);
        return;
    }
    accept();
}

} // namespace stolvar
