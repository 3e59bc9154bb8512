#pragma once

#include "core/Keys.h"

#include <QString>

#include <cstdio>
#include <functional>
#include <memory>

namespace stolvar {

// Reading and replacing the settings file. The store goes through this seam so that a
// test can make a read or any step of a write fail as a broken disk or a full one would.
class SettingsFileIo
{
public:
    enum class ReadStatus { Ok, Missing, Failed, TooLarge };
    // The largest file read: settings take a few hundred bytes, and a file of megabytes
    // (a log written into it by mistake) would hold the window for seconds at every read.
    static constexpr qint64 kMaxFileBytes = 1024 * 1024;

    virtual ~SettingsFileIo() = default;
    // Missing: no file (every key takes its default); Failed: a file that could not be
    // read; TooLarge: a file over kMaxFileBytes, not read.
    virtual ReadStatus read(const QString& path, QByteArray* bytes) const;
    // Replaces the file through a temporary one in its folder: written, flushed, synced to
    // the disk, closed and renamed over it, every step checked. On a failure the old file
    // is untouched, the temporary one is removed and `reason` says why ("磁盘已满"). A
    // file that did not exist is created for its owner only; an existing one keeps its mode.
    virtual bool replace(const QString& path, const QByteArray& bytes, QString* reason) const;

protected:
    // The steps of a replacement, each returning 0 or the errno value of its failure.
    virtual int writeBytes(std::FILE* file, const QByteArray& bytes) const;
    virtual int flushFile(std::FILE* file) const;
    virtual int syncFile(std::FILE* file) const;
    virtual int closeFile(std::FILE* file) const;
    virtual int renameFile(const QString& from, const QString& to) const;
};

// The settings file Temp.ini: sections of key=value lines. Every read goes to the file;
// every write changes one key, keeps all other lines in their order and replaces the
// file atomically. Files in UTF-8 (with or without BOM) and GBK are read, and a UTF-8
// file with some lines in GBK (a comment typed in an old editor); writes are UTF-8.
class SettingsStore
{
public:
    explicit SettingsStore(QString filePath, std::shared_ptr<const SettingsFileIo> io = {});

    // Told of every write that failed, with the file's path and why, on the thread that wrote.
    using WriteFailureHandler = std::function<void(const QString& path, const QString& reason)>;
    void setWriteFailureHandler(WriteFailureHandler handler)
    {
        m_onWriteFailed = std::move(handler);
    }

    const QString& path() const { return m_path; }
    // True when the file is over SettingsFileIo::kMaxFileBytes: it is neither read nor
    // written, and every key reads as its default.
    bool isTooLarge() const;

    // A missing key (or file) gives `fallback`; a key present with an empty value gives "".
    QString read(const QString& section, const QString& key, const QString& fallback = {}) const;
    // False when the file could not be written, or when it exists but could not be read or
    // is too large (then it is left as it was: replacing it would lose every other setting).
    bool write(const QString& section, const QString& key, const QString& value) const;

    // A write that may wait: for a value written at every click (the tree's remembered
    // node), where replacing the file each time would sync it to the disk on the UI thread,
    // tens of milliseconds on a spinning disk. Every read of the file, by any store, gives
    // the value at once; it reaches the file on the background thread given to
    // setBackgroundWrites, in one replacement with whatever else waited meanwhile. A failure
    // goes to the write-failure handler. Without a background thread it is written at once.
    void writeSoon(const keys::Key& key, const QString& value) const;
    // Writes what still waits, on the calling thread: at the close, before a copy of the file.
    // False when the replacement failed.
    bool writeWaiting() const;
    using BackgroundRun = std::function<void(std::function<void()> job)>;
    void setBackgroundWrites(BackgroundRun run) { m_background = std::move(run); }

    // The program's boolean texts.
    static QString BoolText(bool value);
    static bool IsTrue(const QString& text);
    bool readBool(const QString& section, const QString& key) const;

    QString read(const keys::Key& key, const QString& fallback = {}) const
    {
        return read(key.sectionText(), key.keyText(), fallback);
    }
    bool write(const keys::Key& key, const QString& value) const
    {
        return write(key.sectionText(), key.keyText(), value);
    }
    bool readBool(const keys::Key& key) const { return IsTrue(read(key)); }

    // One key set to one value.
    struct Assignment {
        QString section;
        QString key;
        QString value;
    };

private:
    QString m_path;
    std::shared_ptr<const SettingsFileIo> m_io;
    WriteFailureHandler m_onWriteFailed;
    BackgroundRun m_background;
};

// Pure reader and writer of the INI text, used by the store and by its tests.
namespace ini {
// UTF-8 when the whole file is; GBK when no line of it is UTF-8 other than plain ASCII (an
// older installation's file); else line by line, each line that is no UTF-8 read as GBK.
QString DecodeFile(const QByteArray& bytes);
// Finds section/key in the text; returns false when absent.
bool Lookup(const QString& text, const QString& section, const QString& key, QString* value);
// Returns the text with section/key set to value, everything else kept.
QString Assign(const QString& text, const QString& section, const QString& key, const QString& value);
} // namespace ini

} // namespace stolvar
