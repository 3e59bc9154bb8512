#include "core/Conversions.h"


#include <cmath>
#include <cstdlib>
#include <limits>

namespace stolvar {

namespace {

constexpr qint64 kMsPerDay = 86400000;

const QDateTime& MinimumDate()
{
    static const QDateTime value = WallTime(QDate(100, 1, 1));
    return value;
}

const QDateTime& MaximumDate()
{
    static const QDateTime value = WallTime(QDate(9999, 12, 31), QTime(23, 59, 59));
    return value;
}

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads up to maxDigits ASCII digits at pos. An
// absent field reads as 0, which the normalisation check then rejects where it matters.
int ReadDigits(const QString& text, qsizetype& pos, int maxDigits)
{
    int value = 0;
    for (int n = 0; n < maxDigits && pos < text.size() && IsAsciiDigit(text[pos]); ++n, ++pos)
        value = value * 10 + (text[pos].unicode() - u'0');
    return value;
}

void SkipOne(const QString& text, qsizetype& pos, QStringView separators)
{
    if (pos < text.size() && separators.contains(text[pos]))
        ++pos;
}

} // namespace

QString FoldFullWidth(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(char16_t(u - 0xFF01 + 0x21));
        else if (u == 0x3000)
            c = QChar(u' ');
        else if (u == 0x2212)
            c = QChar(u'-');
    }
    return folded;
}

