#pragma once

#include <QByteArray>
#include <QString>

namespace stolvar {

// GBK is the code page of the weather page, the mail body and older settings files.
// Encoding reports through `complete` whether every character had a GBK form.
QByteArray EncodeGbk(const QString& text, bool* complete = nullptr);
// GB18030, the national superset of GBK that has a form for every character.
QByteArray EncodeGb18030(const QString& text, bool* complete = nullptr);
// Whether every character has a form in GB2312, the older subset (whose bytes GBK and
// GB18030 share).
bool FitsGb2312(const QString& text);
// Decodes GBK (read as its superset GB18030); bytes that are no character become U+FFFD.
QString DecodeGbk(const QByteArray& bytes);
bool IsValidUtf8(const QByteArray& bytes);

} // namespace stolvar
