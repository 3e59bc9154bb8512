#include "model/logger/LoggerFile.h"

#include "model/logger/LoggerLayout.h"
#include "model/logger/LoggerLines.h"

#include <QBuffer>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <bit>
#include <cmath>

namespace stolvar {

namespace {

QString NoReadingsText() { return QStringLiteral("文件中没有可读的时间和温度。"); }
QString NoTemperatureColumnText() { return QStringLiteral("文件中没有温度列。"); }
QString NoTimeColumnText() { return QStringLiteral("文件中没有时间列。"); }
QString ReadFailedText() { return QStringLiteral("文件读取失败。"); }

constexpr DateOrder kOrders[] = {DateOrder::YearMonthDay, DateOrder::MonthDayYear, DateOrder::DayMonthYear};

// A date as written, as one number: readings of one written date share their sums.
quint64 DateKey(const LoggerStamp& s)
{
    return (quint64(s.yearFirst) << 62) | (quint64(s.twoDigitYear) << 61) | (quint64(s.first) << 32)
        | (quint64(s.second) << 16) | quint64(s.third);
}

void AddReading(LoggerDateSums& sums, const LoggerReading& reading)
{
    if (sums.readings++ == 0) {
        sums.date = reading.stamp;
        sums.high = sums.low = reading.celsius;
    }
    sums.hourMask |= 1u << reading.stamp.hour();
    sums.sum += reading.celsius;
    sums.high = std::max(sums.high, reading.celsius);
    sums.low = std::min(sums.low, reading.celsius);
    for (int k = 0; k < 4; ++k) {
        const int away = std::abs(reading.stamp.secondOfDay - kObservationHours[k] * 3600);
        if (away < sums.nearest[k]) {
            sums.nearest[k] = away;
            sums.nearestValue[k] = reading.celsius;
        }
    }
}

void MergeSums(LoggerDateSums& into, const LoggerDateSums& from)
{
    into.readings += from.readings;
    into.hourMask |= from.hourMask;
    into.sum += from.sum;
    into.high = std::max(into.high, from.high);
    into.low = std::min(into.low, from.low);
    for (int k = 0; k < 4; ++k) {
        if (from.nearest[k] < into.nearest[k]) {
            into.nearest[k] = from.nearest[k];
            into.nearestValue[k] = from.nearestValue[k];
        }
    }
}

// Readings in 20 hours or more: the mean of them all. Fewer, but one at each of the four
// observation times: the mean of those four, as the weather services take a day's mean.
LoggerDay FinishDay(const QDate& day, const LoggerDateSums& sums)
{
    LoggerDay result{day, sums.readings, std::popcount(sums.hourMask), sums.sum / sums.readings, sums.high, sums.low,
                     sums.hourMask, false};
    const bool observed = std::all_of(std::begin(sums.nearest), std::end(sums.nearest),
                                      [](int away) { return away <= kObservationToleranceSeconds; });
    if (result.hours < kCompleteDayHours && observed) {
        result.observationTimes = true;
        result.mean = (sums.nearestValue[0] + sums.nearestValue[1] + sums.nearestValue[2] + sums.nearestValue[3]) / 4;
    }
    return result;
}

qint64 ReadingsValidIn(const QVector<LoggerDateSums>& dates, DateOrder order)
{
    qint64 readings = 0;
    for (const LoggerDateSums& d : dates)
        readings += StampDate(d.date, order).isValid() ? d.readings : 0;
    return readings;
}

// The orders in which every date of the file is a day; none fits them all (a file of
// mixed shapes): the one that reads the most readings, the others skipped.
void DecideDateOrder(LoggerFile& file)
{
    for (DateOrder order : kOrders) {
        if (ReadingsValidIn(file.dates, order) == file.readings)
            file.orders.append(order);
    }
    if (file.orders.isEmpty()) {
        const auto best = std::max_element(std::begin(kOrders), std::end(kOrders), [&](DateOrder a, DateOrder b) {
            return ReadingsValidIn(file.dates, a) < ReadingsValidIn(file.dates, b);
        });
        const qint64 valid = ReadingsValidIn(file.dates, *best);
        file.skipped += file.readings - valid;
        file.readings = valid;
        file.orders.append(*best);
    }
    // A file of year-first dates only fits every order: its dates fix their own.
    const bool fixed = std::all_of(file.dates.cbegin(), file.dates.cend(),
                                   [](const LoggerDateSums& d) { return d.date.yearFirst; });
    if (fixed)
        file.orders = {DateOrder::YearMonthDay};
    // While the clerk has not chosen, the days are read month first, as earlier releases did.
    file.order = file.orders.contains(DateOrder::MonthDayYear) ? DateOrder::MonthDayYear : file.orders.front();
}

// One pass over the lines: the head (up to the header, or the first lines when there is
// none) is kept until the layout is known; from then on each line is read and forgotten.
class LoggerReader
{
public:
    void add(const QString& line);
    LoggerFile finish();

private:
    void startTable(qsizetype headerAt, qsizetype firstRow, QChar separator);
    void findTableWithoutHeader();
    void readRow(QStringView line);
    bool findColumns(const QVector<QStringView>& row);
    QString missingTableError() const;

