#pragma once

// Invariants of the text conversions, shared by the fuzz targets and the replay test.
// Each check returns what broke, or an empty text when every invariant holds.

#include "core/Conversions.h"

#include <QByteArray>
#include <QString>

#include <cmath>

namespace stolvar::fuzz {

// A text that reads as a date shows as a long date and an SQL date that read back as
// the same value, and stores as text that reads back as the same value.
inline QString CheckDateText(const QByteArray& input)
{
    const QString text = QString::fromUtf8(input);
    QDateTime parsed;
    const bool isDate = TryParseDateText(text, &parsed);
    const QDateTime plain = ParseDateText(text);
    if (!isDate)
        return IsEmptyDate(plain) ? QString() : QStringLiteral("a refused text does not read as the empty date");
    if (plain != parsed || !parsed.isValid())
        return QStringLiteral("ParseDateText and TryParseDateText disagree");
    const QString longText = FormatLongDate(parsed);
    QDateTime back;
    if (!TryParseDateText(longText, &back) || back != parsed)
        return QStringLiteral("the long date %1 does not read back").arg(longText);
    const QString sqlText = FormatSqlDate(parsed);
    if (!TryParseDateText(sqlText, &back) || back != WallTime(parsed.date()))
        return QStringLiteral("the SQL date %1 does not read back").arg(sqlText);
    if (FromStorageText(ToStorageText(parsed)) != parsed)
        return QStringLiteral("the storage text %1 does not read back").arg(ToStorageText(parsed));
    return {};
}

// Every text reads as a finite number, and a formatted number reads back to itself
// within the 13 digits it is written with.
inline QString CheckNumberText(const QByteArray& input)
{
    const double value = ParseNumberText(QString::fromUtf8(input));
    if (!std::isfinite(value))
        return QStringLiteral("the text reads as a number that is not finite");
    const QString shown = FormatNumber(value);
    const double back = ParseNumberText(shown);
    if (back != value && std::fabs(back - value) > 1e-12 * std::fabs(value))
        return QStringLiteral("%1 does not read back as the number it shows").arg(shown);
    const int whole = TruncateToInt(value);
    if ((value >= 0 && whole < 0) || (value <= 0 && whole > 0) || std::fabs(double(whole)) > std::fabs(value))
        return QStringLiteral("%1 truncates to %2").arg(shown).arg(whole);
    return {};
}

} // namespace stolvar::fuzz
