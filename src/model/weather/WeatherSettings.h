#pragma once

#include "model/weather/WeatherCollector.h"

#include <QStringList>

#include <optional>

namespace stolvar {

class SettingsStore;

// The choices of 天气来源框, as Temp.ini stores them; anything else reads as the page.
QStringList WeatherSourceTexts();   // 预报页面, Open-Meteo
QString WeatherSourceText(WeatherSource source);
WeatherSource ReadWeatherSource(const SettingsStore& settings);

// The place of the last search, when Temp.ini holds a complete one.
std::optional<RememberedPlace> ReadRememberedPlace(const SettingsStore& settings);
// Writes every key; false when one write failed.
bool WriteRememberedPlace(const SettingsStore& settings, const RememberedPlace& place);

} // namespace stolvar
