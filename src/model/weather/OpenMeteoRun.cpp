#include "model/weather/WeatherCollector.h"

#include "model/temperatures/DaySources.h"

namespace stolvar {

namespace {

// An unknown city reads as on the forecast page: the red message, the day labels hidden.
void ShowUnknownCity(CollectionResult& result)
{
    result.locationText = UnknownCityText();
    result.locationRed = true;
    result.dayLabelsVisible = false;
}

void ShowFailure(CollectionResult& result, const QString& message)
{
    result.locationText = message;
    result.storeMessage = message;
}

FetchOptions ServiceRequestOptions(int timeoutMs)
{
    FetchOptions options;
    options.userAgent = "stolvar";
    options.headers = {{"Accept", "application/json"}};
    options.timeoutMs = timeoutMs;
    return options;
}

// The remembered place when it belongs to this city, else one new search.
std::optional<MeteoPlace> FindPlace(CollectionResult& result, const CollectionInput& input)
{
    if (input.place && input.place->city == input.city)
        return input.place->place;
    if (input.city.trimmed().isEmpty()) {
        ShowUnknownCity(result);
        return std::nullopt;
    }
    const NetworkAddresses& a = input.addresses;
    QByteArray body;
    if (!TryFetchPage(PlaceSearchUrl(a.geocodingService, input.city, a.meteoKey), ServiceRequestOptions(input.timeoutMs), &body)) {
        ShowFailure(result, ServiceUnreachableText());
        return std::nullopt;
    }
    const PlaceAnswer answer = ReadPlaceAnswer(body);
    if (!answer.error.isEmpty())
        ShowFailure(result, answer.error);
    else if (!answer.place)
        ShowUnknownCity(result);
    else
        result.placeFound = RememberedPlace{input.city, *answer.place};
    return answer.place;
}

void TakeMeteoView(CollectionResult& result, const MeteoView& view, const MeteoPlace& place)
{
    result.days = view.days;
    result.todayLabel = view.todayLabel;
    result.futureLabels = view.futureLabels;
    result.dayLabelsVisible = true;
    result.locationText = PlaceText(place);
}

} // namespace

void CollectFromOpenMeteo(CollectionResult& result, const CollectionInput& input)
{
    const std::optional<MeteoPlace> place = FindPlace(result, input);
    if (!place)
        return;
    QByteArray body;
    const NetworkAddresses& a = input.addresses;
    if (!TryFetchPage(ForecastUrl(a.meteoService, *place, a.meteoKey), ServiceRequestOptions(input.timeoutMs), &body))
        return ShowFailure(result, ServiceUnreachableText());
    const ForecastAnswer answer = ReadForecastAnswer(body);
    if (!answer.error.isEmpty())
        return ShowFailure(result, answer.error);
    const QDate today = input.today.date();
    TakeMeteoView(result, ViewMeteoDays(answer.days, today, input.previous), *place);
    if (!input.db)
        return;
    const QString stored = StoreSourcedDays(*input.db, ServiceDaysToStore(answer.days, today), today, PlanServiceDayAt);
    if (!stored.isEmpty())
        ShowFailure(result, stored);
}

} // namespace stolvar
