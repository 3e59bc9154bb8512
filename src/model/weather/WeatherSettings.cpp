#include "model/weather/WeatherSettings.h"

#include "core/SettingsStore.h"

#include <cmath>

namespace stolvar {

namespace {

std::optional<double> ReadCoordinate(const SettingsStore& settings, const keys::Key& key, double limit)
{
    bool ok = false;
    const double value = settings.read(key).toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > limit)
        return std::nullopt;
    return value;
}

} // namespace

QStringList WeatherSourceTexts()
{
    return {WeatherSourceText(WeatherSource::ForecastPage), WeatherSourceText(WeatherSource::OpenMeteo)};
}

QString WeatherSourceText(WeatherSource source)
{
    return source == WeatherSource::OpenMeteo ? QStringLiteral("Open-Meteo") : QStringLiteral("预报页面");
}

WeatherSource ReadWeatherSource(const SettingsStore& settings)
{
    const bool meteo = settings.read(keys::kWeatherSource).trimmed() == WeatherSourceText(WeatherSource::OpenMeteo);
    return meteo ? WeatherSource::OpenMeteo : WeatherSource::ForecastPage;
}

std::optional<RememberedPlace> ReadRememberedPlace(const SettingsStore& settings)
{
    RememberedPlace remembered;
    remembered.city = settings.read(keys::kPlaceCity);
    const std::optional<double> latitude = ReadCoordinate(settings, keys::kPlaceLatitude, 90);
    const std::optional<double> longitude = ReadCoordinate(settings, keys::kPlaceLongitude, 180);
    if (remembered.city.isEmpty() || !latitude || !longitude)
        return std::nullopt;
    remembered.place = {settings.read(keys::kPlaceName), settings.read(keys::kPlaceProvince), *latitude, *longitude,
                        settings.read(keys::kPlaceTimezone, QStringLiteral("auto"))};
    return remembered;
}

bool WriteRememberedPlace(const SettingsStore& settings, const RememberedPlace& remembered)
{
    const MeteoPlace& p = remembered.place;
    // The city goes last: a half-written place never matches the city.
    return settings.write(keys::kPlaceCity, QString()) && settings.write(keys::kPlaceName, p.name)
        && settings.write(keys::kPlaceProvince, p.province)
        && settings.write(keys::kPlaceLatitude, QString::number(p.latitude, 'g', 10))
        && settings.write(keys::kPlaceLongitude, QString::number(p.longitude, 'g', 10))
        && settings.write(keys::kPlaceTimezone, p.timezone) && settings.write(keys::kPlaceCity, remembered.city);
}

} // namespace stolvar
