#include "register/GroupEditor.h"

#include "core/Conversions.h"
#include "db/Database.h"
#include "register/RegisterController.h"
#include "register/RegisterWidgets.h"
#include "ui/AppContext.h"
#include "ui/SpinButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace stolvar {

namespace {

const QString kErrorTitle = QStringLiteral("错误！");

QString WidthMessage()
{
    return QStringLiteral("输入的文字不能超过%1个字符，请缩短后重试！").arg(kTextColumnWidth);
}

QString DateMessage()
{
    return QStringLiteral("取样日期不是有效的日期，请按“2017-3-5”或“2017年3月5日”的格式输入！");
}

} // namespace

GroupEditor::GroupEditor(AppContext& ctx, RegisterWidgets& ui, RegisterController& tree, QObject* parent)
    : QObject(parent), m_ctx(ctx), m_ui(ui), m_tree(tree)
{
    connect(ui.addGroupButton, &QPushButton::clicked, this, &GroupEditor::addSpecimenGroup);
    connect(ui.renameProjectButton, &QPushButton::clicked, this, &GroupEditor::renameProject);
    connect(ui.changePositionButton, &QPushButton::clicked, this, &GroupEditor::changePosition);
    connect(ui.changeGradeButton, &QPushButton::clicked, this, &GroupEditor::changeStrengthGrade);
    connect(ui.changeDateButton, &QPushButton::clicked, this, &GroupEditor::changeCastingDate);
    connect(ui.changeCountsButton, &QPushButton::clicked, this, &GroupEditor::changeGroupCounts);
    connect(ui.deleteGroupButton, &QPushButton::clicked, this, &GroupEditor::deleteSelectedGroup);
    connect(ui.markStandardButton, &QPushButton::clicked, this, [this] {
        setStandardStatus(kSent, QStringLiteral("部位不能为空，请在列表里选择部位！"));
    });
    connect(ui.unmarkStandardButton, &QPushButton::clicked, this, [this] {
        setStandardStatus(kNotSent, QStringLiteral("部位不能为空，请在下拉列表里选择部位！"));
    });
    connect(ui.markSameButton, &QPushButton::clicked, this, [this] { setSameConditionStatus(kSent); });
    connect(ui.unmarkSameButton, &QPushButton::clicked, this, [this] { setSameConditionStatus(kNotSent); });
    connect(ui.castingDateSpin, &SpinButton::up, this, [this] { stepCastingDate(1); });
    connect(ui.castingDateSpin, &SpinButton::down, this, [this] { stepCastingDate(-1); });
}

void GroupEditor::error(const QString& text, bool withIcon)
{
    m_ctx.messages().show(m_ctx.window, text, kErrorTitle,
                          withIcon ? Messages::Icon::Information : Messages::Icon::None);
}

bool GroupEditor::requireDatabase()
{
    if (m_ctx.db)
        return true;
    m_ctx.messages().show(m_ctx.window, QStringLiteral("数据库未连接！请先打开或新建工程数据库。"),
                          Messages::DefaultTitle(), Messages::Icon::Information);
    return false;
}

bool GroupEditor::checkWidths(const QStringList& texts)
{
    for (const QString& text : texts) {
        if (text.size() > kTextColumnWidth) {
            error(WidthMessage(), true);
            return false;
        }
    }
    return true;
}

void GroupEditor::write(Edit edit, std::function<void()> done, const QString& duplicateMessage)
{
    auto store = [db = m_ctx.db, edit = std::move(edit)] {
        StoredEdit stored{edit(*db), {}};
        if (stored.result == WriteResult::Failed)
            stored.error = db->lastError();
        return stored;
    };
    m_ctx.writes.post(this, std::move(store),
                      [this, db = m_ctx.db, done = std::move(done), duplicateMessage](const StoredEdit& stored) {
                          if (reportWrite(stored, duplicateMessage) && db == m_ctx.db)
                              done();
                      });
}

// The marks of "已委托" give back the state stored, or nothing when it was not stored.
void GroupEditor::writeState(std::function<std::optional<QString>(Database&)> edit,
                             std::function<void(const std::optional<QString>&)> landed)
{
    m_ctx.writes.post(this, [db = m_ctx.db, edit = std::move(edit)] { return edit(*db); },
                      [this, db = m_ctx.db, landed = std::move(landed)](const std::optional<QString>& stored) {
                          if (db == m_ctx.db)
                              landed(stored);
                      });
}

