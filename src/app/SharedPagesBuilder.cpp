#include "app/MainWidgetsBuilder.h"

#include "app/WindowWidgets.h"
#include "curing/CuringPageBuilder.h"
#include "register/RegisterPageBuilder.h"
#include "remind/ReminderPageBuilder.h"
#include "settings/OptionsPageBuilder.h"
#include "strength/StrengthPageBuilder.h"

#include <QGroupBox>

namespace stolvar {

QWidget* BuildInfoPage(WindowWidgets& ui)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("信息提示页"));
    BuildReminderBoxes(page, ui.reminderUi);
    QGroupBox* weather = BuildWeatherGroup(page, ui.weatherUi);
    BuildOptionControls(weather, ui.optionsUi);
    return page;
}

QWidget* BuildDataPage(WindowWidgets& ui)
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("数据管理页"));
    BuildRegisterDataControls(page, ui.registerUi);
    BuildTemperatureEntry(page, ui.curingUi);
    BuildOutlookLabels(ui.registerUi.sameConditionGroup, ui.curingUi);
    BuildResultsPanel(ui.registerUi.standardStateGroup, ui.registerUi.groupEditingGroup, ui.resultsUi);
    return page;
}

} // namespace stolvar
