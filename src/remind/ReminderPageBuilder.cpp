#include "remind/ReminderPageBuilder.h"

#include "remind/ReminderWidgets.h"
#include "ui/WidgetFactory.h"

#include <QGroupBox>
#include <QPlainTextEdit>

namespace stolvar {

namespace {

QPlainTextEdit* ReminderBox(QWidget* page, const QString& groupName, const QString& title,
                            const QString& boxName, const QRect& geometry)
{
    auto* group = Place<QGroupBox>(page, groupName, geometry);
    group->setTitle(title);
    auto* box = Place<QPlainTextEdit>(group, boxName, {6, 20, geometry.width() - 12, geometry.height() - 26});
    box->setReadOnly(true);
    return box;
}

} // namespace

void BuildReminderBoxes(QWidget* page, ReminderWidgets& ui)
{
    ui.standardDueBox = ReminderBox(page, QStringLiteral("分组框6"), QStringLiteral("标养到期提醒"),
                                    QStringLiteral("到期提醒编辑框"), {2, 2, 294, 194});
    ui.formRemovalDueBox = ReminderBox(page, QStringLiteral("分组框8"), QStringLiteral("拆模到期提醒"),
                                       QStringLiteral("拆模提醒编辑框"), {302, 2, 294, 194});
    ui.sameConditionDueBox = ReminderBox(page, QStringLiteral("分组框7"), QStringLiteral("同养到期提醒"),
                                         QStringLiteral("到期提醒编辑框1"), {2, 198, 294, 194});
    ui.recentPoursBox = ReminderBox(page, QStringLiteral("分组框9"), QStringLiteral("近期浇筑"),
                                    QStringLiteral("近期浇筑编辑框"), {302, 198, 294, 194});
}

} // namespace stolvar