bool GroupEditor::reportWrite(const StoredEdit& stored, const QString& duplicateMessage)
{
    if (stored.result == WriteResult::Duplicate) {
        m_ctx.messages().show(m_ctx.window, duplicateMessage);
        return false;
    }
    if (stored.result == WriteResult::Failed) {
        // A full disk is said as such: the clerk can free space and try again.
        const QString& error = stored.error;
        m_ctx.messages().show(m_ctx.window,
                              error == DiskFullText() ? error
                                                      : QStringLiteral("写入数据库失败：") + error
                                                            + QStringLiteral("\n数据未保存，请检查数据库文件后重试。"),
                              kErrorTitle, Messages::Icon::Critical);
        return false;
    }
    return true;
}

void GroupEditor::addSpecimenGroup()
{
    const RegisterWidgets& ui = m_ui;
    SpecimenGroup g;
    g.project = ui.projectBox->text();
    g.position = ui.positionBox->text();
    g.grade = ui.gradeBox->text();
    g.standardCount = ui.standardCountBox->text();
    g.sameCount = ui.sameCountBox->text();
    g.formCount = ui.formCountBox->text();
    if (!requireDatabase()
        || !checkWidths({g.project, g.position, g.grade, g.standardCount, g.sameCount, g.formCount}))
        return;
    if (g.position.trimmed().isEmpty()) {
        error(QStringLiteral("工程部位不能为空！"), true);
        return;
    }
    if (!TryParseDateText(ui.castingDateBox->text(), &g.castingDate)) {
        error(DateMessage(), true);
        return;
    }
    write([g](Database& db) { return AddGroup(db, g); },
          [this, project = g.project] {
              m_ctx.messages().show(m_ctx.window, QStringLiteral("添加成功！请按返回退出！"));
              treeChanged({project});
          },
          QStringLiteral("该部位已存在，请重新命名！"));
}

// A rename onto an existing project merges the two: refused when a position is in both,
// else done only after the clerk agreed to the merge.
bool GroupEditor::confirmMerge(const QString& project, const QString& newName)
{
    const QStringList shared = PositionsInBoth(*m_ctx.db, project, newName);
    if (!shared.isEmpty()) {
        error(QStringLiteral("工程“%1”已有相同的部位：%2。\n重命名会使两个同名部位无法区分，未重命名。")
                  .arg(newName, shared.join(QStringLiteral("、"))),
              true);
        return false;
    }
    if (!IsOtherExistingProject(*m_ctx.db, project, newName))
        return true;
    return m_ctx.messages().ask(m_ctx.window,
                                QStringLiteral("工程“%1”已存在。重命名后“%2”的全部部位将并入“%1”，确定要合并吗？")
                                    .arg(newName, project),
                                QStringLiteral("合并工程"), Messages::Icon::Warning);
}

void GroupEditor::renameProject()
{
    m_tree.refreshSelectionFromTree();
    const QString name = m_ui.projectBox->text();
    if (name.isEmpty()) {
        error(QStringLiteral("工程名称不能为空！"), true);
        return;
    }
    if (!requireDatabase() || !checkWidths({name}) || !confirmMerge(m_ctx.selection.projectName, name))
        return;
    const QString project = m_ctx.selection.projectName;
    write([project, name](Database& db) { return RenameProject(db, project, name); },
          [this, project, name] { treeChanged({project, name}); },
          QStringLiteral("工程“%1”已有相同的部位，不能重命名！").arg(name));
}

void GroupEditor::changePosition()
{
    m_tree.refreshSelectionFromTree();
    const QString position = m_ui.positionBox->text();
    if (position.isEmpty()) {
        error(QStringLiteral("工程部位不能为空！"), true);
        return;
    }
    if (!requireDatabase() || !checkWidths({position}))
        return;
    const QString project = m_ctx.selection.projectName;
    const QString old = m_ctx.selection.nodeText;
    write([project, old, position](Database& db) { return ChangePosition(db, project, old, position); },
          [this, project] { treeChanged({project}); }, QStringLiteral("该部位已存在，请重新命名！"));
}

