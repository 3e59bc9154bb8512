#include "model/logger/LoggerImport.h"

#include <QFile>
#include <QFileInfo>

namespace stolvar {

namespace {

QString UnreadableText(const QString& path)
{
    return QStringLiteral("无法读取文件：") + path;
}

DayPlan PlanChosenDay(std::optional<DaySource> existing, const SourcedDay&, const QDate&)
{
    return PlanLoggerDay(existing, true);
}

LoggerPreviewRow PlanRow(const LoggerDay& day, const QMap<QDate, DaySource>& existing, const QDate& today)
{
    if (!IsPlausibleLoggerDay(day.day, today))
        return {day, DayPlan::DateOutOfRange, false, false};
    const auto found = existing.constFind(day.day);
    const std::optional<DaySource> source = found == existing.cend() ? std::nullopt : std::optional(*found);
    const DayPlan ifComplete = PlanLoggerDay(source, true);
    const bool selectable = ifComplete == DayPlan::Add || ifComplete == DayPlan::ReplaceForecast;
    const DayPlan plan = selectable ? PlanLoggerDay(source, day.complete()) : ifComplete;
    return {day, plan, selectable, selectable && day.complete()};
}

// The stored days over every day the file can mean, in any of its possible orders, so that
// a choice in the preview needs no second look into the register.
bool LoadSourcesForFile(Database& db, const LoggerFile& file, QMap<QDate, DaySource>* existing, QString* error)
{
    QDate first;
    QDate last;
    for (DateOrder order : file.orders) {
        const QVector<LoggerDay> days = order == file.order ? file.days : LoggerDaysInOrder(file, order);
        if (days.isEmpty())
            continue;
        first = first.isValid() ? std::min(first, days.front().day) : days.front().day;
        last = last.isValid() ? std::max(last, days.back().day) : days.back().day;
    }
    return !first.isValid() || LoadDaySources(db, first, last, existing, error);
}

// "0–5时、18–23时": runs of missing hours.
QString HourRuns(const QVector<int>& hours)
{
    QStringList runs;
    for (qsizetype i = 0; i < hours.size();) {
        qsizetype j = i;
        while (j + 1 < hours.size() && hours[j + 1] == hours[j] + 1)
            ++j;
        runs << (j == i ? QString::number(hours[i]) : QStringLiteral("%1–%2").arg(hours[i]).arg(hours[j]))
                    + QStringLiteral("时");
        i = j + 1;
    }
    return runs.join(QStringLiteral("、"));
}

} // namespace

bool IsPlausibleLoggerDay(const QDate& day, const QDate& today)
{
    return day >= QDate(2000, 1, 1) && day.year() <= today.year() + 1;
}

QVector<LoggerPreviewRow> PlanLoggerRows(const QVector<LoggerDay>& days, const QMap<QDate, DaySource>& existing,
                                         const QDate& today)
{
    QVector<LoggerPreviewRow> rows;
    rows.reserve(days.size());
    for (const LoggerDay& day : days)
        rows.append(PlanRow(day, existing, today));
    return rows;
}

QVector<LoggerPreviewRow> PlanLoggerRowsInOrder(const LoggerPreview& preview, DateOrder order)
{
    return PlanLoggerRows(LoggerDaysInOrder(preview.file, order), preview.existing, preview.today);
}

LoggerPreview PrepareLoggerImport(Database& db, const QString& path, const QDate& today, const LoggerProgress& progress)
{
    LoggerPreview preview;
    preview.path = path;
    preview.today = today;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        preview.error = UnreadableText(path);
        return preview;
    }
    preview.file = ReadLoggerFile(file, progress);
    preview.cancelled = preview.file.cancelled;
    if (file.error() != QFileDevice::NoError && !preview.cancelled) {
        preview.error = UnreadableText(path);
        return preview;
    }
    if (!preview.file.error.isEmpty()) {
        preview.error = preview.file.error;
        return preview;
    }
    QString error;
    if (!LoadSourcesForFile(db, preview.file, &preview.existing, &error)) {
        preview.error = QStringLiteral("查询数据失败！") + error;
        return preview;
    }
    preview.rows = PlanLoggerRows(preview.file.days, preview.existing, today);
    return preview;
}

QString StoreLoggerDays(Database& db, const QVector<LoggerDay>& days, int* written)
{
    QVector<SourcedDay> sourced;
    sourced.reserve(days.size());
    for (const LoggerDay& day : days)
        sourced.append({day.day, day.mean, day.high, day.low, DaySource::Logger});
    return StoreSourcedDays(db, sourced, {}, PlanChosenDay, written);
}

QString LoggerSummaryText(const LoggerPreview& preview)
{
    const LoggerFile& file = preview.file;
    QString text = QStringLiteral("%1：%2天，%3个读数").arg(QFileInfo(preview.path).fileName()).arg(file.days.size()).arg(file.readings);
    if (file.skipped > 0)
        text += QStringLiteral("（%1行无法识别，已跳过）").arg(file.skipped);
    if (file.fahrenheit)
        text += QStringLiteral("；温度单位为华氏度（℉），已换算为摄氏度（℃）");
    return text;
}

QString LoggerDayNote(const LoggerPreviewRow& row)
{
    if (row.plan == DayPlan::DateOutOfRange)
        return QStringLiteral("日期早于2000年或晚于明年，可能是记录仪时钟未设置");
    if (row.day.observationTimes)
        return QStringLiteral("按2、8、14、20时四次观测平均");
    if (!row.day.complete())
        return QStringLiteral("缺") + HourRuns(row.day.missingHours());
    return {};
}

QString ImportedText(int days)
{
    return QStringLiteral("已导入%1天温度记录。").arg(days);
}

} // namespace stolvar
