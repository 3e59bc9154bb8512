#include "core/DurableFiles.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace stolvar {

QString SystemErrorText(int error)
{
    switch (error) {
    case ENOSPC:
        return QStringLiteral("磁盘已满");
    case EDQUOT:
        return QStringLiteral("磁盘配额已用完");
    case EACCES:
    case EPERM:
        return QStringLiteral("没有写入权限");
    case EROFS:
        return QStringLiteral("磁盘是只读的");
    case EIO:
        return QStringLiteral("磁盘读写错误");
    case ENOENT:
        return QStringLiteral("文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径不是文件夹");
    case EISDIR:
        return QStringLiteral("目标是一个文件夹");
    default:
        return QStringLiteral("系统错误%1（%2）").arg(error).arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

void SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

QString PartName(const QString& path)
{
    return path + QStringLiteral(".part");
}

namespace {

struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Writes all of `size` bytes; 0 or errno.
int WriteAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : EIO;
        data += n;
        size -= n;
    }
    return 0;
}

// Copies the bytes of one open file into another; 0 or errno.
int CopyBytes(int in, int out)
{
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        if (const int error = WriteAll(out, buffer, n))
            return error;
    }
}

QString Failed(const QString& what, int error)
{
    return what + QStringLiteral("：") + SystemErrorText(error);
}

} // namespace

QString CopyFileDurably(const QString& from, const QString& to)
{
    const QByteArray source = QFile::encodeName(from);
    const QByteArray part = QFile::encodeName(PartName(to));
    Fd in{::open(source.constData(), O_RDONLY | O_CLOEXEC)};
    if (in.fd < 0)
        return Failed(QStringLiteral("无法读取") + from, errno);
    ::unlink(part.constData());
    Fd out{::open(part.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
    if (out.fd < 0)
        return Failed(QStringLiteral("无法写入") + PartName(to), errno);
    int error = CopyBytes(in.fd, out.fd);
    if (error == 0 && ::fsync(out.fd) != 0)
        error = errno;
    const int closed = ::close(std::exchange(out.fd, -1)) == 0 ? 0 : errno;
    if (error == 0)
        error = closed;
    if (error == 0 && ::rename(part.constData(), QFile::encodeName(to).constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(part.constData());
        return Failed(QStringLiteral("无法写入") + to, error);
    }
    SyncFolder(QFileInfo(to).absolutePath());
    return {};
}

} // namespace stolvar
