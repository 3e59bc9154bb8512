#include "model/logger/LoggerTimestamp.h"

namespace stolvar {

namespace {

// Reads a text from left to right; every reader leaves the position where it stopped.
class Scanner
{
public:
    explicit Scanner(QStringView text) : m_text(text) {}

    bool atEnd() const { return m_at >= m_text.size(); }
    qsizetype position() const { return m_at; }
    void rewind(qsizetype at) { m_at = at; }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_at]; }

    // An unsigned number of minDigits…maxDigits digits (not followed by another digit), or -1.
    int number(int minDigits, int maxDigits, int* width = nullptr)
    {
        int value = 0;
        int digits = 0;
        while (!atEnd() && peek().isDigit() && peek().unicode() < 0x80) {
            if (++digits > maxDigits)
                return -1;
            value = value * 10 + (peek().unicode() - u'0');
            ++m_at;
        }
        if (width)
            *width = digits;
        return digits >= minDigits ? value : -1;
    }

    bool accept(QChar c)
    {
        if (peek() != c)
            return false;
        ++m_at;
        return true;
    }

    bool accept(QStringView word)
    {
        if (!m_text.mid(m_at).startsWith(word, Qt::CaseInsensitive))
            return false;
        m_at += word.size();
        return true;
    }

    bool skipSpaces()
    {
        const qsizetype from = m_at;
        while (!atEnd() && peek().isSpace())
            ++m_at;
        return m_at > from;
    }

private:
    QStringView m_text;
    qsizetype m_at = 0;
};

// 2026年12月1日 (also …1号): the year first, so the order is fixed.
bool ReadChineseDate(Scanner& s, int year, LoggerStamp* stamp)
{
    const int month = s.number(1, 2);
    if (month < 0 || !s.accept(u'月'))
        return false;
    const int day = s.number(1, 2);
    if (day < 0 || !(s.accept(u'日') || s.accept(u'号')))
        return false;
    *stamp = {true, true, false, year, month, day, false, 0};
    return true;
}

// Three numbers with one separator ("-", "/" or "."), the year first (four digits) or last
// (four digits, or two when all three numbers have two digits at most).
bool ReadNumericDate(Scanner& s, int first, int firstWidth, LoggerStamp* stamp)
{
    const QChar separator = s.peek();
    if (!(separator == u'-' || separator == u'/' || separator == u'.') || !s.accept(separator))
        return false;
    int secondWidth = 0;
    int thirdWidth = 0;
    const int second = s.number(1, 2, &secondWidth);
    if (second < 0 || !s.accept(separator))
        return false;
    const int third = s.number(1, 4, &thirdWidth);
    if (third < 0)
        return false;
    const bool yearFirst = firstWidth == 4 && thirdWidth <= 2;
    const bool yearLast = firstWidth <= 2 && thirdWidth == 4;
    const bool twoDigitYear = firstWidth <= 2 && thirdWidth == 2;
    if (!yearFirst && !yearLast && !twoDigitYear)
        return false;
    *stamp = {true, yearFirst, twoDigitYear, first, second, third, false, 0};
    return true;
}

bool ReadDate(Scanner& s, LoggerStamp* stamp)
{
    const qsizetype start = s.position();
    int width = 0;
    const int first = s.number(1, 4, &width);
    const bool read = first >= 0
        && (s.accept(u'年') ? width == 4 && ReadChineseDate(s, first, stamp) : ReadNumericDate(s, first, width, stamp));
    if (!read)
        s.rewind(start);
    return read;
}

// 0: a 24-hour time; 1: before noon; 2: after noon.
int ReadMeridiem(Scanner& s)
{
    for (QStringView am : {u"AM", u"A.M.", u"上午"}) {
        if (s.accept(am))
            return 1;
    }
    for (QStringView pm : {u"PM", u"P.M.", u"下午"}) {
        if (s.accept(pm))
            return 2;
    }
    return 0;
}

// The hour on a 24-hour clock, or -1 when the hour does not fit its clock.
int TwentyFourHour(int hour, int meridiem)
{
    if (meridiem == 0)
        return hour <= 23 ? hour : -1;
    if (hour < 1 || hour > 12)
        return -1;
    return hour % 12 + (meridiem == 2 ? 12 : 0);
}

