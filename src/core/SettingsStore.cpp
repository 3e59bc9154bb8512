#include "core/SettingsStore.h"

#include "core/Gbk.h"

#include <QFile>
#include <QMutex>
#include <QSaveFile>
#include <QStringList>

namespace stolvar {

namespace {

// Reads and writes of Temp.ini come from the UI thread and from background tasks;
// a write is a read-modify-replace and must not interleave with another.
QMutex& FileMutex()
{
    static QMutex mutex;
    return mutex;
}

// The one real file system, shared by every store that is given none.
std::shared_ptr<const SettingsFileIo> RealFileIo()
{
    static const auto io = std::make_shared<const SettingsFileIo>();
    return io;
}

// A section header "[name]" (blanks around the name ignored); null when not a header.
QString SectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.front() == u'[' && t.back() == u']')
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool IsSectionLine(const QString& line)
{
    const QString t = line.trimmed();
    return t.size() >= 2 && t.front() == u'[' && t.back() == u']';
}

// Splits "key=value"; false for lines without '=' (garbage and comments are skipped).
bool SplitKeyValue(const QString& line, QString* key, QString* value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0 || line.trimmed().startsWith(u';'))
        return false;
    *key = line.left(eq).trimmed();
    *value = line.mid(eq + 1).trimmed();
    return !key->isEmpty();
}

QString SanitizeValue(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    return value.trimmed();
}

} // namespace

namespace ini {

QString DecodeFile(const QByteArray& bytes)
{
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    return IsValidUtf8(body) ? QString::fromUtf8(body) : DecodeGbk(body);
}

bool Lookup(const QString& text, const QString& section, const QString& key, QString* value)
{
    bool inSection = false;
    for (QStringView rawLine : QStringView(text).split(u'\n')) {
        const QString line = rawLine.toString();
        if (IsSectionLine(line)) {
            inSection = SectionName(line).compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && SplitKeyValue(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            *value = v;
            return true;
        }
    }
    return false;
}

QString Assign(const QString& text, const QString& section, const QString& key, const QString& value)
{
    // Lines end at every LF, as Lookup reads them; a CR before the LF stays with its line,
    // so a hand-edited file with mixed line ends keeps every line as it was.
    const QString cr = text.contains(QStringLiteral("\r\n")) ? QStringLiteral("\r") : QString();
    QStringList lines = text.split(u'\n');
    if (lines.back().isEmpty())
        lines.removeLast();
    else
        lines.back() += cr;   // the unterminated last line gets the file's line end
    const QString entry = key + u'=' + SanitizeValue(value);

    qsizetype sectionAt = -1;
    qsizetype lastContent = -1;   // last key line of the section (or its header)
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (IsSectionLine(lines[i])) {
            if (sectionAt >= 0)
                break;
            if (SectionName(lines[i]).compare(section, Qt::CaseInsensitive) == 0)
                sectionAt = lastContent = i;
            continue;
        }
        if (sectionAt < 0)
            continue;
        QString k, v;
        if (SplitKeyValue(lines[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = entry + (lines[i].endsWith(u'\r') ? QStringLiteral("\r") : QString());
            return lines.join(u'\n') + u'\n';
        }
        if (!lines[i].trimmed().isEmpty())
            lastContent = i;
    }
    if (sectionAt >= 0) {
        lines.insert(lastContent + 1, entry + cr);
    } else {
        lines.append(u'[' + section + u']' + cr);
        lines.append(entry + cr);
    }
    return lines.join(u'\n') + u'\n';
}

} // namespace ini

SettingsFileIo::ReadStatus SettingsFileIo::read(const QString& path, QByteArray* bytes) const
{
    QFile file(path);
    if (!file.exists())
        return ReadStatus::Missing;
    if (!file.open(QIODevice::ReadOnly))
        return ReadStatus::Failed;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? ReadStatus::Ok : ReadStatus::Failed;
}

bool SettingsFileIo::replace(const QString& path, const QByteArray& bytes) const
{
    const bool created = !QFile::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (created && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    return file.write(bytes) == bytes.size() && file.commit();
}

SettingsStore::SettingsStore(QString filePath, std::shared_ptr<const SettingsFileIo> io)
    : m_path(std::move(filePath)), m_io(io ? std::move(io) : RealFileIo())
{
}

QString SettingsStore::read(const QString& section, const QString& key, const QString& fallback) const
{
    QMutexLocker lock(&FileMutex());
    QByteArray bytes;
    if (m_io->read(m_path, &bytes) != SettingsFileIo::ReadStatus::Ok)
        return fallback;
    QString value;
    return ini::Lookup(ini::DecodeFile(bytes), section, key, &value) ? value : fallback;
}

bool SettingsStore::write(const QString& section, const QString& key, const QString& value) const
{
    bool written = false;
    {
        QMutexLocker lock(&FileMutex());
        QByteArray bytes;
        const SettingsFileIo::ReadStatus status = m_io->read(m_path, &bytes);
        if (status != SettingsFileIo::ReadStatus::Failed) {
            const QString before = ini::DecodeFile(bytes);
            const QString text = ini::Assign(before, section, key, value);
            // A value the file holds already is not written again (a click on the selected
            // node, the start-up restoring the selection): the file stays as it is.
            const bool unchanged = status == SettingsFileIo::ReadStatus::Ok && text == before;
            written = unchanged || m_io->replace(m_path, text.toUtf8());
        }
    }
    if (!written && m_onWriteFailed)
        m_onWriteFailed(m_path);
    return written;
}

QString SettingsStore::BoolText(bool value)
{
    return value ? QStringLiteral("真") : QStringLiteral("假");
}

bool SettingsStore::IsTrue(const QString& text)
{
    return text == QStringLiteral("真");
}

bool SettingsStore::readBool(const QString& section, const QString& key) const
{
    return IsTrue(read(section, key));
}

} // namespace stolvar
