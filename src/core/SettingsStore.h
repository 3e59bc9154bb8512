#pragma once

#include "core/Keys.h"

#include <QString>

namespace stolvar {

// The settings file Temp.ini: sections of key=value lines. Every read goes to the file;
// every write changes one key, keeps all other lines in their order and replaces the
// file atomically. Files in UTF-8 (with or without BOM) and GBK are read; writes are UTF-8.
class SettingsStore
{
public:
    explicit SettingsStore(QString filePath) : m_path(std::move(filePath)) {}

    const QString& path() const { return m_path; }

    // A missing key (or file) gives `fallback`; a key present with an empty value gives "".
    QString read(const QString& section, const QString& key, const QString& fallback = {}) const;
    // False when the file could not be written.
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
