#include "model/mail/SmtpReply.h"

namespace stolvar {

namespace {

int ReplyCode(const QByteArray& line)
{
    if (line.size() < 3)
        return 0;
    for (int i = 0; i < 3; ++i) {
        if (line[i] < '0' || line[i] > '9')
            return 0;
    }
    return line.left(3).toInt();
}

bool IsContinued(const QByteArray& line)
{
    return line.size() > 3 && line[3] == '-';
}

// The mechanisms an extension line such as "AUTH LOGIN PLAIN" or "AUTH=LOGIN" names.
QList<QByteArray> AuthMechanisms(const QByteArray& line)
{
    const QByteArray upper = line.trimmed().toUpper();
    if (!upper.startsWith("AUTH") || upper.size() < 5 || (upper[4] != ' ' && upper[4] != '='))
        return {};
    return upper.mid(5).simplified().split(' ');
}

} // namespace

std::optional<SmtpReply> TakeReply(QByteArray& buffer)
{
    SmtpReply reply;
    qsizetype start = 0;
    for (;;) {
        const qsizetype end = buffer.indexOf('\n', start);
        if (end < 0)
            return std::nullopt;
        QByteArray line = buffer.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        start = end + 1;
        reply.code = ReplyCode(line);
        reply.lines.append(line.mid(4));
        if (reply.code == 0 || !IsContinued(line))
            break;
    }
    buffer.remove(0, start);
    return reply;
}

AuthMethod ChooseAuthMethod(const SmtpReply& ehlo)
{
    bool plain = false;
    for (const QByteArray& line : ehlo.lines) {
        const QList<QByteArray> mechanisms = AuthMechanisms(line);
        if (mechanisms.contains("LOGIN"))
            return AuthMethod::Login;
        plain = plain || mechanisms.contains("PLAIN");
    }
    return plain ? AuthMethod::Plain : AuthMethod::None;
}

bool OffersStartTls(const SmtpReply& ehlo)
{
    for (const QByteArray& line : ehlo.lines) {
        if (line.trimmed().toUpper() == "STARTTLS")
            return true;
    }
    return false;
}

QByteArray DotStuff(const QByteArray& data)
{
    QByteArray stuffed = data;
    stuffed.replace("\n.", "\n..");
    if (stuffed.startsWith('.'))
        stuffed.prepend('.');
    return stuffed;
}

} // namespace stolvar
