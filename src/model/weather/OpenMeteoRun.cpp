#include "model/weather/WeatherCollector.h"

#include "db/Database.h"
#include "model/temperatures/ClimateStore.h"
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

// An answer that did not come, or came too large: why; one with an HTTP error: the
// service's own reason when it gives one (a 400 names the parameter it refused).
void ShowFetchFailure(CollectionResult& result, FetchStatus fetched, const QByteArray& refusal)
{
    const QString reason = fetched == FetchStatus::Failed ? ReadServiceReason(refusal) : QString();
    ShowFailure(result, reason.isEmpty() ? FetchFailedText(fetched) : ServiceRefusedText(reason));
}

// A forecast of 12 days of hours is some 10 kB; 16 MB leaves room for anything the
// service may add. The request ends at once when the program closes.
constexpr qint64 kMeteoAnswerLimit = 16 * 1024 * 1024;

FetchOptions ServiceRequestOptions(const CollectionInput& input, QByteArray* errorBody)
{
    FetchOptions options;
    options.errorBody = errorBody;
    options.userAgent = "stolvar";
    options.headers = {{"Accept", "application/json"}};
    options.timeoutMs = input.timeoutMs;
    options.stop = input.stop;
    options.maxBytes = kMeteoAnswerLimit;
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
    QByteArray refusal;
    if (const FetchStatus fetched = Fetch(PlaceSearchUrl(a.geocodingService, input.city, a.meteoKey),
                                          ServiceRequestOptions(input, &refusal), &body);
        fetched != FetchStatus::Ok) {
        ShowFetchFailure(result, fetched, refusal);
        return std::nullopt;
    }
    const PlaceAnswer answer = ReadPlaceAnswer(body);
    if (!answer.error.isEmpty()) {
        ShowFailure(result, answer.error);
    } else if (!answer.place) {
        ShowUnknownCity(result);
    } else if (answer.places.size() > 1) {
        result.placeChoices = answer.places;   // asked on the UI thread; the run ends here
        result.locationText = SeveralPlacesText(input.city);
        return std::nullopt;
    } else {
        result.placeFound = RememberedPlace{input.city, *answer.place};
    }
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

// The 30 years of the place's daily means, once per city and year: some 11,000 days, a few
// hundred kilobytes, asked with the limits of the forecast. A failure keeps what was stored.
void RefreshClimate(CollectionResult& result, const CollectionInput& input, const MeteoPlace& place)
{
    Database& db = *input.db;
    const QDate today = input.today.date();
    if (input.addresses.climateService.isEmpty() || db.isReadOnly()
        || !ClimateNeedsFetch(NewestClimateYear(db), input.climateCity == input.city, today))
        return;
    const YearSpan years = ClimateYearsFor(today);
    QByteArray body;
    QByteArray refusal;
    const NetworkAddresses& a = input.addresses;
    if (const FetchStatus fetched = Fetch(ClimateUrl(a.climateService, place, years.first, years.last, a.meteoKey),
                                          ServiceRequestOptions(input, &refusal), &body);
        fetched != FetchStatus::Ok)
        return ShowFetchFailure(result, fetched, refusal);
    const ClimateAnswer answer = ReadClimateAnswer(body);
    if (!answer.error.isEmpty())
        return ShowFailure(result, answer.error);
    if (const QString stored = StoreClimate(db, answer.days); !stored.isEmpty())
        return ShowFailure(result, stored);
    result.climateStoredFor = input.city;
}

} // namespace

void CollectFromOpenMeteo(CollectionResult& result, const CollectionInput& input)
{
    const std::optional<MeteoPlace> place = FindPlace(result, input);
    if (!place)
        return;
    QByteArray body;
    QByteArray refusal;
    const NetworkAddresses& a = input.addresses;
    if (const FetchStatus fetched =
            Fetch(ForecastUrl(a.meteoService, *place, a.meteoKey), ServiceRequestOptions(input, &refusal), &body);
        fetched != FetchStatus::Ok)
        return ShowFetchFailure(result, fetched, refusal);
    const ForecastAnswer answer = ReadForecastAnswer(body);
    if (!answer.error.isEmpty())
        return ShowFailure(result, answer.error);
    const QDate today = input.today.date();
    TakeMeteoView(result, ViewMeteoDays(answer.days, today, input.previous), *place);
    if (!input.db)
        return;
    const QString stored = StoreSourcedDays(*input.db, ServiceDaysToStore(answer.days, today), today, PlanServiceDayAt);
    if (!stored.isEmpty())
        return ShowFailure(result, stored);
    RefreshClimate(result, input, *place);
}

} // namespace stolvar
