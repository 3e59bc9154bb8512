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

} // namespace

QVector<LoggerPreviewRow> PlanLoggerRows(const QVector<LoggerDay>& days, const QMap<QDate, DaySource>& existing)
{
    QVector<LoggerPreviewRow> rows;
    rows.reserve(days.size());
    for (const LoggerDay& day : days) {
        const auto found = existing.constFind(day.day);
        const std::optional<DaySource> source = found == existing.cend() ? std::nullopt : std::optional(*found);
        const DayPlan ifComplete = PlanLoggerDay(source, true);
        const bool selectable = ifComplete == DayPlan::Add || ifComplete == DayPlan::ReplaceForecast;
        const DayPlan plan = selectable ? PlanLoggerDay(source, day.complete()) : ifComplete;
        rows.append({day, plan, selectable, selectable && day.complete()});
    }
    return rows;
}

LoggerPreview PrepareLoggerImport(Database& db, const QString& path)
{
    LoggerPreview preview;
    preview.path = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        preview.error = UnreadableText(path);
        return preview;
    }
    const LoggerFile read = ReadLoggerFile(file.readAll());
    if (file.error() != QFileDevice::NoError) {
        preview.error = UnreadableText(path);
        return preview;
    }
    preview.readings = read.readings;
    preview.skipped = read.skipped;
    if (!read.error.isEmpty()) {
        preview.error = read.error;
        return preview;
    }
    QMap<QDate, DaySource> existing;
    QString error;
    if (!LoadDaySources(db, read.days.front().day, read.days.back().day, &existing, &error)) {
        preview.error = QStringLiteral("查询数据失败！") + error;
        return preview;
    }
    preview.rows = PlanLoggerRows(read.days, existing);
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
    QString text = QStringLiteral("%1：%2天，%3个读数").arg(QFileInfo(preview.path).fileName()).arg(preview.rows.size()).arg(preview.readings);
    if (preview.skipped > 0)
        text += QStringLiteral("（%1行无法识别，已跳过）").arg(preview.skipped);
    return text;
}

QString ImportedText(int days)
{
    return QStringLiteral("已导入%1天温度记录。").arg(days);
}

} // namespace stolvar
