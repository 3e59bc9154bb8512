#include "model/logger/LoggerLines.h"

#include "core/Gbk.h"

#include <QIODevice>

#include <algorithm>

namespace stolvar {

namespace {

constexpr qint64 kPieceBytes = 1 << 20;

bool IsAscii(const char* data, qsizetype size)
{
    return std::all_of(data, data + size, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

} // namespace

LoggerLineSource::LoggerLineSource(QIODevice& device, qsizetype maxLineBytes)
    : m_device(device), m_maxLineBytes(maxLineBytes)
{
}

// Keeps the unread rest and appends the next piece; false when nothing more comes.
bool LoggerLineSource::fill()
{
    if (m_atEnd)
        return false;
    m_buffer.remove(0, m_at);
    m_at = 0;
    const qsizetype kept = m_buffer.size();
    m_buffer.resize(kept + kPieceBytes);
    const qint64 got = m_device.read(m_buffer.data() + kept, kPieceBytes);
    m_buffer.resize(kept + std::max<qint64>(got, 0));
    m_failed = got < 0;
    m_atEnd = got <= 0;
    m_read += std::max<qint64>(got, 0);
    return got > 0;
}

bool LoggerLineSource::next(QString* line)
{
    for (;;) {
        const char* begin = m_buffer.constData() + m_at;
        const char* end = m_buffer.constData() + m_buffer.size();
        const char* found = std::find_if(begin, end, [](char c) { return c == '\n' || c == '\r'; });
        const qsizetype length = found - begin;
        if (found == end) {
            if (length > m_maxLineBytes) {   // no end in sight: cut the line, drop its rest
                const bool first = !std::exchange(m_dropping, true);
                if (first)
                    decode(begin, m_maxLineBytes, line);
                m_at = m_buffer.size();
                if (first)
                    return true;
                continue;
            }
            if (fill())
                continue;
            if (length == 0 || std::exchange(m_dropping, false)) {
                m_at = m_buffer.size();
                return false;
            }
        }
        if (!std::exchange(m_dropping, false))
            decode(begin, std::min(length, m_maxLineBytes), line);
        else
            line->clear();   // the end of a line cut before
        m_at += length + (found == end ? 0 : 1);
        if (found != end && *found == '\r' && m_at < m_buffer.size() && m_buffer[m_at] == '\n')
            ++m_at;   // "\r\n" is one line end (split between two pieces, it gives an empty line)
        return true;
    }
}

void LoggerLineSource::decode(const char* data, qsizetype size, QString* line)
{
    if (std::exchange(m_first, false) && size >= 3 && data[0] == '\xEF' && data[1] == '\xBB' && data[2] == '\xBF') {
        data += 3;
        size -= 3;
    }
    if (IsAscii(data, size)) {
        *line = QString::fromLatin1(data, size).trimmed();
        return;
    }
    const QByteArray bytes = QByteArray::fromRawData(data, size);
    *line = (IsValidUtf8(bytes) ? QString::fromUtf8(bytes) : DecodeGbk(bytes)).trimmed();
}

} // namespace stolvar
