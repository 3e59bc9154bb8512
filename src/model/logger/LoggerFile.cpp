#include "model/logger/LoggerFile.h"

#include "core/Gbk.h"
#include "model/temperatures/PlausibleTemperature.h"

#include <QMap>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <optional>

namespace stolvar {

namespace {

QString NoReadingsText() { return QStringLiteral("文件中没有可读的时间和温度。"); }
QString NoTemperatureColumnText() { return QStringLiteral("文件中没有温度列。"); }
QString NoTimeColumnText() { return QStringLiteral("文件中没有时间列。"); }

// UTF-8 with or without its byte-order mark, else GBK.
QString DecodeText(const QByteArray& bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeGbk(bytes);
}

QVector<QStringView> SplitLines(QStringView text)
{
    QVector<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u'\n' && text[i] != u'\r')
            continue;
        const QStringView line = text.mid(start, i - start).trimmed();
        if (!line.isEmpty())
            lines.append(line);
        start = i + 1;
    }
    return lines;
}

// Tab, then semicolon (the files with a decimal comma), then comma.
QChar DetectSeparator(const QVector<QStringView>& lines)
{
    for (const QStringView line : lines.mid(0, 5)) {
        if (line.contains(u'\t'))
            return u'\t';
    }
    for (const QStringView line : lines.mid(0, 5)) {
        if (line.contains(u';'))
            return u';';
    }
    return u',';
}

QStringView Unquote(QStringView field)
{
    field = field.trimmed();
    if (field.size() >= 2 && field.front() == u'"' && field.back() == u'"')
        field = field.mid(1, field.size() - 2).trimmed();
    return field;
}

// Splits on the separator outside double quotes, so "12,5" stays one field.
void SplitFields(QStringView line, QChar separator, QVector<QStringView>* fields)
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

// A temperature with a decimal point or comma, optionally signed and followed by a unit.
std::optional<double> ReadTemperatureField(QStringView field)
{
    if (field.endsWith(u"℃") || field.endsWith(u"°C"))
        field = field.chopped(field.endsWith(u"℃") ? 1 : 2).trimmed();
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
    if (!ok || !IsPlausibleTemperature(value))
        return std::nullopt;
    return value;
}

// Up to six unsigned numbers separated by one non-digit each.
int ReadNumbers(QStringView text, std::array<int, 6>* numbers, std::array<int, 6>* widths)
{
    int count = 0;
    qsizetype i = 0;
    while (i < text.size() && count < 6) {
        int value = 0;
        int width = 0;
        for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9' && width < 5; ++i, ++width)
            value = value * 10 + (text[i].unicode() - u'0');
        if (width == 0 || width == 5)
            return -1;
        (*numbers)[size_t(count)] = value;
        (*widths)[size_t(count++)] = width;
        if (i < text.size() && QStringView(u"-/: T").contains(text[i]))
            ++i;
        else if (i < text.size())
            return -1;
    }
    return i == text.size() ? count : -1;
}

} // namespace

bool LoggerDay::complete() const
{
    return hours >= kCompleteDayHours;
}

bool ReadLoggerTimestamp(QStringView text, QDate* day, int* hour)
{
    std::array<int, 6> n{};
    std::array<int, 6> width{};
    const int count = ReadNumbers(text.trimmed(), &n, &width);
    if (count < 5)
        return false;
    const bool yearFirst = width[0] == 4;
    if (!yearFirst && width[2] != 4)
        return false;
    const QDate date = yearFirst ? QDate(n[0], n[1], n[2]) : QDate(n[2], n[0], n[1]);
    if (!date.isValid() || n[3] > 23 || n[4] > 59 || (count == 6 && n[5] > 59))
        return false;
    *day = date;
    *hour = n[3];
    return true;
}

