#include "core/model/codepage874.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace varnoth::cp874
{

namespace
{

// The byte of each character U+0E00..U+0E7F (the Thai block), 0 where the code page has none.
const std::array<unsigned char, 128>& thaiBytes()
{
    static const std::array<unsigned char, 128> bytes = [] {
        std::array<unsigned char, 128> b{};
        for (int i = 0; i < 128; ++i)
            if (HighHalf[i] >= 0x0E00 && HighHalf[i] < 0x0E80)
                b[HighHalf[i] - 0x0E00] = static_cast<unsigned char>(0x80 + i);
        return b;
    }();
    return bytes;
}

// The byte of a character at or above U+0080, or -1.
int byteOf(char16_t c)
{
    if (c >= 0x0E00 && c < 0x0E80) {
        const unsigned char b = thaiBytes()[c - 0x0E00];
        return b ? b : -1;
    }
    for (int i = 0; i < 128; ++i)
        if (HighHalf[i] == c) return 0x80 + i;
    return -1;
}

bool dropped(char32_t c)
{
    for (int i = 0; i < DroppedCount; ++i)
        if (c >= Dropped[i].first && c <= Dropped[i].last) return true;
    return false;
}

} // namespace

QString decode(QByteArrayView bytes)
{
    QString s(bytes.size(), Qt::Uninitialized);
    char16_t* to = reinterpret_cast<char16_t*>(s.data());
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        // Nearly all of a data file is ASCII: eight bytes at a time while none has its high bit.
        while (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, sizeof word);
            if (word & 0x8080808080808080ULL) break;
            for (int i = 0; i < 8; ++i)
                to[i] = static_cast<unsigned char>(p[i]);
            p += 8;
            to += 8;
        }
        const char* const stop = std::min(end, p + 8);
        for (; p < stop; ++p) {
            const auto b = static_cast<unsigned char>(*p);
            *to++ = b < 0x80 ? b : HighHalf[b - 0x80];
        }
    }
    return s;
}

QByteArray encode(QStringView text, bool* ok)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* to = out.data();
    bool clean = true;
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    while (p < end) {
        const char16_t c = *p++;
        if (c < 0x80) {
            *to++ = static_cast<char>(c);
            continue;
        }
        if (const int b = byteOf(c); b >= 0) {
            *to++ = static_cast<char>(b);
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c)) {
            // A high surrogate that ends the text waits for its other half and is left out
            // without an error, as the ICU codec does.
            if (p == end) break;
            if (QChar::isLowSurrogate(*p)) code = QChar::surrogateToUcs4(c, *p++);
        }
        clean = false;
        if (!dropped(code)) *to++ = '?';
    }
    out.truncate(to - out.constData());
    if (ok) *ok = clean;
    return out;
}

bool selfCheck()
{
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        bool ok = false;
        if (encode(decode(QByteArrayView(&byte, 1)), &ok) != QByteArrayView(&byte, 1) || !ok) return false;
    }
    return true;
}

} // namespace varnoth::cp874
