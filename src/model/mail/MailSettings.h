#pragma once

#include <QString>

namespace stolvar {

// The SMTP account and the recipient list, kept in the password-protected store `help`
// in the program folder: one table `help`, exactly one row.
struct MailSettings {
    QString server;
    int port = 25;
    QString user;
    QString password;
    QString recipients;  // addresses separated by ";" or ","

    bool operator==(const MailSettings&) const = default;
};

// What earlier sendings taught about the server, kept in the same row; cleared when the
// server settings are saved.
struct MailSecurity {
    bool tlsSeen = false;    // 加密记录: the server spoke TLS
    QString certificatePin;  // 证书指纹: SHA-256 (hex) of the certificate pinned

    bool operator==(const MailSecurity&) const = default;
};

// Placeholders written at the first run; the clerk enters the real account in the dialog.
MailSettings DefaultMailSettings();

// Reads the store; creates it (owner-only) with the defaults when the file does not exist.
// An existing file is opened for reading only and never written, so a read-only store
// reads. A file that cannot be read (another key, no database, no access) is left alone:
// the defaults are returned and `error` says why.
// `security` (when given) receives what earlier sendings taught.
MailSettings LoadMailSettings(const QString& path, QString* error = nullptr, MailSecurity* security = nullptr);

// Each writes its fields of the one row (creating the store when missing); false with
// a reason when nothing could be written. Saving the server clears what earlier sendings
// taught about the old one.
bool SaveMailServer(const QString& path, const QString& server, int port, const QString& user,
                    const QString& password, QString* error = nullptr);
bool SaveMailRecipients(const QString& path, const QString& recipients, QString* error = nullptr);
bool SaveMailSecurity(const QString& path, const MailSecurity& security, QString* error = nullptr);

constexpr int kMinimumPort = 1;
constexpr int kMaximumPort = 65535;

} // namespace stolvar