    bool m_inTable = false;
    bool m_noTable = false;
    QVector<QString> m_head;
    QVector<QString> m_preamble;
    QString m_header;
    QVector<QStringView> m_headerFields;
    QChar m_separator = u',';
    bool m_columnsKnown = false;
    LoggerColumns m_columns;
    bool m_fahrenheit = false;
    bool m_sawTime = false;
    qint64 m_rows = 0;
    QVector<QStringView> m_fields;
    QHash<quint64, LoggerDateSums> m_sums;
    quint64 m_lastKey = ~quint64(0);
    LoggerDateSums* m_last = nullptr;
    qint64 m_readings = 0;
    qint64 m_skipped = 0;
};

void LoggerReader::add(const QString& line)
{
    if (line.isEmpty())
        return;
    if (m_inTable)
        return readRow(line);
    if (m_noTable)
        return;
    m_head.append(line);
    QVector<QStringView> fields;
    SplitLoggerFields(line, LoggerSeparator(line), &fields);
    if (NamesTimeAndTemperature(fields))
        startTable(m_head.size() - 1, m_head.size(), LoggerSeparator(line));
    else if (m_head.size() == kHeaderSearchLines)
        findTableWithoutHeader();
}

// The lines above the header are the device's and the trip's: they may name the unit.
void LoggerReader::startTable(qsizetype headerAt, qsizetype firstRow, QChar separator)
{
    m_inTable = true;
    m_preamble = m_head.mid(0, std::max<qsizetype>(headerAt, 0));
    m_header = headerAt >= 0 ? m_head[headerAt] : QString();
    m_separator = separator;
    SplitLoggerFields(m_header, m_separator, &m_headerFields);
    const QVector<QString> rows = m_head.mid(firstRow);
    m_head.clear();
    for (const QString& row : rows)
        readRow(row);
}

// No line names both columns: the table starts at the first line holding a timestamp,
// and the line above it (if any) may still name some columns.
void LoggerReader::findTableWithoutHeader()
{
    for (qsizetype i = 0; i < m_head.size(); ++i) {
        QVector<QStringView> fields;
        const QChar separator = LoggerSeparator(m_head[i]);
        SplitLoggerFields(m_head[i], separator, &fields);
        if (HoldsTimestamp(fields))
            return startTable(i - 1, i, separator);
    }
    m_noTable = true;
}

bool LoggerReader::findColumns(const QVector<QStringView>& row)
{
    const LoggerColumns columns = FindLoggerColumns(m_headerFields, row);
    m_sawTime = m_sawTime || columns.hasTime();
    if (!columns.hasTime() || columns.temperature < 0)
        return false;
    m_columns = columns;
    m_columnsKnown = true;
    const QStringView named = m_columns.temperature < m_headerFields.size() ? m_headerFields[m_columns.temperature]
                                                                             : QStringView();
    if (m_columns.fahrenheit || NamesCelsius(named)) {
        m_fahrenheit = m_columns.fahrenheit;
    } else {
        const auto says = [](bool (*names)(QStringView)) {
            return [names](const QString& line) { return names(line); };
        };
        m_fahrenheit = std::any_of(m_preamble.cbegin(), m_preamble.cend(), says(NamesFahrenheit))
            && std::none_of(m_preamble.cbegin(), m_preamble.cend(), says(NamesCelsius));
    }
    return true;
}

void LoggerReader::readRow(QStringView line)
{
    ++m_rows;
    SplitLoggerFields(line, m_separator, &m_fields);
    if (!m_columnsKnown && !findColumns(m_fields)) {
        ++m_skipped;
        return;
    }
    const std::optional<LoggerReading> reading = ReadLoggerLine(m_fields, m_columns, m_fahrenheit);
    if (!reading) {
        ++m_skipped;
        return;
    }
    const quint64 key = DateKey(reading->stamp);
    if (key != m_lastKey) {   // readings come in runs of one day: look the day up once per run
        m_last = &m_sums[key];
        m_lastKey = key;
    }
    AddReading(*m_last, *reading);
    ++m_readings;
}

QString LoggerReader::missingTableError() const
{
    if (m_noTable || !m_inTable)
        return m_head.size() > 1 ? NoTimeColumnText() : NoReadingsText();
    if (m_rows == 0)
        return NoReadingsText();
    return m_sawTime ? NoTemperatureColumnText() : NoTimeColumnText();
}

LoggerFile LoggerReader::finish()
{
    if (!m_inTable && !m_noTable && !m_head.isEmpty())
        findTableWithoutHeader();
    LoggerFile file;
    file.skipped = m_skipped;
    if (!m_columnsKnown) {
        file.error = missingTableError();
        return file;
    }
    if (m_readings == 0) {
        file.error = NoReadingsText();
        return file;
    }
    file.readings = m_readings;
    file.fahrenheit = m_fahrenheit;
    file.dates.reserve(m_sums.size());
    for (const LoggerDateSums& sums : std::as_const(m_sums))
        file.dates.append(sums);
    DecideDateOrder(file);
    file.days = LoggerDaysInOrder(file, file.order);
    return file;
}

} // namespace

bool LoggerDay::complete() const
{
    return hours >= kCompleteDayHours || observationTimes;
}

QVector<int> LoggerDay::missingHours() const
{
    QVector<int> missing;
    for (int hour = 0; hour < 24; ++hour) {
        if (!(hourMask & (1u << hour)))
            missing.append(hour);
    }
    return missing;
}

QVector<LoggerDay> LoggerDaysInOrder(const LoggerFile& file, DateOrder order)
{
    QMap<QDate, LoggerDateSums> byDay;
    for (const LoggerDateSums& sums : file.dates) {
        const QDate day = StampDate(sums.date, order);
        if (!day.isValid())
            continue;
        const auto found = byDay.find(day);
        if (found == byDay.end())
            byDay.insert(day, sums);
        else
            MergeSums(*found, sums);
    }
    QVector<LoggerDay> days;
    days.reserve(byDay.size());
    for (auto it = byDay.cbegin(); it != byDay.cend(); ++it)
        days.append(FinishDay(it.key(), it.value()));
    return days;
}

LoggerFile ReadLoggerFile(QIODevice& device, const LoggerProgress& progress)
{
    LoggerLineSource lines(device, kMaxLineBytes);
    LoggerReader reader;
    qint64 reported = 0;
    QString line;
    while (lines.next(&line)) {
        reader.add(line);
        if (progress && lines.bytesRead() != reported && !progress(reported = lines.bytesRead())) {
            LoggerFile cancelled;
            cancelled.cancelled = true;
            cancelled.error = LoggerCancelledText();
            return cancelled;
        }
    }
    if (lines.failed()) {
        LoggerFile failed;
        failed.error = ReadFailedText();
        return failed;
    }
    return reader.finish();
}

LoggerFile ReadLoggerFile(const QByteArray& bytes)
{
    QByteArray copy = bytes;   // QBuffer wants a writable array; the copy shares the data
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ReadLoggerFile(buffer);
}

QString LoggerCancelledText()
{
    return QStringLiteral("已取消导入。");
}

} // namespace stolvar
