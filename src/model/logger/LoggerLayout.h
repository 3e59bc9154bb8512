#pragma once

#include "model/logger/LoggerTimestamp.h"

#include <QString>
#include <QStringView>
#include <QVector>

#include <optional>

namespace stolvar {

// Where the readings stand in a logger file's lines: the separator, the columns of the
// time (one timestamp, or a date and a time of their own) and of the temperature, and the unit.

// Splits on the separator outside double quotes, so "12,5" and "Date Time, GMT+08:00" stay
// one field each; the quotes are taken off.
void SplitLoggerFields(QStringView line, QChar separator, QVector<QStringView>* fields);
// Tab, else semicolon (the files with a decimal comma), else comma: the one the line uses.
QChar LoggerSeparator(QStringView line);

// A header names a time (or date) column and a temperature column.
bool NamesTimeAndTemperature(const QVector<QStringView>& fields);
// "°F", "℉", "Fahrenheit", "华氏" and the like; "°C", "℃", "Celsius", "摄氏" for the other.
bool NamesFahrenheit(QStringView text);
bool NamesCelsius(QStringView text);

struct LoggerColumns {
    int stamp = -1;         // date and time in one field
    int date = -1;          // else a date and a time of their own
    int time = -1;
    int temperature = -1;
    bool fahrenheit = false;   // the temperature column's header names ℉

    bool hasTime() const { return stamp >= 0 || (date >= 0 && time >= 0); }
    int widest() const;
};

// The columns, from the header's names where it has them (the header may be empty) and
// else from the first data line: the first timestamp (or date and time), and the first
// number after it (a serial number comes before, a humidity after), else the nearest before.
LoggerColumns FindLoggerColumns(const QVector<QStringView>& header, const QVector<QStringView>& row);

// Whether a line holds a date with a time in some field (or in two neighbouring fields).
bool HoldsTimestamp(const QVector<QStringView>& row);

// One line's reading in the found columns; empty when the line is no reading.
struct LoggerReading {
    LoggerStamp stamp;   // date and time
    double celsius = 0;
};
std::optional<LoggerReading> ReadLoggerLine(const QVector<QStringView>& row, const LoggerColumns& columns,
                                            bool fahrenheit);

} // namespace stolvar
