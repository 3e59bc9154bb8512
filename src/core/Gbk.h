#pragma once

#include <QByteArray>
#include <QString>

namespace stolvar {

// GBK is the code page of the weather page, the mail body and older settings files.
// Encoding reports through `complete` whether every character had a GBK form.
QByteArray EncodeGbk(const QString& text, bool* complete = nullptr);
// Decodes GBK (read as its superset GB18030); bytes that are no character become U+FFFD.
QString DecodeGbk(const QByteArray& bytes);
bool IsValidUtf8(const QByteArray& bytes);

} // namespace stolvar
