#pragma once

#include <QByteArray>
#include <QString>

namespace stolvar {

// The keys derived for the files' salts, kept between starts. Deriving a file's key takes
// 30–40 ms of every opening (64,000 rounds of PBKDF2), and the passphrase is the program's
// own, so a salt's key is the same at every start: the first opening of a file derives it,
// later ones read it here. A key from the cache is only a guess: SQLCipher authenticates
// every page it reads, so a wrong key fails to open the file and the key is derived again.
// The file holds one line per salt, "<salt in hex> <key in hex>", the most recent first;
// it is readable by its owner only and may be deleted at any time.

// Where the keys are kept; an empty path (the default) keeps none. Set before any file is
// opened.
void UseKeyCache(const QString& file);

// The program's place for it: the user's cache folder.
QString DefaultKeyCacheFile();

// The key remembered for `salt`, or empty.
QByteArray CachedKey(const QByteArray& salt);

// Remembers the key of `salt` first in line; the oldest of more than kMaxCachedKeys go.
// A cache that cannot be written is left as it is: it costs the next opening the time.
void RememberKey(const QByteArray& salt, const QByteArray& key);
void ForgetKey(const QByteArray& salt);

inline constexpr int kMaxCachedKeys = 32;

} // namespace stolvar
