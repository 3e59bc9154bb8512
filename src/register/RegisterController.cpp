#include "register/RegisterController.h"

#include "core/Conversions.h"
#include "model/maturity/StatusTexts.h"
#include "model/register/GroupStore.h"
#include "model/register/ProjectOutline.h"
#include "model/register/ProjectTreeUpdate.h"
#include "register/ProjectTreeModel.h"
#include "register/ProjectTreeView.h"
#include "register/RegisterWidgets.h"
#include "ui/AppContext.h"
#include "ui/GridPrinter.h"
#include "ui/Pages.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QTableWidget>
#include <QTabWidget>
#include <QSignalBlocker>
#include <QTreeView>

#include <algorithm>
#include <iterator>

namespace stolvar {

namespace {

constexpr int kListRowHeight = 30;
// A project with more groups than this is read for the list on a worker (some 3.5 ms a
// thousand groups), and the list shows its rows when they are read.
constexpr int kListReadOnTheSpot = 1000;

// The position and the two dates keep their designed widths at least, every column is as
// wide as its texts (header row included, in the list's font size), and the position takes
// the room a wide window leaves: a maximised window needs no sideways scrolling.
void FitListColumns(QTableWidget* grid)
{
    const int least[] = {0, 220, 0, 120, 120, 0, 0, 0, 0};
    int others = 0;
    for (int c = 1; c < grid->columnCount(); ++c) {
        grid->resizeColumnToContents(c);
        const int designed = c < int(std::size(least)) ? least[c] : 0;
        grid->setColumnWidth(c, std::max(grid->columnWidth(c), designed));
        others += c == 1 ? 0 : grid->columnWidth(c);
    }
    grid->setColumnWidth(0, 1);
    const int room = grid->viewport()->width() - others - 1;
    grid->setColumnWidth(1, std::max(grid->columnWidth(1), room));
}
// The list's font size is counted in half points, so the default 20 is a 10-point font
// that fits the dates into their 120-pixel columns.
constexpr int kDefaultListFontSize = 20;

// A click on another position of the same project shows the same list: a cell that shows
// its text already keeps its item and is neither measured nor painted again. True when the
// cell changed.
bool SetCell(QTableWidget* grid, int row, int column, const QString& text, const QFont* font = nullptr)
{
    QTableWidgetItem* item = grid->item(row, column);
    if (item && item->text() == text && (!font || item->font() == *font))
        return false;
    if (!item) {
        // Made whole before the grid holds it: the grid hears of a new cell once.
        item = new QTableWidgetItem(text);
        if (font)
            item->setFont(*font);
        grid->setItem(row, column, item);
        return true;
    }
    item->setText(text);
    if (font)
        item->setFont(*font);
    return true;
}

// The list's texts, row by row: a pure function of the groups and the time, so a worker
// can compute them.
QVector<QStringList> ListRowsOf(const QVector<SpecimenGroup>& groups, const QDateTime& now)
{
    QVector<QStringList> rows;
    rows.reserve(groups.size());
    for (const SpecimenGroup& group : groups)
        rows.append(StandardListRow(group, now));
    return rows;
}

} // namespace

RegisterController::RegisterController(AppContext& ctx, RegisterWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui), m_model(new ProjectTreeModel(ui.tree))
{
    m_model->setPositionReader([&ctx](const ProjectTree& tree, int project) -> std::optional<QStringList> {
        if (!ctx.db)
            return std::nullopt;
        return ReadPositionNames(*ctx.db, tree, project);
    });
    ui.tree->setModel(m_model);
    KeepNewProjectsExpanded(ui.tree, *m_model);
    connect(ui.tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &RegisterController::onTreeSelectionChanged);
    connect(ui.keywordButton, &QAbstractButton::clicked, this, &RegisterController::filterStandardCuringList);
}

void RegisterController::fillProjectTree()
{
    showProjectTree(m_ctx.db ? LoadProjectOutline(*m_ctx.db) : ProjectTree());
}

void RegisterController::showProjectTree(ProjectTree tree)
{
    // The model reset drops the current node without a signal.
    const QString remembered = m_ctx.settings.read(keys::kTreeSelection);
    ShowProjectTree(m_ui.tree, *m_model, std::move(tree));
    selectRememberedNode(remembered);
}

void RegisterController::updateProjects(const QStringList& projects)
{
    if (!m_ctx.db) {
        fillProjectTree();
        return;
    }
    const QString remembered = m_ctx.settings.read(keys::kTreeSelection);
    if (refreshProjectsQuietly(projects))
        selectRememberedNode(remembered);
}

void RegisterController::updateProjectKeepingGroup(QString project, QString position)
{
    if (!m_ctx.db) {
        fillProjectTree();
        return;
    }
    if (refreshProjectsQuietly({project}))
        selectPosition(project, position);
}

bool RegisterController::refreshProjectsQuietly(const QStringList& projects)
{
    {
        // As during a full read no node is current while the tree changes, and nothing
        // hears of it: the current node would otherwise follow its row or its neighbour.
        const QSignalBlocker quiet(m_ui.tree->selectionModel());
        m_ui.tree->selectionModel()->clear();
    }
    m_ui.tree->viewport()->update();
    if (RefreshProjects(*m_ctx.db, *m_model, projects))
        return true;
    fillProjectTree();
    return false;
}

void RegisterController::selectRememberedNode(const QString& remembered)
{
    const QModelIndex node = m_model->indexOfNode(TruncateToInt(ParseNumberText(remembered)));
    if (!node.isValid())
        return;
    // In a tree too large to show expanded the remembered node's project opens.
    if (node.parent().isValid())
        m_ui.tree->expand(node.parent());
    m_ui.tree->setCurrentIndex(node);
}

bool RegisterController::refreshSelectionFromTree()
{
    const int index = selectedNodeIndex();
    CurrentSelection& s = m_ctx.selection;
    s.nodeText = nodeText(index);
    s.projectName = hasChildren(index) ? s.nodeText : nodeText(parentIndex(index));
    return index >= 0;
}

void RegisterController::onTreeSelectionChanged()
{
    const int index = selectedNodeIndex();
    refreshSelectionFromTree();
    const CurrentSelection& s = m_ctx.selection;
    m_ui.projectBox->setText(s.projectName);
    m_ui.listCaption->setText(s.projectName);
    // On a project node the position box stays empty: its placeholder says what it needs.
    m_ui.positionBox->setText(s.nodeText != s.projectName ? s.nodeText : QString());
    if (index >= 0 && !hasChildren(index) && m_ctx.db) {
        // A position held by more than one row shows the latest of them.
        if (const auto group = LoadLastGroup(*m_ctx.db, s.projectName, s.nodeText))
            showGroup(*group);
        m_ctx.settings.writeSoon(keys::kTreeSelection, QString::number(index));
    }
    fillStandardCuringList();
}

void RegisterController::showGroup(const SpecimenGroup& group)
{
    RegisterWidgets& ui = m_ui;
    CurrentSelection& s = m_ctx.selection;
    s.samplingDate = group.castingDate;
    s.position = group.position;
    s.grade = group.grade;
    const PanelTexts texts = StatusPanelTexts(group, m_ctx.now());
    ui.gradeBox->setText(group.grade);
    ui.castingDateBox->setText(FormatLongDate(group.castingDate));
    ui.sameStateLabel->setText(texts.sameState);
    ui.standardStateLabel->setText(texts.standardState);
    ui.standardCountBox->setText(group.standardCount);
    ui.sameCountBox->setText(group.sameCount);
    ui.formCountBox->setText(group.formCount);
    ui.dueDateLabel->setText(texts.dueDate);
    emit groupShown(group);
    ui.remainingLabel->setText(texts.remaining);
}

int RegisterController::listFontSize()
{
    m_listFontSizeText = m_ctx.settings.read(keys::kStandardFontSize, m_listFontSizeText);
    if (m_listFontSizeText.isEmpty())
        return kDefaultListFontSize;
    return TruncateToInt(ParseNumberText(m_listFontSizeText));
}

void RegisterController::fillStandardCuringList()
{
    const QString project = m_ctx.selection.projectName;
    const std::shared_ptr<Database> db = m_ctx.db;
    fillListFrom(!db || projectGroupCount(project) <= kListReadOnTheSpot, [db, project] {
        return db ? LoadGroups(*db, project) : QVector<SpecimenGroup>();
    });
}

// A later fill of the list drops the rows of one still on its worker.
void RegisterController::fillListFrom(bool onTheSpot, std::function<QVector<SpecimenGroup>()> read)
{
    const quint64 generation = m_listGeneration.next();
    if (onTheSpot) {
        showList(ListRowsOf(read(), m_ctx.now()));
        return;
    }
    auto texts = [read = std::move(read), now = m_ctx.now()] { return ListRowsOf(read(), now); };
    m_ctx.tasks.run(this, std::move(texts), [this, generation](const ListRows& rows) {
        if (m_listGeneration.isCurrent(generation))
            showList(rows);
    });
}

// Every group of a project is a node of it, so the tree knows how many rows its list reads.
int RegisterController::projectGroupCount(const QString& project) const
{
    const ProjectTree& tree = m_model->tree();
    const int index = tree.findProject(project);
    return index < 0 ? 0 : tree.positionCount(index);
}

// Off: the positions of the selected node's project. 全部工程: project names, positions and
// grades of every project, each position shown with its project; that search reads every
// row of the register, so it runs on a worker and the list shows its rows when it is done
// (as does the search of a project too large to read on the spot).
void RegisterController::filterStandardCuringList()
{
    const bool everywhere = m_ui.allProjectsBox && m_ui.allProjectsBox->isChecked();
    const QString keyword = m_ui.keywordBox->text();
    const QString project = m_ctx.selection.projectName;
    const std::shared_ptr<Database> db = m_ctx.db;
    const bool onTheSpot = !db || (!everywhere && projectGroupCount(project) <= kListReadOnTheSpot);
    fillListFrom(onTheSpot, [db, project, keyword, everywhere] {
        if (!db)
            return QVector<SpecimenGroup>();
        if (!everywhere)
            return LoadGroupsMatching(*db, project, keyword);
        QVector<SpecimenGroup> groups = LoadGroupsMatchingAnywhere(*db, keyword);
        for (SpecimenGroup& g : groups)
            g.position = g.project + QStringLiteral(" / ") + g.position;
        return groups;
    });
}

void RegisterController::showList(const ListRows& rows)
{
    QTableWidget* grid = m_ui.standardList;
    const int rowsBefore = grid->rowCount();
    bool changed = rowsBefore != 1 + rows.size();
    grid->setRowCount(1 + int(rows.size()));
    const QStringList header = StandardListHeader();
    for (int c = 0; c < header.size(); ++c)
        changed |= SetCell(grid, 0, c, header[c]);
    QFont font = grid->font();
    if (const int size = listFontSize(); size > 0)
        font.setPointSizeF(size / 2.0);
    // The rows as last written are kept beside the grid: a row that reads the same is
    // not looked at in the grid, so refilling a long list as it stands costs little.
    const bool sameFont = font == m_shownListFont;
    for (int r = 0; r < rows.size(); ++r) {
        const QStringList& cells = rows[r];
        if (!sameFont || r >= m_shownListRows.size() || m_shownListRows[r] != cells) {
            for (int c = 0; c < cells.size(); ++c)
                changed |= SetCell(grid, r + 1, c, cells[c], &font);
        }
        if (r + 1 >= rowsBefore)
            grid->setRowHeight(r + 1, kListRowHeight);
    }
    m_shownListRows = rows;
    m_shownListFont = font;
    // Measuring every cell of every column is most of a fill's time.
    if (changed || grid->viewport()->width() != m_listFittedWidth) {
        FitListColumns(grid);
        m_listFittedWidth = grid->viewport()->width();
    }
    emit listShown();
}

void RegisterController::onPageShown(int index)
{
    if (index != kTable1Page && index != kTable2Page && index != kCurvePage)
        return;
    onTreeSelectionChanged();
    if (index == kTable1Page)
        emit table1PageShown();
    if (index == kCurvePage)
        emit curvePageShown();
}

bool RegisterController::selectPosition(const QString& project, const QString& position)
{
    const QModelIndex node = m_model->indexOfNode(m_model->findPosition(project, position));
    if (!node.isValid())
        return false;
    m_ui.tree->setCurrentIndex(node);
    m_ui.tree->scrollTo(node);
    return true;
}

void RegisterController::printStandardList()
{
    PrintGridWithPreview(m_ui.standardList, m_ctx.window, m_ctx.messages(),
                         StandardListHeading(m_ctx.selection.projectName, m_ctx.today()));
}

QString StandardListHeading(const QString& project, const QDateTime& printedOn)
{
    return QStringLiteral("标养试块列表　工程名称：%1　打印日期：%2").arg(project, FormatLongDate(printedOn));
}

int RegisterController::selectedNodeIndex() const
{
    return m_model->nodeOf(m_ui.tree->currentIndex());
}

int RegisterController::nodeCount() const
{
    return m_model->tree().nodeCount();
}

QString RegisterController::nodeText(int index) const
{
    return m_model->nodeText(index);
}

bool RegisterController::hasChildren(int index) const
{
    if (index < 0 || index >= nodeCount())
        return false;
    const ProjectTree& tree = m_model->tree();
    return tree.isProject(index) && tree.positionCount(tree.projectOf(index)) > 0;
}

int RegisterController::parentIndex(int index) const
{
    if (index < 0 || index >= nodeCount() || m_model->tree().isProject(index))
        return -1;
    const ProjectTree& tree = m_model->tree();
    return tree.projectNode(tree.projectOf(index));
}

} // namespace stolvar
