#include "curing/WeatherController.h"

#include "curing/CuringWidgets.h"
#include "curing/PlaceChoiceDialog.h"
#include "model/weather/WeatherSettings.h"
#include "ui/AppContext.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <utility>

namespace stolvar {

namespace {

// The red of an unknown city stays until the program ends.
void MarkRed(QLabel* label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
}

void SetLabel(QLabel* label, const std::optional<QString>& text)
{
    if (text)
        label->setText(*text);
}

} // namespace

void ApplyCollectionResult(const CollectionResult& result, WeatherWidgets& ui)
{
    ui.cityBox->setText(result.city);
    SetLabel(ui.locationLabel, result.locationText);
    if (result.locationRed)
        MarkRed(ui.locationLabel);
    SetLabel(ui.todayLabel, result.todayLabel);
    for (size_t k = 0; k < ui.futureLabels.size(); ++k)
        SetLabel(ui.futureLabels[k], result.futureLabels[k]);
    if (result.dayLabelsVisible) {
        ui.todayLabel->setVisible(*result.dayLabelsVisible);
        for (QLabel* label : ui.futureLabels)
            label->setVisible(*result.dayLabelsVisible);
    }
}

WeatherController::WeatherController(AppContext& context, WeatherWidgets& ui, QObject* parent)
    : QObject(parent), m_ctx(context), m_ui(ui)
{
}

void WeatherController::collect()
{
    // One run at a time; requests meanwhile become one more run when it ends, so a dead
    // network never fills the workers with waiting runs.
    if (m_running) {
        m_pending = true;
        return;
    }
    CollectionInput input;
    input.city = m_ctx.settings.read(keys::kWeatherCity);
    input.addresses = ReadNetworkAddresses(m_ctx.settings);
    input.db = m_ctx.db;
    input.today = m_ctx.today();
    input.previous = m_days;
    input.system = SystemReachability();
    input.source = ReadWeatherSource(m_ctx.settings);
    input.place = ReadRememberedPlace(m_ctx.settings);
    input.climateCity = m_ctx.settings.read(keys::kClimateCity);
    input.stop = m_ctx.tasks.stopFlag();
    if (m_ctx.tasks.isStopped())
        return;
    m_running = true;
    showRunning();
    m_ctx.tasks.run(
        this, [input] { return CollectWeather(input); },
        [this](const CollectionResult& result) { apply(result); });
}

void WeatherController::updateLocation()
{
    m_ctx.settings.write(keys::kWeatherCity, m_ui.cityBox->text());
    collect();
}

// Until the result arrives the location label says so, and "更新位置" waits.
void WeatherController::showRunning()
{
    m_locationBefore = m_ui.locationLabel->text();
    m_ui.locationLabel->setText(QStringLiteral("正在获取天气…"));
    m_ui.updateCityButton->setEnabled(false);
}

void WeatherController::connectControls()
{
    connect(m_ui.updateCityButton, &QPushButton::clicked, this, &WeatherController::updateLocation);
    QComboBox* box = m_ui.weatherSourceBox;
    box->setCurrentText(WeatherSourceText(ReadWeatherSource(m_ctx.settings)));
    connect(box, &QComboBox::textActivated, this, &WeatherController::chooseSource);
}

void WeatherController::chooseSource(const QString& text)
{
    if (!m_ctx.settings.write(keys::kWeatherSource, text))
        m_ctx.messages().show(m_ctx.window, QStringLiteral("天气来源未能保存到Temp.ini，请检查程序文件夹是否可写。"));
}

void WeatherController::apply(const CollectionResult& result)
{
    m_running = false;
    m_ui.locationLabel->setText(m_locationBefore);
    m_ui.updateCityButton->setEnabled(true);
    if (result.placeFound && !WriteRememberedPlace(m_ctx.settings, *result.placeFound))
        m_ctx.messages().show(m_ctx.window, QStringLiteral("查到的地点未能保存到Temp.ini，下次采集将重新查询。"));
    if (result.climateStoredFor && !m_ctx.settings.write(keys::kClimateCity, *result.climateStoredFor))
        m_ctx.messages().show(m_ctx.window, QStringLiteral("气候数据的地区未能保存到Temp.ini，下次采集将重新获取。"));
    m_days = result.days;
    ApplyCollectionResult(result, m_ui);
    emit runFinished();
    if (result.startVersionCheck)
        emit networkReached();
    const bool chosen = !result.placeChoices.isEmpty() && choosePlace(result);
    if (std::exchange(m_pending, false) || chosen)
        collect();
}

// Several places answer to the city: the one the clerk picks is remembered as if the
// search had found it alone, and the run is made again with it.
bool WeatherController::choosePlace(const CollectionResult& result)
{
    PlaceChoiceDialog dialog(result.city, result.placeChoices, m_ctx.window);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenRow() < 0)
        return false;
    const RememberedPlace picked{result.city, result.placeChoices[dialog.chosenRow()].place};
    if (!WriteRememberedPlace(m_ctx.settings, picked)) {
        m_ctx.messages().show(m_ctx.window, QStringLiteral("选择的地点未能保存到Temp.ini，下次采集将重新查询。"));
        return false;
    }
    return true;
}

} // namespace stolvar
