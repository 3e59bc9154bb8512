#pragma once

#include <QByteArray>
#include <QString>

namespace stolvar {

// The key of an existing database file, derived here instead of by SQLCipher. A file's
// encryption key is PBKDF2-HMAC-SHA1 of the passphrase and the file's salt (its first
// 16 bytes), 64,000 rounds, 32 bytes: the derivation is the longest single step of opening
// a register. libgcrypt does it in half the time SQLCipher takes through OpenSSL, and an
// opening waits for it unless the key is remembered (db/KeyCache.h). Opened with this key,
// SQLCipher reads the file exactly as with the passphrase.

// A file's salt and key, in bytes.
inline constexpr int kDatabaseSaltLength = 16;
inline constexpr int kDatabaseKeyLength = 32;

// The salt of a database file; empty when the file is shorter (new and empty) or unreadable.
QByteArray ReadDatabaseSalt(const QString& path);

// The 32-byte key for `passphrase` and `salt`; empty when the derivation failed.
QByteArray DeriveDatabaseKey(const QByteArray& passphrase, const QByteArray& salt);

// The PRAGMA that opens a file with a derived key (SQLCipher's raw key form).
QString RawKeyPragma(const QByteArray& key);

// PBKDF2-HMAC-SHA1 with any parameters (the derivation above, and its checks).
QByteArray Pbkdf2Sha1(const QByteArray& passphrase, const QByteArray& salt, int rounds, int length);

} // namespace stolvar