// H:mm, H:mm:ss or H:mm:ss.fff (the fraction also after a comma); a 12-hour marker before
// (上午/下午) or after (AM/PM). `meridiem` receives what the clock was.
bool ReadTime(Scanner& s, LoggerStamp* stamp, int* meridiem)
{
    const int before = ReadMeridiem(s);
    s.skipSpaces();
    const int hour = s.number(1, 2);
    if (hour < 0 || !s.accept(u':'))
        return false;
    const int minute = s.number(2, 2);
    int second = 0;
    if (minute < 0 || (s.accept(u':') && (second = s.number(2, 2)) < 0))
        return false;
    if ((s.accept(u'.') || s.accept(u',')) && s.number(1, 6) < 0)
        return false;
    s.skipSpaces();
    const int after = before == 0 ? ReadMeridiem(s) : 0;
    *meridiem = before + after;
    const int hour24 = TwentyFourHour(hour, *meridiem);
    if (hour24 < 0 || minute > 59 || second > 59)
        return false;
    stamp->hasTime = true;
    stamp->secondOfDay = hour24 * 3600 + minute * 60 + second;
    return true;
}

// Between a date and its time: spaces or a "T" (ISO 8601); after 日 nothing is needed.
bool ReadDateTimeSeparator(Scanner& s, QStringView text)
{
    const bool chinese = s.position() > 0 && (text[s.position() - 1] == u'日' || text[s.position() - 1] == u'号');
    return s.accept(u'T') || s.skipSpaces() || chinese;
}

} // namespace

QString DateOrderText(DateOrder order)
{
    switch (order) {
    case DateOrder::MonthDayYear: return QStringLiteral("月/日/年");
    case DateOrder::DayMonthYear: return QStringLiteral("日/月/年");
    case DateOrder::YearMonthDay: break;
    }
    return QStringLiteral("年-月-日");
}

std::optional<LoggerStamp> ParseLoggerStamp(QStringView text)
{
    text = text.trimmed();
    Scanner s(text);
    LoggerStamp stamp;
    int meridiem = 0;
    if (ReadDate(s, &stamp)) {
        if (!s.atEnd() && !(ReadDateTimeSeparator(s, text) && ReadTime(s, &stamp, &meridiem)))
            return std::nullopt;
    } else if (!ReadTime(s, &stamp, &meridiem)) {
        return std::nullopt;
    }
    if (!s.atEnd())
        return std::nullopt;
    // A 12-hour clock goes with the US shape (the year last) or a time column of its own;
    // a two-digit year with that clock or a date column of its own.
    if (meridiem != 0 && stamp.yearFirst)
        return std::nullopt;
    if (stamp.twoDigitYear && stamp.hasTime && meridiem == 0)
        return std::nullopt;
    return stamp;
}

QDate StampDate(const LoggerStamp& stamp, DateOrder order)
{
    if (!stamp.hasDate)
        return {};
    const int century = stamp.twoDigitYear ? 2000 : 0;
    if (stamp.yearFirst)
        return QDate(stamp.first, stamp.second, stamp.third);
    switch (order) {
    case DateOrder::MonthDayYear: return QDate(century + stamp.third, stamp.first, stamp.second);
    case DateOrder::DayMonthYear: return QDate(century + stamp.third, stamp.second, stamp.first);
    case DateOrder::YearMonthDay: break;
    }
    // Only two-digit numbers can stand for a year first: 26/12/01.
    return stamp.twoDigitYear ? QDate(century + stamp.first, stamp.second, stamp.third) : QDate();
}

bool ReadLoggerTimestamp(QStringView text, QDate* day, int* hour, DateOrder order)
{
    const std::optional<LoggerStamp> stamp = ParseLoggerStamp(text);
    if (!stamp || !stamp->hasDate || !stamp->hasTime)
        return false;
    const QDate date = StampDate(*stamp, order);
    if (!date.isValid())
        return false;
    *day = date;
    *hour = stamp->hour();
    return true;
}

} // namespace stolvar
