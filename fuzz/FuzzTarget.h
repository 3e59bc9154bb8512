#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace stolvar::fuzz {

using Check = QString (*)(const QByteArray& input);

// Runs one input through a check; a broken invariant aborts, so libFuzzer keeps the
// input as a crash. The input is copied: the product code always gets a QByteArray
// that owns its (terminated) bytes, as it does from a file or a socket.
inline int RunCheck(const uint8_t* data, size_t size, Check check)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString broken = check(input);
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "invariant broken: %s\n", broken.toUtf8().constData());
        std::abort();
    }
    return 0;
}

} // namespace stolvar::fuzz
