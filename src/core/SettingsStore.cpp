#include "core/SettingsStore.h"

#include "core/DurableFiles.h"
#include "core/Gbk.h"

#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QMutex>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// A line with characters beyond ASCII that reads as UTF-8: a file that has one is a
// UTF-8 file, whatever its other lines are.
bool HasUtf8Line(const QList<QByteArray>& lines)
{
    for (const QByteArray& line : lines) {
        const bool ascii = std::all_of(line.begin(), line.end(), [](char c) { return uchar(c) < 0x80; });
        if (!ascii && IsValidUtf8(line))
            return true;
    }
    return false;
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
    if (IsValidUtf8(body))
        return QString::fromUtf8(body);
    const QList<QByteArray> lines = body.split('\n');
    if (!HasUtf8Line(lines))
        return DecodeGbk(body);
    QStringList text;
    text.reserve(lines.size());
    for (const QByteArray& line : lines)
        text << (IsValidUtf8(line) ? QString::fromUtf8(line) : DecodeGbk(line));
    return text.join(u'\n');
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

// Read many times at every click (the counting rule, the font sizes): one open, one
// fstat and a read or two, no more.
SettingsFileIo::ReadStatus SettingsFileIo::read(const QString& path, QByteArray* bytes) const
{
    bytes->clear();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Failed;
    struct stat info {};
    ReadStatus status = ::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ? ReadStatus::Failed : ReadStatus::Ok;
    if (status == ReadStatus::Ok && info.st_size > kMaxFileBytes)
        status = ReadStatus::TooLarge;
    // As many bytes as the file holds and one more: a file that grew since its size was
    // read is read on, but never past the limit.
    if (status == ReadStatus::Ok) {
        bytes->resize(qsizetype(std::min<qint64>(info.st_size, kMaxFileBytes)) + 1);
        qsizetype filled = 0;
        for (;;) {
            if (filled == bytes->size()) {
                if (filled > kMaxFileBytes)
                    break;
                bytes->resize(std::min<qsizetype>(filled * 2, kMaxFileBytes + 1));
            }
            const ssize_t n = ::read(fd, bytes->data() + filled, size_t(bytes->size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n < 0)
                    status = ReadStatus::Failed;
                break;
            }
            filled += n;
        }
        bytes->resize(filled);
        if (status == ReadStatus::Ok && filled > kMaxFileBytes)
            status = ReadStatus::TooLarge;
    }
    ::close(fd);
    if (status != ReadStatus::Ok)
        bytes->clear();
    return status;
}

int SettingsFileIo::writeBytes(std::FILE* file, const QByteArray& bytes) const
{
    errno = 0;
    const size_t size = size_t(bytes.size());
    return std::fwrite(bytes.constData(), 1, size, file) == size ? 0 : (errno ? errno : EIO);
}

int SettingsFileIo::flushFile(std::FILE* file) const
{
    return std::fflush(file) == 0 ? 0 : errno;
}

int SettingsFileIo::syncFile(std::FILE* file) const
{
    return ::fsync(::fileno(file)) == 0 ? 0 : errno;
}

int SettingsFileIo::closeFile(std::FILE* file) const
{
    return std::fclose(file) == 0 ? 0 : errno;
}

int SettingsFileIo::renameFile(const QString& from, const QString& to) const
{
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0 ? 0 : errno;
}

namespace {

// A temporary file beside `path` (mode 0600, or the mode of the file it will replace).
std::FILE* CreateTempBeside(const QString& path, QByteArray* tempName, int* error)
{
    *tempName = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(tempName->data(), O_CLOEXEC);
    if (fd < 0) {
        *error = errno;
        return nullptr;
    }
    struct stat existing {};
    if (::stat(QFile::encodeName(path).constData(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        *error = errno;
        ::close(fd);
        ::unlink(tempName->constData());
    }
    return file;
}

QString StepFailedText(const char16_t* step, int error)
{
    // A full disk is named alone: that is what the clerk can do something about.
    if (error == ENOSPC)
        return SystemErrorText(error);
    return QString::fromUtf16(step) + QStringLiteral("失败：") + SystemErrorText(error);
}

} // namespace

bool SettingsFileIo::replace(const QString& path, const QByteArray& bytes, QString* reason) const
{
    QByteArray tempName;
    int error = 0;
    std::FILE* file = CreateTempBeside(path, &tempName, &error);
    if (!file) {
        *reason = StepFailedText(u"创建临时文件", error);
        return false;
    }
    const char16_t* step = u"写入";
    error = writeBytes(file, bytes);
    if (error == 0)
        error = flushFile(file);
    if (error == 0) {
        step = u"同步到磁盘";
        error = syncFile(file);
    }
    const int closed = closeFile(file);   // closed once, whatever went before
    if (error == 0 && closed != 0) {
        step = u"关闭文件";
        error = closed;
    }
    if (error == 0) {
        step = u"替换文件";
        error = renameFile(QFile::decodeName(tempName), path);
    }
    if (error == 0) {
        SyncFolder(QFileInfo(path).absolutePath());
        return true;
    }
    ::unlink(tempName.constData());
    *reason = StepFailedText(step, error);
    return false;
}

namespace {

using Assignment = SettingsStore::Assignment;

bool IsKey(const Assignment& a, const QString& section, const QString& key)
{
    return a.section.compare(section, Qt::CaseInsensitive) == 0 && a.key.compare(key, Qt::CaseInsensitive) == 0;
}

// The values of writeSoon that have not reached their file yet, by file: shared by every
// store of the process, so that any store reads them.
struct WaitingFile {
    QList<Assignment> values;
    bool writeQueued = false;
};

class WaitingWrites
{
public:
    std::optional<QString> value(const QString& path, const QString& section, const QString& key)
    {
        QMutexLocker lock(&m_mutex);
        const auto file = m_files.constFind(path);
        if (file == m_files.cend())
            return std::nullopt;
        for (const Assignment& a : file->values) {
            if (IsKey(a, section, key))
                return a.value;
        }
        return std::nullopt;
    }
    // True when no background write of the file is queued yet: the caller queues one.
    bool set(const QString& path, Assignment change)
    {
        QMutexLocker lock(&m_mutex);
        WaitingFile& file = m_files[path];
        drop(file, change.section, change.key);
        file.values.append(std::move(change));
        return !std::exchange(file.writeQueued, true);
    }
    void drop(const QString& path, const QString& section, const QString& key)
    {
        QMutexLocker lock(&m_mutex);
        const auto file = m_files.find(path);
        if (file != m_files.end())
            drop(*file, section, key);
    }
    // What waits now; a write from here on queues another background write.
    QList<Assignment> take(const QString& path)
    {
        QMutexLocker lock(&m_mutex);
        const auto file = m_files.find(path);
        if (file == m_files.end())
            return {};
        file->writeQueued = false;
        return file->values;
    }
    // Forgets what was written, but not a value set again since.
    void written(const QString& path, const QList<Assignment>& done)
    {
        QMutexLocker lock(&m_mutex);
        const auto file = m_files.find(path);
        if (file == m_files.end())
            return;
        file->values.removeIf([&done](const Assignment& a) {
            return std::any_of(done.begin(), done.end(), [&a](const Assignment& d) {
                return IsKey(d, a.section, a.key) && d.value == a.value;
            });
        });
        if (file->values.isEmpty() && !file->writeQueued)
            m_files.erase(file);
    }

private:
    static void drop(WaitingFile& file, const QString& section, const QString& key)
    {
        file.values.removeIf([&](const Assignment& a) { return IsKey(a, section, key); });
    }

    QMutex m_mutex;
    QHash<QString, WaitingFile> m_files;
};

WaitingWrites& Waiting()
{
    static WaitingWrites waiting;
    return waiting;
}

// The write under the file's lock: "" when done, else why it failed.
QString ReplaceLocked(const SettingsFileIo& io, const QString& path, const QList<Assignment>& changes)
{
    QByteArray bytes;
    const SettingsFileIo::ReadStatus status = io.read(path, &bytes);
    if (status == SettingsFileIo::ReadStatus::Failed)
        return QStringLiteral("文件无法读取");
    if (status == SettingsFileIo::ReadStatus::TooLarge)
        return QStringLiteral("文件超过1 MB，未读取也未改写");
    const QString before = ini::DecodeFile(bytes);
    QString text = before;
    for (const Assignment& change : changes)
        text = ini::Assign(text, change.section, change.key, change.value);
    // A value the file holds already is not written again (a click on the selected
    // node, the start-up restoring the selection): the file stays as it is.
    if (status == SettingsFileIo::ReadStatus::Ok && text == before)
        return {};
    QString reason;
    if (io.replace(path, text.toUtf8(), &reason))
        return {};
    return reason.isEmpty() ? QStringLiteral("文件无法写入") : reason;
}

// What waits is taken under the file's lock, so that an older value never replaces a newer
// one that another thread wrote first.
QString WriteWaitingOf(const SettingsFileIo& io, const QString& path)
{
    QMutexLocker lock(&FileMutex());
    const QList<Assignment> waiting = Waiting().take(path);
    if (waiting.isEmpty())
        return {};
    const QString failure = ReplaceLocked(io, path, waiting);
    // A failed value is forgotten as a failed write() is: reads give the file's again.
    Waiting().written(path, waiting);
    return failure;
}

void Report(const SettingsStore::WriteFailureHandler& handler, const QString& path, const QString& failure)
{
    if (!failure.isEmpty() && handler)
        handler(path, failure);
}

} // namespace

SettingsStore::SettingsStore(QString filePath, std::shared_ptr<const SettingsFileIo> io)
    : m_path(std::move(filePath)), m_io(io ? std::move(io) : RealFileIo())
{
}

// Reads take no lock: the file is only ever replaced by a rename, so a read sees the old
// file or the new one whole, and never waits for a write syncing to the disk.
bool SettingsStore::isTooLarge() const
{
    QByteArray bytes;
    return m_io->read(m_path, &bytes) == SettingsFileIo::ReadStatus::TooLarge;
}

QString SettingsStore::read(const QString& section, const QString& key, const QString& fallback) const
{
    if (std::optional<QString> waiting = Waiting().value(m_path, section, key))
        return *std::move(waiting);
    QByteArray bytes;
    if (m_io->read(m_path, &bytes) != SettingsFileIo::ReadStatus::Ok)
        return fallback;
    QString value;
    return ini::Lookup(ini::DecodeFile(bytes), section, key, &value) ? value : fallback;
}

bool SettingsStore::write(const QString& section, const QString& key, const QString& value) const
{
    QString failure;
    {
        QMutexLocker lock(&FileMutex());
        Waiting().drop(m_path, section, key);   // this value is the newer one
        failure = ReplaceLocked(*m_io, m_path, {{section, key, value}});
    }
    Report(m_onWriteFailed, m_path, failure);
    return failure.isEmpty();
}

void SettingsStore::writeSoon(const keys::Key& key, const QString& value) const
{
    // As a read of the file would give it back.
    const bool queue = Waiting().set(m_path, {key.sectionText(), key.keyText(), SanitizeValue(value)});
    if (!m_background) {
        writeWaiting();
        return;
    }
    if (queue) {
        m_background([path = m_path, io = m_io, handler = m_onWriteFailed] {
            Report(handler, path, WriteWaitingOf(*io, path));
        });
    }
}

bool SettingsStore::writeWaiting() const
{
    const QString failure = WriteWaitingOf(*m_io, m_path);
    Report(m_onWriteFailed, m_path, failure);
    return failure.isEmpty();
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
