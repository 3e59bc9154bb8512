#include "app/Gbk.h"

#include <QList>
#include <QStringDecoder>

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace stolvar {

namespace {

struct IconvCloser {
    void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle OpenIconv(const char* to, const char* from)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(cd);
}

// Converts with iconv; an input sequence that cannot be converted is replaced by
// `replacement` and `complete` is cleared. `unitSize` is the size of one input unit.
QByteArray Convert(const char* to, const char* from, const QByteArray& input, int unitSize,
                   const QByteArray& replacement, bool* complete)
{
    if (complete)
        *complete = true;
    IconvHandle handle = OpenIconv(to, from);
    if (!handle)
        return {};
    auto cd = static_cast<iconv_t>(handle.get());
    QByteArray output;
    output.reserve(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = size_t(input.size());
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof buffer;
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer, qsizetype(out - buffer));
        if (rc != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: skip one unit and mark the gap.
        if (complete)
            *complete = false;
        output.append(replacement);
        const size_t skip = std::min<size_t>(size_t(unitSize), inLeft);
        in += skip;
        inLeft -= skip;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return output;
}

} // namespace

QByteArray EncodeGbk(const QString& text, bool* complete)
{
    // Feed UTF-32 so that one failing unit is one character.
    QByteArray utf32;
    utf32.reserve(text.size() * 4);
    for (char32_t c : text.toUcs4()) {
        for (int shift = 0; shift < 32; shift += 8)
            utf32.append(char((c >> shift) & 0xFF));
    }
    return Convert("GBK", "UTF-32LE", utf32, 4, QByteArray("?"), complete);
}

QString DecodeGbk(const QByteArray& bytes)
{
    const QByteArray utf8 = Convert("UTF-8", "GB18030", bytes, 1, QByteArray("\xEF\xBF\xBD"), nullptr);
    return QString::fromUtf8(utf8);
}

bool IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

} // namespace stolvar