double ParseNumberText(const QString& text)
{
    const QString folded = FoldFullWidth(text);
    qsizetype pos = 0;
    while (pos < folded.size() && folded[pos].isSpace())
        ++pos;
    QByteArray number;
    if (pos < folded.size() && (folded[pos] == u'+' || folded[pos] == u'-'))
        number.append(char(folded[pos++].unicode()));
    bool anyDigit = false;
    auto takeDigits = [&] {
        while (pos < folded.size() && IsAsciiDigit(folded[pos])) {
            number.append(char(folded[pos++].unicode()));
            anyDigit = true;
        }
    };
    takeDigits();
    if (pos < folded.size() && folded[pos] == u'.') {
        number.append('.');
        ++pos;
        takeDigits();
    }
    if (!anyDigit)
        return 0.0;
    // An exponent counts only when digits follow it.
    if (pos < folded.size() && (folded[pos] == u'e' || folded[pos] == u'E')) {
        qsizetype p = pos + 1;
        QByteArray exponent("e");
        if (p < folded.size() && (folded[p] == u'+' || folded[p] == u'-'))
            exponent.append(char(folded[p++].unicode()));
        if (p < folded.size() && IsAsciiDigit(folded[p])) {
            while (p < folded.size() && IsAsciiDigit(folded[p]))
                exponent.append(char(folded[p++].unicode()));
            number.append(exponent);
        }
    }
    const double value = std::strtod(number.constData(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

int TruncateToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(std::trunc(value));
}

QDateTime WallTime(const QDate& date, const QTime& time)
{
    return QDateTime(date, time, Qt::UTC);
}

QDateTime EmptyDate()
{
    return MinimumDate();
}

bool IsEmptyDate(const QDateTime& value)
{
    return value == MinimumDate();
}

bool TryParseDateText(const QString& text, QDateTime* result)
{
    const QString s = FoldFullWidth(text);
    qsizetype pos = 0;
    const qsizetype yearStart = pos;
    const int year = ReadDigits(s, pos, 4);
    if (pos == yearStart)
        return false;
    SkipOne(s, pos, u"-./:年");
    const int month = ReadDigits(s, pos, 2);
    SkipOne(s, pos, u"-./:月");
    const int day = ReadDigits(s, pos, 2);
    SkipOne(s, pos, u" -./:日");
    const int hour = ReadDigits(s, pos, 2);
    SkipOne(s, pos, u"-./:时");
    const int minute = ReadDigits(s, pos, 2);
    SkipOne(s, pos, u"-./:分");
    const int second = ReadDigits(s, pos, 2);
    if (pos < s.size() && s[pos] != u'秒')
        return false;
    // QDate and QTime refuse what does not normalise to itself (month 13, 30 February).
    const QDate date(year, month, day);
    const QTime time(hour, minute, second);
    if (year < 100 || year > 9999 || !date.isValid() || !time.isValid())
        return false;
    if (result)
        *result = WallTime(date, time);
    return true;
}

QDateTime ParseDateText(const QString& text)
{
    QDateTime value;
    return TryParseDateText(text, &value) ? value : EmptyDate();
}

QDateTime ClampToValidRange(const QDateTime& value)
{
    if (!value.isValid() || value < MinimumDate())
        return MinimumDate();
    if (value > MaximumDate())
        return MaximumDate();
    return value;
}

QString FormatSqlDate(const QDateTime& value)
{
    const QDate d = ClampToValidRange(value).date();
    return QStringLiteral("%1-%2-%3").arg(d.year()).arg(d.month()).arg(d.day());
}

QString FormatLongDate(const QDateTime& value)
{
    const QDateTime v = ClampToValidRange(value);
    const QDate d = v.date();
    const QTime t = v.time();
    QString text = QStringLiteral("%1年%2月%3日").arg(d.year()).arg(d.month()).arg(d.day());
    if (t.second() != 0)
        text += QStringLiteral("%1时%2分%3秒").arg(t.hour()).arg(t.minute()).arg(t.second());
    else if (t.minute() != 0)
        text += QStringLiteral("%1时%2分").arg(t.hour()).arg(t.minute());
    else if (t.hour() != 0)
        text += QStringLiteral("%1时").arg(t.hour());
    return text;
}

QString FormatLongDay(const QDate& day)
{
    return day.isValid() ? FormatLongDate(WallTime(day)) : QString();
}

QString FormatShortDay(const QDateTime& value)
{
    const QDate d = ClampToValidRange(value).date();
    return QStringLiteral("%1月%2日").arg(d.month()).arg(d.day());
}

QString FormatNumber(double value)
{
    return QString::asprintf("%.13g", value);
}

QString FormatNumber(float value)
{
    return QString::asprintf("%.6g", double(value));
}

QDateTime AddDays(const QDateTime& value, int days)
{
    return value.addDays(days);
}

double DaysBetween(const QDateTime& from, const QDateTime& to)
{
    return double(from.msecsTo(to)) / double(kMsPerDay);
}

int WholeDaysBetween(const QDateTime& from, const QDateTime& to)
{
    return TruncateToInt(DaysBetween(from, to));
}

QString ToStorageText(const QDateTime& value)
{
    const QDateTime v = ClampToValidRange(value);
    const QDate d = v.date();
    const QTime t = v.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year(), d.month(), d.day(),
                             t.hour(), t.minute(), t.second());
}

QDateTime FromStorageText(const QString& text)
{
    // Fixed positions: "YYYY-MM-DD" optionally followed by " HH:MM:SS".
    auto field = [&](qsizetype at, qsizetype len) {
        int v = 0;
        for (qsizetype i = at; i < at + len; ++i) {
            if (!IsAsciiDigit(text[i]))
                return -1;
            v = v * 10 + (text[i].unicode() - u'0');
        }
        return v;
    };
    if (text.size() != 10 && text.size() != 19)
        return {};
    if (text[4] != u'-' || text[7] != u'-')
        return {};
    const QDate date(field(0, 4), field(5, 2), field(8, 2));
    QTime time(0, 0);
    if (text.size() == 19) {
        if (text[10] != u' ' || text[13] != u':' || text[16] != u':')
            return {};
        time = QTime(field(11, 2), field(14, 2), field(17, 2));
    }
    if (!date.isValid() || !time.isValid())
        return {};
    return WallTime(date, time);
}

} // namespace stolvar
