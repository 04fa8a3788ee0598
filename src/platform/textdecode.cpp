#include "platform/textdecode.h"

#include <QStringDecoder>

#include <algorithm>
#include <array>
#include <cstring>

namespace glyvex {

namespace {

using Bytes = const unsigned char*;

constexpr char16_t kReplacement = 0xFFFD;

// Windows-1252 0x80..0x9F; the unassigned bytes stay C1 controls.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeCp1252Table()
{
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b)
        table[b] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char16_t(b);
    return table;
}

constexpr std::array<char16_t, 256> kCp1252 = makeCp1252Table();

bool startsWith(Bytes p, qsizetype n, std::initializer_list<unsigned char> mark)
{
    if (n < qsizetype(mark.size()))
        return false;
    return std::equal(mark.begin(), mark.end(), p);
}

// Well-formed UTF-8 as the Unicode standard defines it (table 3-7).
bool isStrictUtf8(Bytes p, qsizetype n)
{
    qsizetype i = 0;
    while (i < n) {
        while (n - i >= 8) {
            quint64 word;
            std::memcpy(&word, p + i, 8);
            if (word & 0x8080808080808080ULL)
                break;
            i += 8;
        }
        if (i >= n)
            break;
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c == 0xE0) {
            length = 3;
            low = 0xA0;
        } else if ((c >= 0xE1 && c <= 0xEC) || c == 0xEE || c == 0xEF) {
            length = 3;
        } else if (c == 0xED) {
            length = 3;
            high = 0x9F;
        } else if (c == 0xF0) {
            length = 4;
            low = 0x90;
        } else if (c >= 0xF1 && c <= 0xF3) {
            length = 4;
        } else if (c == 0xF4) {
            length = 4;
            high = 0x8F;
        } else {
            return false;
        }
        if (n - i < length)
            return false;
        if (p[i + 1] < low || p[i + 1] > high)
            return false;
        for (int k = 2; k < length; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += length;
    }
    return true;
}

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

QString decodeUtf8(Bytes p, qsizetype n)
{
    // The caller has dealt with any mark; a further U+FEFF is text.
    QStringDecoder decoder(QStringConverter::Utf8,
                           QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(p, n));
}

QString decodeUtf16(Bytes p, qsizetype n, bool littleEndian)
{
    const qsizetype units = n / 2;
    const bool partial = (n % 2) != 0;
    QString result(units + (partial ? 1 : 0), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    auto unitAt = [p, littleEndian](qsizetype i) -> char16_t {
        const unsigned char a = p[2 * i];
        const unsigned char b = p[2 * i + 1];
        return littleEndian ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
    };
    qsizetype i = 0;
    while (i < units) {
        const char16_t u = unitAt(i);
        if (isHighSurrogate(u) && i + 1 < units && isLowSurrogate(unitAt(i + 1))) {
            *out++ = u;
            *out++ = unitAt(i + 1);
            i += 2;
            continue;
        }
        *out++ = (isHighSurrogate(u) || isLowSurrogate(u)) ? kReplacement : u;
        ++i;
    }
    if (partial)
        *out++ = kReplacement;
    return result;
}

QString decodeUtf32(Bytes p, qsizetype n, bool littleEndian)
{
    const qsizetype units = n / 4;
    const bool partial = (n % 4) != 0;
    QString result(2 * units + (partial ? 1 : 0), Qt::Uninitialized);
    char16_t* const begin = reinterpret_cast<char16_t*>(result.data());
    char16_t* out = begin;
    for (qsizetype i = 0; i < units; ++i) {
        Bytes q = p + 4 * i;
        const char32_t c = littleEndian
                ? char32_t(q[0]) | char32_t(q[1]) << 8 | char32_t(q[2]) << 16 | char32_t(q[3]) << 24
                : char32_t(q[3]) | char32_t(q[2]) << 8 | char32_t(q[1]) << 16 | char32_t(q[0]) << 24;
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            *out++ = kReplacement;
        } else if (c >= 0x10000) {
            *out++ = char16_t(0xD800 + ((c - 0x10000) >> 10));
            *out++ = char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            *out++ = char16_t(c);
        }
    }
    if (partial)
        *out++ = kReplacement;
    result.resize(out - begin);
    return result;
}

QString decodeCp1252(Bytes p, qsizetype n)
{
    QString result(n, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < n; ++i)
        out[i] = kCp1252[p[i]];
    return result;
}

// How many bytes of mark the encoding has, given that the bytes start with one.
qsizetype markLength(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom: return 3;
    case TextEncoding::Utf16LeBom:
    case TextEncoding::Utf16BeBom: return 2;
    case TextEncoding::Utf32LeBom:
    case TextEncoding::Utf32BeBom: return 4;
    default: return 0;
    }
}