namespace {

bool IsTimeHeader(QStringView name)
{
    for (const char16_t* word : {u"时间", u"日期", u"time", u"date"}) {
        if (name.contains(QStringView(word), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool IsTemperatureHeader(QStringView name)
{
    for (const char16_t* word : {u"温度", u"temp", u"℃", u"°c", u"celsius"}) {
        if (name.contains(QStringView(word), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

struct Columns {
    int time = -1;
    int temperature = -1;
};

Columns ColumnsFromHeader(const QVector<QStringView>& header)
{
    Columns columns;
    for (int i = 0; i < header.size(); ++i) {
        if (columns.temperature < 0 && IsTemperatureHeader(header[i]))
            columns.temperature = i;
        else if (columns.time < 0 && IsTimeHeader(header[i]))
            columns.time = i;
    }
    return columns;
}

// Without a header: the first timestamp, and the first number after it (a serial number
// comes before the timestamp, a humidity after the temperature); else the nearest before.
Columns ColumnsFromContent(const QVector<QStringView>& row)
{
    Columns columns;
    QDate day;
    int hour = 0;
    for (int i = 0; i < row.size() && columns.time < 0; ++i) {
        if (ReadLoggerTimestamp(row[i], &day, &hour))
            columns.time = i;
    }
    if (columns.time < 0)
        return columns;
    for (int i = columns.time + 1; i < row.size() && columns.temperature < 0; ++i) {
        if (ReadTemperatureField(row[i]))
            columns.temperature = i;
    }
    for (int i = columns.time - 1; i >= 0 && columns.temperature < 0; --i) {
        if (ReadTemperatureField(row[i]))
            columns.temperature = i;
    }
    return columns;
}

bool IsHeader(const QVector<QStringView>& row)
{
    QDate day;
    int hour = 0;
    for (const QStringView field : row) {
        if (ReadLoggerTimestamp(field, &day, &hour))
            return false;
    }
    return true;
}

struct DaySum {
    int readings = 0;
    quint32 hours = 0;   // bit h: a reading in hour h
    double sum = 0;
    double high = -INFINITY;
    double low = INFINITY;
};

LoggerDay FinishDay(const QDate& day, const DaySum& sum)
{
    return {day, sum.readings, std::popcount(sum.hours), sum.sum / sum.readings, sum.high, sum.low};
}

// Where the readings are: whether the first line is a header, and the time and
// temperature columns, named by the header or found in the first data line.
struct Layout {
    bool header = false;
    Columns columns;
};

Layout FindLayout(const QVector<QStringView>& lines, QChar separator)
{
    QVector<QStringView> fields;
    SplitFields(lines.front(), separator, &fields);
    Layout layout;
    layout.header = IsHeader(fields);
    if (!layout.header) {
        layout.columns = ColumnsFromContent(fields);
        return layout;
    }
    Columns& columns = layout.columns;
    columns = ColumnsFromHeader(fields);
    if (lines.size() > 1 && (columns.time < 0 || columns.temperature < 0)) {
        SplitFields(lines[1], separator, &fields);
        const Columns found = ColumnsFromContent(fields);
        if (columns.time < 0)
            columns.time = found.time;
        if (columns.temperature < 0 && found.temperature != columns.time)
            columns.temperature = found.temperature;
    }
    return layout;
}

// Every data line's reading added to its day; a line that is no reading is counted as skipped.
QMap<QDate, DaySum> SumReadings(const QVector<QStringView>& lines, QChar separator, const Layout& layout,
                                LoggerFile* file)
{
    QMap<QDate, DaySum> sums;
    QDate lastDay;   // readings come in runs of one day: look the day up once per run
    DaySum* sum = nullptr;
    const Columns& columns = layout.columns;
    const int needed = std::max(columns.time, columns.temperature) + 1;
    QVector<QStringView> fields;
    for (qsizetype i = layout.header ? 1 : 0; i < lines.size(); ++i) {
        SplitFields(lines[i], separator, &fields);
        QDate day;
        int hour = 0;
        std::optional<double> value;
        if (fields.size() < needed || !ReadLoggerTimestamp(fields[columns.time], &day, &hour)
            || !(value = ReadTemperatureField(fields[columns.temperature]))) {
            ++file->skipped;
            continue;
        }
        if (day != lastDay) {
            sum = &sums[day];
            lastDay = day;
        }
        ++sum->readings;
        sum->hours |= 1u << hour;
        sum->sum += *value;
        sum->high = std::max(sum->high, *value);
        sum->low = std::min(sum->low, *value);
        ++file->readings;
    }
    return sums;
}

} // namespace

LoggerFile ReadLoggerFile(const QByteArray& bytes)
{
    const QString text = DecodeText(bytes);
    const QVector<QStringView> lines = SplitLines(text);
    if (lines.isEmpty())
        return {{}, 0, 0, NoReadingsText()};
    const QChar separator = DetectSeparator(lines);
    const Layout layout = FindLayout(lines, separator);
    if (layout.columns.time < 0)
        return {{}, 0, 0, lines.size() > 1 || !layout.header ? NoTimeColumnText() : NoReadingsText()};
    if (layout.columns.temperature < 0)
        return {{}, 0, 0, NoTemperatureColumnText()};
    LoggerFile file;
    const QMap<QDate, DaySum> sums = SumReadings(lines, separator, layout, &file);
    if (file.readings == 0)
        return {{}, 0, file.skipped, NoReadingsText()};
    for (auto it = sums.cbegin(); it != sums.cend(); ++it)
        file.days.append(FinishDay(it.key(), it.value()));
    return file;
}

} // namespace stolvar