void GroupEditor::changeStrengthGrade()
{
    m_tree.refreshSelectionFromTree();
    const QString grade = m_ui.gradeBox->text();
    if (grade.isEmpty()) {
        error(QStringLiteral("强度等级不能为空！"), true);
        return;
    }
    if (!requireDatabase() || !checkWidths({grade}))
        return;
    const QString project = m_ctx.selection.projectName;
    const QString position = m_ctx.selection.nodeText;
    write([project, position, grade](Database& db) { return ChangeGrade(db, project, position, grade); },
          [this] { groupChanged(); });
}

void GroupEditor::changeCastingDate()
{
    m_tree.refreshSelectionFromTree();
    const QString text = m_ui.castingDateBox->text();
    if (text.isEmpty()) {
        error(QStringLiteral("留置日期不能为空！"), false);
        return;
    }
    QDateTime date;
    if (!TryParseDateText(text, &date)) {
        error(DateMessage(), true);
        return;
    }
    const QString project = m_ctx.selection.projectName;
    const QString position = m_ctx.selection.nodeText;
    if (!requireDatabase())
        return;
    // Positions are listed by casting date: the group may move, and stays the selected one.
    write([project, position, date](Database& db) { return ChangeCastingDate(db, project, position, date); },
          [this, project, position] {
              m_tree.updateProjectKeepingGroup(project, position);
              emit registerChanged();
          });
}

void GroupEditor::changeGroupCounts()
{
    m_tree.refreshSelectionFromTree();
    const RegisterWidgets& ui = m_ui;
    const QString standard = ui.standardCountBox->text();
    if (standard.isEmpty()) {
        error(QStringLiteral("标养组数不能为空！"), false);
        return;
    }
    const QString same = ui.sameCountBox->text();
    const QString form = ui.formCountBox->text();
    if (!requireDatabase() || !checkWidths({standard, same, form}))
        return;
    const QString project = m_ctx.selection.projectName;
    const QString position = m_ctx.selection.nodeText;
    write([=](Database& db) { return ChangeCounts(db, project, position, standard, same, form); },
          [this] { groupChanged(); });
}

void GroupEditor::setStandardStatus(const QString& state, const QString& noPositionMessage)
{
    const CurrentSelection& s = m_ctx.selection;
    if (s.nodeText.isEmpty()) {
        m_ctx.messages().show(m_ctx.window, noPositionMessage, Messages::DefaultTitle(), Messages::Icon::Information);
        return;
    }
    if (!requireDatabase())
        return;
    writeState([project = s.projectName, position = s.nodeText, state](Database& db) {
                   return SetStandardState(db, project, position, state);
               },
               [this](const std::optional<QString>& stored) {
                   m_ui.standardStateLabel->setText(QStringLiteral("标养状态：") + stored.value_or(QString()));
                   if (stored) {
                       m_tree.fillStandardCuringList();
                       emit registerChanged();
                   }
               });
}

void GroupEditor::setSameConditionStatus(const QString& state)
{
    if (!m_ctx.db) {
        sameStateNotStored();
        return;
    }
    const CurrentSelection& s = m_ctx.selection;
    writeState([project = s.projectName, position = s.nodeText, state](Database& db) {
                   return SetSameConditionState(db, project, position, state);
               },
               [this](const std::optional<QString>& stored) {
                   if (!stored) {
                       sameStateNotStored();
                       return;
                   }
                   m_ui.sameStateLabel->setText(QStringLiteral("同养状态：") + *stored);
                   m_tree.fillStandardCuringList();
                   emit registerChanged();
               });
}

void GroupEditor::sameStateNotStored()
{
    m_ctx.messages().show(m_ctx.window, QStringLiteral("修改失败，请退出并重试！"), Messages::DefaultTitle(),
                          Messages::Icon::Information);
}

// After a change of projects or positions their nodes are read again, which shows the
// remembered node's group afresh.
void GroupEditor::treeChanged(const QStringList& projects)
{
    m_tree.updateProjects(projects);
    emit registerChanged();
}

// After a change of the selected group's values its panel, list and tables show them.
void GroupEditor::groupChanged()
{
    m_tree.onTreeSelectionChanged();
    emit registerChanged();
}

void GroupEditor::stepCastingDate(int days)
{
    QLineEdit* box = m_ui.castingDateBox;
    box->setText(FormatLongDate(AddDays(ParseDateText(box->text()), days)));
}

} // namespace stolvar
