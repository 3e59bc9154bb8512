#include "core/Gbk.h"

#include <QList>

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

namespace {

// UTF-32 input, so that one failing unit is one character.
QByteArray EncodeFromUtf32(const char* to, const QString& text, bool* complete)
{
    QByteArray utf32;
    utf32.reserve(text.size() * 4);
    for (char32_t c : text.toUcs4()) {
        for (int shift = 0; shift < 32; shift += 8)
            utf32.append(char((c >> shift) & 0xFF));
    }
    return Convert(to, "UTF-32LE", utf32, 4, QByteArray("?"), complete);
}

} // namespace

QByteArray EncodeGbk(const QString& text, bool* complete)
{
    return EncodeFromUtf32("GBK", text, complete);
}

QByteArray EncodeGb18030(const QString& text, bool* complete)
{
    return EncodeFromUtf32("GB18030", text, complete);
}

bool FitsGb2312(const QString& text)
{
    bool complete = false;
    EncodeFromUtf32("GB2312", text, &complete);
    return complete;
}

QString DecodeGbk(const QByteArray& bytes)
{
    const QByteArray utf8 = Convert("UTF-8", "GB18030", bytes, 1, QByteArray("\xEF\xBF\xBD"), nullptr);
    return QString::fromUtf8(utf8);
}

bool IsValidUtf8(const QByteArray& bytes)
{
    // Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        int extra = 0;
        char32_t min = 0, value = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, value = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, value = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, value = c & 0x07;
        } else {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= n || (p[i + k] & 0xC0) != 0x80)
                return false;
            value = (value << 6) | (p[i + k] & 0x3F);
        }
        if (value < min || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace stolvar
