#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QVector>

namespace stolvar {

// Files written by USB temperature loggers: CSV or TSV, with or without a header line,
// one reading per line (a timestamp and a temperature, often a serial number first).
// Reading them is pure logic; the preview and the storing are elsewhere.

// The readings of one calendar day.
struct LoggerDay {
    QDate day;
    int readings = 0;
    int hours = 0;   // hours of the day (0…23) with at least one reading
    double mean = 0;
    double high = 0;
    double low = 0;
    bool complete() const;
};

// A day needs readings in at least this many of its 24 hours to be trusted.
inline constexpr int kCompleteDayHours = 20;

struct LoggerFile {
    QVector<LoggerDay> days;   // ascending
    qint64 readings = 0;       // lines read as a reading
    qint64 skipped = 0;        // data lines that were no reading
    QString error;             // non-empty: nothing could be read
};

LoggerFile ReadLoggerFile(const QByteArray& bytes);

// What ReadLoggerFile understands as a timestamp, for the parts that need it alone:
// 2026-12-01 08:00:00, 2026/12/1 8:00, 12/01/2026 08:00 (seconds optional, "T" allowed).
bool ReadLoggerTimestamp(QStringView text, QDate* day, int* hour);

} // namespace stolvar
