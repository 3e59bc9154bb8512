#pragma once

#include "model/mail/Recipients.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

namespace stolvar {

// What the header block of a reminder mail says.
struct MailHeader {
    MailAddress from;
    QVector<MailAddress> to;
    QVector<MailAddress> cc;
    MailAddress replyTo;
    QString subject;
    QDateTime localTime;       // wall clock of the sender
    int utcOffsetSeconds = 0;  // of that wall clock, e.g. 28800 for +0800
    QByteArray messageId;      // "<…@domain>"; none: no Message-ID line
};

// Header lines stay within this many characters, as mail servers expect.
inline constexpr qsizetype kHeaderLineLength = 76;

// Pure ASCII as it is; anything else as "=?gb2312?B?…?=" words of at most 62 Base64
// characters each, the text split in halves until every word fits; the words after the
// first start continuation lines ("\r\n "). `lineUsed` characters already stand before the
// text on its first line (a header name): the first word is kept short enough for the line.
QByteArray EncodeHeaderText(const QString& text, qsizetype lineUsed = 0);
// "name <address>" or the bare address, joined by ",".
QByteArray FormatAddressList(const QVector<MailAddress>& addresses);
// "Tue, 07 May 2024 09:05:03 +0800": English names, whatever the desktop's language.
QByteArray FormatMailDate(const QDateTime& localTime, int utcOffsetSeconds);
// "us-ascii" for a pure ASCII body, "gb2312" when every character has a form there, else
// "gb18030": the label always names the encoding of the body's bytes.
QByteArray BodyCharset(const QString& body);
// "<20240526100000.9f…@site.example>": unique for every mail (some providers refuse a mail
// without one).
QByteArray MakeMessageId(const QDateTime& localTime, const QString& domain);

// The header block, ending with its empty line.
QByteArray BuildHeaderBlock(const MailHeader& header, const QString& body);
// The GB18030 bytes of the body (no character becomes "?") in Base64, in lines of 76
// characters, each ending "\r\n".
QByteArray EncodeBody(const QString& body);

// Header block and body; the SMTP client adds the closing "\r\n.\r\n". Empty when the
// subject or a name could break out of its header line.
QByteArray BuildMailData(const MailHeader& header, const QString& body);

} // namespace stolvar
