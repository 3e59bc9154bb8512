#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace stolvar {

// The lines of a device, read in pieces of fixed size so that a file of any length takes
// the same memory. Each line is decoded on its own: UTF-8 (with or without a byte-order
// mark on the first) when it is valid UTF-8, else GBK, so one odd line spoils nothing else.
// Line ends are "\n", "\r\n" or "\r"; a line longer than its limit is cut there (the rest
// up to its end is dropped, so it reads as no reading).
class LoggerLineSource
{
public:
    LoggerLineSource(QIODevice& device, qsizetype maxLineBytes);

    // The next line, trimmed (empty lines included); false at the end.
    bool next(QString* line);
    qint64 bytesRead() const { return m_read; }
    bool failed() const { return m_failed; }

private:
    bool fill();
    void decode(const char* data, qsizetype size, QString* line);

    QIODevice& m_device;
    qsizetype m_maxLineBytes;
    QByteArray m_buffer;
    qsizetype m_at = 0;
    qint64 m_read = 0;
    bool m_atEnd = false;
    bool m_failed = false;
    bool m_first = true;
    bool m_dropping = false;   // inside a line already cut at its limit
};

} // namespace stolvar
