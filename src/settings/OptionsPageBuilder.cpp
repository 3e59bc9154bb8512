#include "settings/OptionsPageBuilder.h"

#include "settings/SettingsWidgets.h"
#include "ui/WidgetFactory.h"

#include <QCheckBox>
#include <QLineEdit>

namespace stolvar {

namespace {

QCheckBox* Option(QWidget* group, const QString& name, const QString& text, const QRect& geometry)
{
    auto* box = Place<QCheckBox>(group, name, geometry);
    box->setText(text);
    return box;
}

} // namespace

void BuildOptionControls(QWidget* weatherGroup, SettingsWidgets& ui)
{
    QWidget* group = weatherGroup;
    ui.autoCollectBox = Option(group, QStringLiteral("选择框1"), QStringLiteral("自动采集温度"), {166, 182, 100, 26});
    ui.autoMailBox = Option(group, QStringLiteral("选择框2"), QStringLiteral("自动发送提醒邮件"), {268, 182, 124, 26});
    ui.autoStartBox = Option(group, QStringLiteral("选择框3"), QStringLiteral("开机启动"), {394, 182, 80, 26});
    PlaceLabel(group, QStringLiteral("提前标签"), QStringLiteral("提前"), {478, 182, 28, 26});
    ui.leadDaysBox = Place<QLineEdit>(group, QStringLiteral("编辑框3"), {506, 182, 34, 26});
    PlaceLabel(group, QStringLiteral("天提醒标签"), QStringLiteral("天提醒"), {544, 182, 46, 26});
}

} // namespace stolvar
