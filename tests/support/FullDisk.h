#pragma once

#include <QDir>
#include <QFile>

#include <sys/mount.h>
#include <unistd.h>

namespace stolvar::test {

// A real file system that fills up: a tmpfs mounted over `folder` for the test (as
// root only; mounted() tells whether it is), of `size` (a mount option: "64k", "1m").
class FullDisk
{
public:
    explicit FullDisk(const QString& folder, const char* size = "64k") : m_folder(QFile::encodeName(folder))
    {
        m_mounted = ::geteuid() == 0 && ::mount("tmpfs", m_folder.constData(), "tmpfs", 0, (QByteArray("size=") + size).constData()) == 0;
    }
    ~FullDisk()
    {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    bool mounted() const { return m_mounted; }
    // Fills what is left with one file.
    void fill() const
    {
        QFile filler(QDir(QFile::decodeName(m_folder)).filePath("filler"));
        if (!filler.open(QIODevice::WriteOnly))
            return;
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }

private:
    QByteArray m_folder;
    bool m_mounted = false;
};

} // namespace stolvar::test
