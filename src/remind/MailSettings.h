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

// Placeholders written at the first run; the clerk enters the real account in the dialog.
MailSettings DefaultMailSettings();

// Reads the store; creates it with the defaults when the file does not exist. A file
// that exists but cannot be read (another key, no database, no access) is left alone:
// the defaults are returned and `error` says why.
MailSettings LoadMailSettings(const QString& path, QString* error = nullptr);

// Each writes its fields of the one row (creating the store when missing); false with
// a reason when nothing could be written.
bool SaveMailServer(const QString& path, const QString& server, int port, const QString& user,
                    const QString& password, QString* error = nullptr);
bool SaveMailRecipients(const QString& path, const QString& recipients, QString* error = nullptr);

constexpr int kMinimumPort = 1;
constexpr int kMaximumPort = 65535;

} // namespace stolvar
