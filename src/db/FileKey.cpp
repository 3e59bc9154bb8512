#include "db/FileKey.h"

#include <QFile>

#include <gcrypt.h>

namespace stolvar {

namespace {

constexpr int kKeyRounds = 64000;

// libgcrypt wants to be initialised once before its first use; the program keeps no
// secrets in its memory worth the locked pool.
void InitialiseOnce()
{
    static const bool ready = [] {
        gcry_check_version(nullptr);
        gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
        gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        return true;
    }();
    (void)ready;
}

} // namespace

QByteArray ReadDatabaseSalt(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray salt = file.read(kDatabaseSaltLength);
    return salt.size() == kDatabaseSaltLength ? salt : QByteArray();
}

QByteArray Pbkdf2Sha1(const QByteArray& passphrase, const QByteArray& salt, int rounds, int length)
{
    InitialiseOnce();
    QByteArray key(length, Qt::Uninitialized);
    const gpg_error_t rc = gcry_kdf_derive(passphrase.constData(), size_t(passphrase.size()), GCRY_KDF_PBKDF2,
                                           GCRY_MD_SHA1, salt.constData(), size_t(salt.size()), rounds,
                                           size_t(length), key.data());
    return rc == 0 ? key : QByteArray();
}

QByteArray DeriveDatabaseKey(const QByteArray& passphrase, const QByteArray& salt)
{
    return Pbkdf2Sha1(passphrase, salt, kKeyRounds, kDatabaseKeyLength);
}

QString RawKeyPragma(const QByteArray& key)
{
    return QStringLiteral("PRAGMA key = \"x'%1'\"").arg(QString::fromLatin1(key.toHex()));
}

} // namespace stolvar
