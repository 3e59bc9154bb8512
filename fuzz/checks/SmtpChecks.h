#pragma once

// Invariants of the SMTP reply reader and the dot-stuffing on arbitrary bytes, shared
// by the fuzz target and the replay test. The check returns what broke, or an empty text.

#include "model/mail/SmtpReply.h"

#include <QByteArray>
#include <QString>

#include <cctype>

namespace stolvar::fuzz {

// What a receiving server makes of stuffed data: a doubled leading dot loses one dot.
inline QByteArray Unstuff(const QByteArray& stuffed)
{
    QByteArray data = stuffed;
    if (data.startsWith(".."))
        data.remove(0, 1);
    return data.replace("\n..", "\n.");
}

// A reply still incomplete consists of continuation lines ("250-…") only.
inline bool OnlyContinuationLines(const QByteArray& rest)
{
    const QList<QByteArray> lines = rest.split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        const bool coded = line.size() > 3 && std::isdigit(uchar(line[0])) && std::isdigit(uchar(line[1]))
                           && std::isdigit(uchar(line[2]));
        if (!coded || line[3] != '-')
            return false;
    }
    return true;
}

inline QString CheckReplies(QByteArray buffer)
{
    while (true) {
        const qsizetype before = buffer.size();
        const std::optional<SmtpReply> reply = TakeReply(buffer);
        if (!reply)
            break;
        if (buffer.size() >= before)
            return QStringLiteral("a reply was taken without consuming the buffer");
        if (reply->code < 0 || reply->code > 999 || reply->lines.isEmpty())
            return QStringLiteral("a reply with code %1 and %2 lines").arg(reply->code).arg(reply->lines.size());
        ChooseAuthMethod(*reply);
        OffersStartTls(*reply);
    }
    if (!OnlyContinuationLines(buffer))
        return QStringLiteral("a complete reply was left in the buffer");
    return {};
}

inline QString CheckSmtpReply(const QByteArray& input)
{
    if (QString broken = CheckReplies(input); !broken.isEmpty())
        return broken;
    const QByteArray stuffed = DotStuff(input);
    if (Unstuff(stuffed) != input)
        return QStringLiteral("dot-stuffed data does not read back as the data");
    if (stuffed.contains("\r\n.\r\n") || stuffed.startsWith(".\r\n"))
        return QStringLiteral("dot-stuffed data holds the end-of-data line");
    return {};
}

} // namespace stolvar::fuzz
