#include "model/mail/MailMessage.h"

#include "core/Gbk.h"

#include <cstdlib>

namespace stolvar {

namespace {

constexpr qsizetype kMaxEncodedWordBase64 = 62;
constexpr qsizetype kBodyLineLength = 76;

bool IsAscii(const QString& text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// Halves a text without cutting a surrogate pair.
qsizetype Middle(const QString& text)
{
    qsizetype middle = text.size() / 2;
    if (middle > 0 && text[middle].isLowSurrogate())
        --middle;
    return middle;
}

void AppendEncodedWords(const QString& text, QList<QByteArray>& words)
{
    const QByteArray base64 = EncodeGbk(text).toBase64();
    if (base64.size() <= kMaxEncodedWordBase64 || text.size() < 2) {
        words.append("=?gb2312?B?" + base64 + "?=");
        return;
    }
    const qsizetype middle = Middle(text);
    AppendEncodedWords(text.left(middle), words);
    AppendEncodedWords(text.mid(middle), words);
}

QByteArray FormatAddress(const MailAddress& a)
{
    if (a.name.isEmpty())
        return a.address.toUtf8();
    return EncodeHeaderText(a.name) + " <" + a.address.toUtf8() + ">";
}

QByteArray Line(const char* name, const QByteArray& value)
{
    return QByteArray(name) + ": " + value + "\r\n";
}

bool FitsOneLine(const MailHeader& h)
{
    QVector<MailAddress> all = h.to + h.cc;
    all << h.from << h.replyTo;
    for (const MailAddress& a : all) {
        if (!IsSingleLineText(a.name) || !IsSingleLineText(a.address))
            return false;
    }
    return IsSingleLineText(h.subject);
}

} // namespace

QByteArray EncodeHeaderText(const QString& text)
{
    if (IsAscii(text))
        return text.toLatin1();
    QList<QByteArray> words;
    AppendEncodedWords(text, words);
    return words.join("\r\n ");
}

QByteArray FormatAddressList(const QVector<MailAddress>& addresses)
{
    QList<QByteArray> parts;
    for (const MailAddress& a : addresses)
        parts.append(FormatAddress(a));
    return parts.join(",");
}

QByteArray FormatMailDate(const QDateTime& localTime, int utcOffsetSeconds)
{
    static const char* const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = localTime.isValid() ? localTime.date() : QDate(1970, 1, 1);
    const QTime t = localTime.isValid() ? localTime.time() : QTime(0, 0);
    const int offsetMinutes = std::abs(utcOffsetSeconds) / 60;
    return QString::asprintf("%s, %02d %s %04d %02d:%02d:%02d %c%02d%02d", kDays[d.dayOfWeek() - 1], d.day(),
                                kMonths[d.month() - 1], d.year(), t.hour(), t.minute(), t.second(),
                                utcOffsetSeconds < 0 ? '-' : '+', offsetMinutes / 60, offsetMinutes % 60)
        .toLatin1();
}

QByteArray BodyCharset(const QString& body)
{
    return IsAscii(body) ? QByteArrayLiteral("us-ascii") : QByteArrayLiteral("gb2312");
}

QByteArray BuildHeaderBlock(const MailHeader& h, const QString& body)
{
    QByteArray block = Line("From", FormatAddress(h.from)) + Line("To", FormatAddressList(h.to));
    if (!h.cc.isEmpty())
        block += Line("Cc", FormatAddressList(h.cc));
    block += Line("Subject", EncodeHeaderText(h.subject)) + Line("Date", FormatMailDate(h.localTime, h.utcOffsetSeconds))
             + Line("Reply-To", FormatAddress(h.replyTo)) + Line("MIME-Version", "1.0")
             + Line("Content-type", "text/plain; charset=\"" + BodyCharset(body) + "\"")
             + Line("Content-Transfer-Encoding", "base64") + "\r\n";
    return block;
}

QByteArray EncodeBody(const QString& body)
{
    const QByteArray base64 = EncodeGbk(body).toBase64();
    QByteArray lines;
    lines.reserve(base64.size() + base64.size() / kBodyLineLength * 2 + 2);
    for (qsizetype at = 0; at < base64.size(); at += kBodyLineLength)
        lines += base64.mid(at, kBodyLineLength) + "\r\n";
    return lines;
}

QByteArray BuildMailData(const MailHeader& header, const QString& body)
{
    if (!FitsOneLine(header))
        return {};
    return BuildHeaderBlock(header, body) + EncodeBody(body);
}

} // namespace stolvar
