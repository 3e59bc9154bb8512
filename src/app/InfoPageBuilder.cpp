#include "ui/MainWidgets.h"
#include "app/MainWidgetsBuilder.h"
#include "model/weather/WeatherSettings.h"
#include "ui/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
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

void BuildWeatherGroup(QWidget* page, MainWidgets& ui)
{
    auto* group = Place<QGroupBox>(page, QStringLiteral("分组框5"), {2, 396, 594, 218});
    group->setTitle(QStringLiteral("温度提示"));
    ui.locationLabel = PlaceLabel(group, QStringLiteral("地区标签"), QString(), {6, 18, 472, 22});
    // The row of "更新位置" is full: the source choice sits at the end of the location line.
    ui.weatherSourceBox = Place<QComboBox>(group, QStringLiteral("天气来源框"), {482, 16, 106, 24});
    ui.weatherSourceBox->addItems(WeatherSourceTexts());
    ui.todayLabel = PlaceLabel(group, QStringLiteral("今天标签"), QString(), {6, 42, 112, 130});
    for (int i = 0; i < 4; ++i) {
        ui.futureLabels[size_t(i)] = PlaceLabel(group, QStringLiteral("未来%1标签").arg(i + 1), QString(),
                                                {122 + i * 116, 42, 112, 130});
    }
    for (QLabel* label : {ui.todayLabel, ui.futureLabels[0], ui.futureLabels[1], ui.futureLabels[2], ui.futureLabels[3]}) {
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setAutoFillBackground(true);
        label->setWordWrap(true);
    }
    ui.cityBox = Place<QLineEdit>(group, QStringLiteral("地名编辑框"), {6, 182, 80, 26});
    ui.updateCityButton = PlaceButton(group, QStringLiteral("查询按钮"), QStringLiteral("更新位置"), {90, 182, 70, 26});
    ui.autoCollectBox = Place<QCheckBox>(group, QStringLiteral("选择框1"), {166, 182, 100, 26});
    ui.autoCollectBox->setText(QStringLiteral("自动采集温度"));
    ui.autoMailBox = Place<QCheckBox>(group, QStringLiteral("选择框2"), {268, 182, 124, 26});
    ui.autoMailBox->setText(QStringLiteral("自动发送提醒邮件"));
    ui.autoStartBox = Place<QCheckBox>(group, QStringLiteral("选择框3"), {394, 182, 80, 26});
    ui.autoStartBox->setText(QStringLiteral("开机启动"));
    PlaceLabel(group, QStringLiteral("提前标签"), QStringLiteral("提前"), {478, 182, 28, 26});
    ui.leadDaysBox = Place<QLineEdit>(group, QStringLiteral("编辑框3"), {506, 182, 34, 26});
    PlaceLabel(group, QStringLiteral("天提醒标签"), QStringLiteral("天提醒"), {544, 182, 46, 26});
}

} // namespace

QWidget* BuildInfoPage(MainWidgets& ui)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("信息提示页"));
    ui.standardDueBox = ReminderBox(page, QStringLiteral("分组框6"), QStringLiteral("标养到期提醒"),
                                    QStringLiteral("到期提醒编辑框"), {2, 2, 294, 194});
    ui.formRemovalDueBox = ReminderBox(page, QStringLiteral("分组框8"), QStringLiteral("拆模到期提醒"),
                                       QStringLiteral("拆模提醒编辑框"), {302, 2, 294, 194});
    ui.sameConditionDueBox = ReminderBox(page, QStringLiteral("分组框7"), QStringLiteral("同养到期提醒"),
                                         QStringLiteral("到期提醒编辑框1"), {2, 198, 294, 194});
    ui.recentPoursBox = ReminderBox(page, QStringLiteral("分组框9"), QStringLiteral("近期浇筑"),
                                    QStringLiteral("近期浇筑编辑框"), {302, 198, 294, 194});
    BuildWeatherGroup(page, ui);
    return page;
}

} // namespace stolvar
