#pragma once

#include "model/weather/WeatherCollector.h"

#include <QObject>

namespace stolvar {

struct AppContext;
struct WeatherWidgets;

// The "温度提示" box of the main window: starts collection runs in the background and
// shows their results. Lives on the UI thread; keeps the per-day values of the
// collection runs for the program run.
class WeatherController : public QObject
{
    Q_OBJECT
public:
    WeatherController(AppContext& context, WeatherWidgets& ui, QObject* parent = nullptr);

    // One collection run with the city and addresses of Temp.ini. While a run is on its
    // way, further calls make one more run after it (with the settings of that moment).
    void collect();
    // "更新位置": remembers the typed city, then collects.
    void updateLocation();
    // "更新位置", and 天气来源框: shows the source of Temp.ini and stores each choice.
    void connectControls();
    void chooseSource(const QString& text);
    const WeatherDays& days() const { return m_days; }
    bool isRunning() const { return m_running; }

signals:
    // A run reached the network: the version check follows.
    void networkReached();
    // A run ended; the days it stored (if any) are in the database.
    void runFinished();

private:
    void showRunning();
    void apply(const CollectionResult& result);
    bool choosePlace(const CollectionResult& result);

    AppContext& m_ctx;
    WeatherWidgets& m_ui;
    WeatherDays m_days;
    QString m_locationBefore;
    bool m_running = false;   // a run is on a worker
    bool m_pending = false;   // another run was asked for meanwhile
};

// Shows a run's result in the box (UI thread).
void ApplyCollectionResult(const CollectionResult& result, WeatherWidgets& ui);

} // namespace stolvar
