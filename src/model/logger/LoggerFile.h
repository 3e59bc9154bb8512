#pragma once

#include "model/logger/LoggerTimestamp.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;

namespace stolvar {

// Files written by USB temperature loggers: CSV or TSV, with or without a header line and
// with the device and trip information some loggers write above the table; one reading
// per line (a timestamp, or a date and a time in two columns, and a temperature, often a
// serial number first). Reading them is pure logic; the preview and the storing are elsewhere.

// A day needs readings in at least this many of its 24 hours to be trusted…
inline constexpr int kCompleteDayHours = 20;
// …or a reading at each of the four standard observation times of the weather services
// (02, 08, 14 and 20 o'clock, each within an hour), whose mean is the day's mean.
inline constexpr int kObservationHours[] = {2, 8, 14, 20};
inline constexpr int kObservationToleranceSeconds = 3600;
// The header is looked for in the first lines only; a longer line is no reading.
inline constexpr int kHeaderSearchLines = 50;
inline constexpr qsizetype kMaxLineBytes = 4096;

// The readings of one calendar day.
struct LoggerDay {
    QDate day;
    int readings = 0;
    int hours = 0;             // hours of the day (0…23) with at least one reading
    double mean = 0;
    double high = 0;
    double low = 0;
    quint32 hourMask = 0;      // bit h: a reading in hour h
    bool observationTimes = false;   // the mean is that of the four observation times

    bool complete() const;
    QVector<int> missingHours() const;
};

// The sums of one date as written, before the file's date order is known.
struct LoggerDateSums {
    LoggerStamp date;
    int readings = 0;
    quint32 hourMask = 0;
    double sum = 0;
    double high = 0;
    double low = 0;
    // The reading nearest each observation time (seconds away; above the tolerance: none).
    int nearest[4] = {kObservationToleranceSeconds + 1, kObservationToleranceSeconds + 1,
                      kObservationToleranceSeconds + 1, kObservationToleranceSeconds + 1};
    double nearestValue[4] = {0, 0, 0, 0};
};

struct LoggerFile {
    QVector<LoggerDay> days;        // ascending, read in `order`
    QVector<DateOrder> orders;      // the orders every date of the file can be read in
    // With several orders, month first (as earlier releases read such files) until the
    // clerk chooses: the preview asks before anything is stored.
    DateOrder order = DateOrder::YearMonthDay;
    bool fahrenheit = false;        // the file was in ℉; every value is converted to ℃
    qint64 readings = 0;            // lines read as a reading
    qint64 skipped = 0;             // data lines that were no reading
    bool cancelled = false;
    QString error;                  // non-empty: nothing could be read
    QVector<LoggerDateSums> dates;  // what `days` is made from, for another order

    // Several orders fit every date: the clerk chooses, the program does not guess.
    bool needsDateOrder() const { return orders.size() > 1; }
};

// The days of a file read in the given order (one of file.orders).
QVector<LoggerDay> LoggerDaysInOrder(const LoggerFile& file, DateOrder order);

// Called after each piece of the file with the bytes read so far; false stops the reading.
using LoggerProgress = std::function<bool(qint64 bytesRead)>;

// Reads the device from its position to its end, line by line, in pieces of fixed size:
// memory does not grow with the length of the file.
LoggerFile ReadLoggerFile(QIODevice& device, const LoggerProgress& progress = {});
LoggerFile ReadLoggerFile(const QByteArray& bytes);

QString LoggerCancelledText();   // "已取消导入。"

} // namespace stolvar
