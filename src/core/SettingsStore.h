#pragma once

#include "core/Keys.h"

#include <QString>

#include <functional>
#include <memory>

namespace stolvar {

// Reading and replacing the settings file. The store goes through this seam so that a
// test can make a read or a write fail as a broken disk or a full one would.
class SettingsFileIo
{
public:
    enum class ReadStatus { Ok, Missing, Failed };

    virtual ~SettingsFileIo() = default;
    // Missing: no file (every key takes its default); Failed: a file that could not be read.
    virtual ReadStatus read(const QString& path, QByteArray* bytes) const;
    // Replaces the file atomically; a file that did not exist is created for its owner only.
    virtual bool replace(const QString& path, const QByteArray& bytes) const;
};

// The settings file Temp.ini: sections of key=value lines. Every read goes to the file;
// every write changes one key, keeps all other lines in their order and replaces the
// file atomically. Files in UTF-8 (with or without BOM) and GBK are read; writes are UTF-8.
class SettingsStore
{
public:
    explicit SettingsStore(QString filePath, std::shared_ptr<const SettingsFileIo> io = {});

    // Told of every write that failed, with the file's path, on the thread that wrote.
    void setWriteFailureHandler(std::function<void(const QString& path)> handler)
    {
        m_onWriteFailed = std::move(handler);
    }

    const QString& path() const { return m_path; }

    // A missing key (or file) gives `fallback`; a key present with an empty value gives "".
    QString read(const QString& section, const QString& key, const QString& fallback = {}) const;
    // False when the file could not be written, or when it exists but could not be read
    // (then it is left as it was: replacing it would lose every other setting).
    bool write(const QString& section, const QString& key, const QString& value) const;

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

private:
    QString m_path;
    std::shared_ptr<const SettingsFileIo> m_io;
    std::function<void(const QString& path)> m_onWriteFailed;
};

// Pure reader and writer of the INI text, used by the store and by its tests.
namespace ini {
QString DecodeFile(const QByteArray& bytes);
// Finds section/key in the text; returns false when absent.
bool Lookup(const QString& text, const QString& section, const QString& key, QString* value);
// Returns the text with section/key set to value, everything else kept.
QString Assign(const QString& text, const QString& section, const QString& key, const QString& value);
} // namespace ini

} // namespace stolvar
