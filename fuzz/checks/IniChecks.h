#pragma once

// Invariants of the Temp.ini reader and writer, shared by the fuzz target and the
// replay test. The file text and the value are arbitrary (a hand-edited file, a typed
// value); sections and keys are the program's own. The check returns what broke.

#include "core/SettingsStore.h"
#include "core/Keys.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <optional>

namespace stolvar::fuzz {

inline const std::array<keys::Key, 25>& ProgramKeys()
{
    static const std::array<keys::Key, 25> all = {
        keys::kDatabaseFile, keys::kDatabaseFolder, keys::kTreeSelection, keys::kWeatherCity, keys::kMailDay,
        keys::kLeadDays, keys::kAutoCollect, keys::kAutoMail, keys::kAutoStart, keys::kCountFromCastingDay,
        keys::kCountFromNextDay, keys::kTitleFontSize, keys::kTableFontSize, keys::kStandardFontSize,
        keys::kColour1, keys::kColour2, keys::kColour3, keys::kColour4, keys::kColour5, keys::kColour6,
        keys::kWeatherService, keys::kProbeAddress, keys::kVersionPage, keys::kMailDomain,
        keys::kAllowSelfSigned};
    return all;
}

inline std::optional<QString> LookupKey(const QString& text, const keys::Key& key)
{
    QString value;
    if (!ini::Lookup(text, key.sectionText(), key.keyText(), &value))
        return std::nullopt;
    return value;
}

// A stored value is one line without surrounding blanks.
inline QString StoredForm(QString value)
{
    return value.replace(u'\r', u' ').replace(u'\n', u' ').trimmed();
}

// The input: one byte choosing the key, the file's bytes, a NUL byte, the value's UTF-8.
struct IniInput {
    keys::Key key;
    QByteArray file;
    QString value;
};

inline IniInput SplitIniInput(const QByteArray& input)
{
    const auto& all = ProgramKeys();
    const keys::Key key = all[input.isEmpty() ? 0 : uchar(input[0]) % all.size()];
    const QByteArray rest = input.mid(1);
    const qsizetype nul = rest.indexOf('\0');
    if (nul < 0)
        return {key, rest, QString()};
    return {key, rest.left(nul), QString::fromUtf8(rest.mid(nul + 1))};
}

inline QString CheckOtherKeysKept(const QString& before, const QString& after, const keys::Key& assigned)
{
    for (const keys::Key& other : ProgramKeys()) {
        if (other.sectionText() == assigned.sectionText() && other.keyText() == assigned.keyText())
            continue;
        if (LookupKey(before, other) != LookupKey(after, other))
            return QStringLiteral("writing %1/%2 changed %3/%4")
                .arg(assigned.sectionText(), assigned.keyText(), other.sectionText(), other.keyText());
    }
    return {};
}

// After a write the key reads as the value written, in the text and in the file the
// store writes; every other key reads as before.
inline QString CheckIni(const QByteArray& input)
{
    const IniInput in = SplitIniInput(input);
    const QString text = ini::DecodeFile(in.file);
    const QString written = ini::Assign(text, in.key.sectionText(), in.key.keyText(), in.value);
    const QString expected = StoredForm(in.value);
    if (LookupKey(written, in.key) != expected)
        return QStringLiteral("the value written does not read back");
    if (LookupKey(ini::DecodeFile(written.toUtf8()), in.key) != expected)
        return QStringLiteral("the value written does not read back from the file");
    return CheckOtherKeysKept(text, written, in.key);
}

} // namespace stolvar::fuzz