bool hasMark(Bytes p, qsizetype n, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8Bom: return startsWith(p, n, {0xEF, 0xBB, 0xBF});
    case TextEncoding::Utf16LeBom: return startsWith(p, n, {0xFF, 0xFE});
    case TextEncoding::Utf16BeBom: return startsWith(p, n, {0xFE, 0xFF});
    case TextEncoding::Utf32LeBom: return startsWith(p, n, {0xFF, 0xFE, 0x00, 0x00});
    case TextEncoding::Utf32BeBom: return startsWith(p, n, {0x00, 0x00, 0xFE, 0xFF});
    default: return false;
    }
}

} // namespace

TextEncoding detectEncoding(const QByteArray& bytes)
{
    Bytes p = reinterpret_cast<Bytes>(bytes.constData());
    const qsizetype n = bytes.size();

    for (TextEncoding marked : {TextEncoding::Utf32LeBom, TextEncoding::Utf32BeBom, TextEncoding::Utf8Bom,
                                TextEncoding::Utf16LeBom, TextEncoding::Utf16BeBom}) {
        if (hasMark(p, n, marked))
            return marked;
    }

    // Latin text in UTF-16 has a NUL in every other byte; text in the 8-bit
    // encodings practically never has NULs, and binary data spreads them over
    // both positions.
    const qsizetype pairs = std::min<qsizetype>(n, 4096) / 2;
    qsizetype evenNuls = 0;
    qsizetype oddNuls = 0;
    for (qsizetype i = 0; i < pairs; ++i) {
        evenNuls += p[2 * i] == 0;
        oddNuls += p[2 * i + 1] == 0;
    }
    const qsizetype dominant = std::max(evenNuls, oddNuls);
    const qsizetype minor = std::min(evenNuls, oddNuls);
    if (dominant >= 2 && dominant * 16 >= pairs && minor * 4 <= dominant)
        return oddNuls > evenNuls ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;

    return isStrictUtf8(p, n) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

QString decodeText(const QByteArray& bytes, TextEncoding encoding)
{
    Bytes p = reinterpret_cast<Bytes>(bytes.constData());
    qsizetype n = bytes.size();
    if (hasMark(p, n, encoding)) {
        const qsizetype skip = markLength(encoding);
        p += skip;
        n -= skip;
    }
    switch (encoding) {
    case TextEncoding::Utf8Bom:
    case TextEncoding::Utf8: return decodeUtf8(p, n);
    case TextEncoding::Utf16LeBom:
    case TextEncoding::Utf16Le: return decodeUtf16(p, n, true);
    case TextEncoding::Utf16BeBom:
    case TextEncoding::Utf16Be: return decodeUtf16(p, n, false);
    case TextEncoding::Utf32LeBom: return decodeUtf32(p, n, true);
    case TextEncoding::Utf32BeBom: return decodeUtf32(p, n, false);
    case TextEncoding::Windows1252: return decodeCp1252(p, n);
    }
    return decodeCp1252(p, n);
}

QString decodeText(const QByteArray& bytes, TextEncoding* used)
{
    const TextEncoding encoding = detectEncoding(bytes);
    if (used)
        *used = encoding;
    return decodeText(bytes, encoding);
}

} // namespace glyvex
