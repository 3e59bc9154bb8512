#include "model/logger/LoggerLayout.h"

#include "model/temperatures/PlausibleTemperature.h"

#include <QByteArray>

#include <array>
#include <cmath>

namespace stolvar {

namespace {

bool ContainsAny(QStringView text, std::initializer_list<QStringView> words)
{
    for (QStringView word : words) {
        if (text.contains(word, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool NamesDateOrTime(QStringView name)
{
    return ContainsAny(name, {u"时间", u"日期", u"time", u"date"});
}

bool NamesTemperature(QStringView name)
{
    return ContainsAny(name, {u"温度", u"temp", u"℃", u"°c", u"celsius", u"℉", u"°f", u"fahrenheit"});
}

QStringView Unquote(QStringView field)
{
    field = field.trimmed();
    if (field.size() >= 2 && field.front() == u'"' && field.back() == u'"')
        field = field.mid(1, field.size() - 2).trimmed();
    return field;
}

enum class Unit { Unnamed, Celsius, Fahrenheit };

// A number with a decimal point or comma, optionally signed and followed by its unit.
std::optional<double> ReadNumber(QStringView field, Unit* unit)
{
    *unit = Unit::Unnamed;
    for (const auto& [suffix, named] : {std::pair{QStringView(u"℃"), Unit::Celsius}, {u"°C", Unit::Celsius},
                                        {u"℉", Unit::Fahrenheit}, {u"°F", Unit::Fahrenheit}}) {
        if (field.endsWith(suffix, Qt::CaseInsensitive)) {
            field = field.chopped(suffix.size()).trimmed();
            *unit = named;
            break;
        }
    }
    if (field.isEmpty() || field.size() > 24)
        return std::nullopt;
    std::array<char, 25> ascii{};
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        if (!((c >= u'0' && c <= u'9') || c == u'-' || c == u'+' || c == u'.' || c == u','))
            return std::nullopt;
        ascii[size_t(i)] = c == u',' ? '.' : char(c);
    }
    bool ok = false;
    const double value = QByteArray::fromRawData(ascii.data(), field.size()).toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional(value) : std::nullopt;
}

double FahrenheitToCelsius(double value)
{
    return (value - 32.0) * 5.0 / 9.0;
}

// A value that could be an air temperature in either unit: a column found by content.
bool LooksLikeTemperature(QStringView field)
{
    Unit unit = Unit::Unnamed;
    const std::optional<double> value = ReadNumber(field, &unit);
    return value && (IsPlausibleTemperature(*value) || IsPlausibleTemperature(FahrenheitToCelsius(*value)));
}

std::optional<LoggerStamp> StampIn(const QVector<QStringView>& row, int column)
{
    return column >= 0 && column < row.size() ? ParseLoggerStamp(row[column]) : std::nullopt;
}

// The header's date and time columns first, then every column in turn.
QVector<int> TimeCandidates(const QVector<QStringView>& header, int count)
{
    QVector<int> candidates;
    for (int i = 0; i < header.size() && i < count; ++i) {
        if (NamesDateOrTime(header[i]) && !NamesTemperature(header[i]))
            candidates.append(i);
    }
    for (int i = 0; i < count; ++i) {
        if (!candidates.contains(i))
            candidates.append(i);
    }
    return candidates;
}

void FindTimeColumns(const QVector<QStringView>& header, const QVector<QStringView>& row, LoggerColumns* columns)
{
    const QVector<int> candidates = TimeCandidates(header, int(row.size()));
    for (int i : candidates) {
        const auto stamp = StampIn(row, i);
        if (stamp && stamp->hasDate && stamp->hasTime) {
            columns->stamp = i;
            return;
        }
    }
    for (int i : candidates) {
        const auto stamp = StampIn(row, i);
        if (columns->date < 0 && stamp && stamp->hasDate && !stamp->hasTime)
            columns->date = i;
        else if (columns->time < 0 && stamp && stamp->hasTime && !stamp->hasDate)
            columns->time = i;
    }
}

void FindTemperatureColumn(const QVector<QStringView>& header, const QVector<QStringView>& row,
                           LoggerColumns* columns)
{
    const auto isTimeColumn = [&](int i) { return i == columns->stamp || i == columns->date || i == columns->time; };
    for (int i = 0; i < header.size(); ++i) {
        if (!isTimeColumn(i) && NamesTemperature(header[i])) {
            columns->temperature = i;
            columns->fahrenheit = NamesFahrenheit(header[i]);
            return;
        }
    }
    const int last = std::max({columns->stamp, columns->date, columns->time});
    const int first = columns->stamp >= 0 ? columns->stamp : std::min(columns->date, columns->time);
    for (int i = last + 1; i < row.size() && columns->temperature < 0; ++i) {
        if (LooksLikeTemperature(row[i]))
            columns->temperature = i;
    }
    for (int i = first - 1; i >= 0 && columns->temperature < 0; --i) {
        if (LooksLikeTemperature(row[i]))
            columns->temperature = i;
    }
}

} // namespace

void SplitLoggerFields(QStringView line, QChar separator, QVector<QStringView>* fields)
{
    fields->clear();
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line[i] == u'"')
            quoted = !quoted;
        else if (line[i] == separator && !quoted) {
            fields->append(Unquote(line.mid(start, i - start)));
            start = i + 1;
        }
    }
    fields->append(Unquote(line.mid(start)));
}

QChar LoggerSeparator(QStringView line)
{
    bool quoted = false;
    bool semicolon = false;
    for (QChar c : line) {
        if (c == u'"')
            quoted = !quoted;
        else if (!quoted && c == u'\t')
            return u'\t';
        else if (!quoted && c == u';')
            semicolon = true;
    }
    return semicolon ? u';' : u',';
}

bool NamesTimeAndTemperature(const QVector<QStringView>& fields)
{
    bool time = false;
    bool temperature = false;
    for (QStringView field : fields) {
        if (NamesTemperature(field))
            temperature = true;
        else if (NamesDateOrTime(field))
            time = true;
    }
    return time && temperature;
}

bool NamesFahrenheit(QStringView text)
{
    return ContainsAny(text, {u"℉", u"°F", u"Fahrenheit", u"华氏", u"(F)", u"[F]", u"*F"});
}

bool NamesCelsius(QStringView text)
{
    return ContainsAny(text, {u"℃", u"°C", u"Celsius", u"摄氏", u"(C)", u"[C]", u"*C"});
}

int LoggerColumns::widest() const
{
    return std::max({stamp, date, time, temperature});
}

LoggerColumns FindLoggerColumns(const QVector<QStringView>& header, const QVector<QStringView>& row)
{
    LoggerColumns columns;
    FindTimeColumns(header, row, &columns);
    if (columns.hasTime())
        FindTemperatureColumn(header, row, &columns);
    return columns;
}

bool HoldsTimestamp(const QVector<QStringView>& row)
{
    return FindLoggerColumns({}, row).hasTime();
}

std::optional<LoggerReading> ReadLoggerLine(const QVector<QStringView>& row, const LoggerColumns& columns,
                                            bool fahrenheit)
{
    if (row.size() <= columns.widest())
        return std::nullopt;
    LoggerReading reading;
    if (columns.stamp >= 0) {
        const auto stamp = StampIn(row, columns.stamp);
        if (!stamp || !stamp->hasDate || !stamp->hasTime)
            return std::nullopt;
        reading.stamp = *stamp;
    } else {
        const auto date = StampIn(row, columns.date);
        const auto time = StampIn(row, columns.time);
        if (!date || !time || !date->hasDate || date->hasTime || !time->hasTime || time->hasDate)
            return std::nullopt;
        reading.stamp = *date;
        reading.stamp.hasTime = true;
        reading.stamp.secondOfDay = time->secondOfDay;
    }
    Unit unit = Unit::Unnamed;
    const std::optional<double> value = ReadNumber(row[columns.temperature], &unit);
    if (!value)
        return std::nullopt;
    const bool inFahrenheit = unit == Unit::Fahrenheit || (unit == Unit::Unnamed && fahrenheit);
    reading.celsius = inFahrenheit ? FahrenheitToCelsius(*value) : *value;
    if (!IsPlausibleTemperature(reading.celsius))
        return std::nullopt;
    return reading;
}

} // namespace stolvar
