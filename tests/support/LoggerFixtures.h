#pragma once

// Logger files as common USB temperature loggers write them, built in code.

#include "core/Gbk.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace stolvar::test {

// One reading every `stepSeconds` from `start`, temperature `base` + hour/10, in the
// given line layout: %1 serial, %2 timestamp, %3 temperature.
inline QString LoggerLines(const QDateTime& start, int count, int stepSeconds, const QString& layout,
                           const QString& timeFormat, bool decimalComma = false, double base = 10.0)
{
    QString text;
    text.reserve(qsizetype(count) * 40);
    for (int i = 0; i < count; ++i) {
        const QDateTime when = start.addSecs(qint64(i) * stepSeconds);
        QString value = QString::number(base + when.time().hour() / 10.0, 'f', 1);
        if (decimalComma)
            value.replace(QLatin1Char('.'), QLatin1Char(','));
        // Not QString::arg: a layout may leave out the serial number.
        text += QString(layout)
                    .replace(QStringLiteral("%1"), QString::number(i + 1))
                    .replace(QStringLiteral("%2"), when.toString(timeFormat))
                    .replace(QStringLiteral("%3"), value)
            + QLatin1Char('\n');
    }
    return text;
}

} // namespace stolvar::test
