#pragma once

#include <QByteArray>
#include <QList>

#include <optional>

namespace stolvar {

// One SMTP reply: a three-digit code and the text of each of its lines.
struct SmtpReply {
    int code = 0;
    QList<QByteArray> lines;  // text after "250-" / "250 "
};

// Takes one complete reply off the front of `buffer` (multi-line replies up to their
// final "ddd " line); none while the reply is incomplete. A line without a valid code
// ends the reply with code 0.
std::optional<SmtpReply> TakeReply(QByteArray& buffer);

enum class AuthMethod { None, Login, Plain };

// The log-in an EHLO reply allows: LOGIN when an AUTH line (or "AUTH=LOGIN") names it,
// else PLAIN when named, else none.
AuthMethod ChooseAuthMethod(const SmtpReply& ehlo);
bool OffersStartTls(const SmtpReply& ehlo);

// Doubles a "." at the start of a line, so that no line of the data ends it early.
QByteArray DotStuff(const QByteArray& data);

} // namespace stolvar
