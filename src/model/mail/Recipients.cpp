#include "model/mail/Recipients.h"

#include <QRegularExpression>

namespace stolvar {

namespace {

// Splits "name <address>" or takes the piece as the address; none when ">" is missing.
std::optional<MailAddress> SplitPiece(const QString& piece)
{
    const qsizetype open = piece.indexOf(u'<');
    if (open < 0)
        return MailAddress{QString(), piece.trimmed()};
    const qsizetype close = piece.indexOf(u'>', open + 1);
    if (close < 0)
        return std::nullopt;
    return MailAddress{piece.left(open).trimmed(), piece.mid(open + 1, close - open - 1).trimmed()};
}

} // namespace

bool IsSingleLineText(const QString& text)
{
    for (QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

bool IsUsableAddress(const QString& address)
{
    if (!address.contains(u'@') || !IsSingleLineText(address))
        return false;
    for (QChar c : address) {
        if (c.isSpace() || c == u'<' || c == u'>')
            return false;
    }
    return true;
}

std::optional<QVector<MailAddress>> ParseRecipients(const QString& list)
{
    QVector<MailAddress> result;
    for (const QString& piece : list.split(QRegularExpression(QStringLiteral("[;,]")))) {
        const auto parsed = SplitPiece(piece);
        if (!parsed)
            return std::nullopt;
        if (parsed->address.isEmpty())
            continue;
        if (!IsUsableAddress(parsed->address) || !IsSingleLineText(parsed->name))
            return std::nullopt;
        result.append(*parsed);
    }
    return result;
}

} // namespace stolvar
