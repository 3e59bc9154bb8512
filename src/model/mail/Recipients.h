#pragma once

#include <QString>
#include <QVector>

#include <optional>

namespace stolvar {

struct MailAddress {
    QString name;     // display name; empty when none
    QString address;  // the bare address

    bool operator==(const MailAddress&) const = default;
};

// Reads a recipient list: pieces cut at ";" and ",", each either a bare address or
// "name <address>", trimmed; empty pieces are skipped. None when a piece is malformed
// ("<" without ">"), an address lacks "@", or a name or address holds a line break or
// another control character (which would end the SMTP command early).
std::optional<QVector<MailAddress>> ParseRecipients(const QString& list);

// An address that may be sent in MAIL FROM or RCPT TO.
bool IsUsableAddress(const QString& address);
// Text that may stand in a header line: no CR, LF or other control character.
bool IsSingleLineText(const QString& text);

} // namespace stolvar
