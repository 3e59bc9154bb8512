#include "model/mail/MailMessage.h"

#include "core/Gbk.h"

#include <QUrl>
#include <QUuid>

#include <algorithm>
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

// `firstLimit` holds for the first word of all, the others take kMaxEncodedWordBase64.
void AppendEncodedWords(const QString& text, QList<QByteArray>& words, qsizetype firstLimit)
{
    const QByteArray base64 = EncodeGbk(text).toBase64();
    const qsizetype limit = words.isEmpty() ? firstLimit : kMaxEncodedWordBase64;
    if (base64.size() <= limit || text.size() < 2) {
        words.append("=?gb2312?B?" + base64 + "?=");
        return;
    }
    const qsizetype middle = Middle(text);
    AppendEncodedWords(text.left(middle), words, firstLimit);
    AppendEncodedWords(text.mid(middle), words, firstLimit);
}

qsizetype LastLineLength(const QByteArray& text, qsizetype lineUsed)
{
    const qsizetype newline = text.lastIndexOf('\n');
    return newline < 0 ? lineUsed + text.size() : text.size() - newline - 1;
}

QByteArray FormatAddress(const MailAddress& a, qsizetype lineUsed = 0)
{
    if (a.name.isEmpty())
        return a.address.toUtf8();
    const QByteArray name = EncodeHeaderText(a.name, lineUsed);
    const QByteArray address = "<" + a.address.toUtf8() + ">";
    // Folded before the address when the name's last line has no room left for it.
    const bool fold = LastLineLength(name, lineUsed) + 1 + address.size() > kHeaderLineLength;
    return name + (fold ? "\r\n " : " ") + address;
}

// "To: a, b, …" folded between addresses where the next one would pass the line length.
QByteArray AddressLine(const char* field, const QVector<MailAddress>& addresses)
{
    QByteArray line = QByteArray(field) + ": ";
    qsizetype used = line.size();
    for (qsizetype i = 0; i < addresses.size(); ++i) {
        const qsizetype separator = i > 0 ? 1 : 0;
        QByteArray piece = FormatAddress(addresses[i], used + separator);
        const qsizetype firstLine = piece.contains('\n') ? piece.indexOf('\r') : piece.size();
        if (i > 0 && used + separator + firstLine > kHeaderLineLength) {
            line += ",\r\n ";
            used = 1;
            piece = FormatAddress(addresses[i], used);
        } else if (i > 0) {
            line += ',';
            used += 1;
        }
        line += piece;
        used = LastLineLength(piece, used);
    }
    return line + "\r\n";
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

QByteArray EncodeHeaderText(const QString& text, qsizetype lineUsed)
{
    if (IsAscii(text))
        return text.toLatin1();
    // "=?gb2312?B?" and "?=" take 13 characters; Base64 comes in fours.
    const qsizetype room = (kHeaderLineLength - lineUsed - 13) / 4 * 4;
    QList<QByteArray> words;
    AppendEncodedWords(text, words, std::clamp<qsizetype>(room, 4, kMaxEncodedWordBase64));
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
    if (IsAscii(body))
        return QByteArrayLiteral("us-ascii");
    return FitsGb2312(body) ? QByteArrayLiteral("gb2312") : QByteArrayLiteral("gb18030");
}

QByteArray MakeMessageId(const QDateTime& localTime, const QString& domain)
{
    const QString host = domain.isEmpty() ? QStringLiteral("localhost") : domain;
    return "<" + localTime.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1() + '.'
        + QUuid::createUuid().toByteArray(QUuid::Id128) + '@' + QUrl::toAce(host) + ">";
}

QByteArray BuildHeaderBlock(const MailHeader& h, const QString& body)
{
    QByteArray block = AddressLine("From", {h.from}) + AddressLine("To", h.to);
    if (!h.cc.isEmpty())
        block += AddressLine("Cc", h.cc);
    block += Line("Subject", EncodeHeaderText(h.subject, qsizetype(sizeof "Subject: ") - 1))
             + Line("Date", FormatMailDate(h.localTime, h.utcOffsetSeconds));
    if (!h.messageId.isEmpty())
        block += Line("Message-ID", h.messageId);
    block += AddressLine("Reply-To", {h.replyTo}) + Line("MIME-Version", "1.0")
             + Line("Content-type", "text/plain; charset=\"" + BodyCharset(body) + "\"")
             + Line("Content-Transfer-Encoding", "base64") + "\r\n";
    return block;
}

QByteArray EncodeBody(const QString& body)
{
    const QByteArray base64 = EncodeGb18030(body).toBase64();
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
