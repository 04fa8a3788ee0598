#include "platform/textdecode.h"

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace glyvex {

namespace {

using Bytes = const unsigned char*;

constexpr char16_t kReplacement = 0xFFFD;

// A UTF-8 file with broken sequences is still read as UTF-8 (each broken sequence one U+FFFD)
// when there is at most one broken sequence for this many well-formed multi-byte ones. Text in
// a legacy encoding seldom forms a valid multi-byte sequence by chance (a byte C2..F4 followed
// by the right number of bytes 80..BF): Latin, Cyrillic and Greek texts hardly ever, and even
// EUC and GB texts, which do now and then, have several broken sequences for each good one.
// A UTF-8 text with a stray byte or two has dozens of good ones for each.
constexpr qsizetype kGoodPerBroken = 16;

// uchardet reads a few kilobytes of text in milliseconds, but it runs over everything it is
// given unless it makes up its mind early: seconds for 10 MiB of Latin text, and longer for
// binary data. It is given the lines that hold non-ASCII bytes, in order, up to this many bytes
// in all: far more than it needs for a sure answer on text.
constexpr qsizetype kDetectorSample = 32 * 1024;

// Detector names that Qt's converters know by another name.
constexpr struct {
    const char* detector;
    const char* qt;
} kAliases[] = {
    {"UHC", "CP949"}, // EUC-KR with Microsoft's extension
};

// Detector answers that are not used as such: these encodings were ruled out before the
// detector was asked (and "ASCII" cannot hold the bytes that made it be asked).
bool isUnicodeOrAscii(const QByteArray& name)
{
    return name == "ASCII" || name.startsWith("UTF-") || name.startsWith("X-ISO-10646");
}

bool startsWith(Bytes p, qsizetype n, std::initializer_list<unsigned char> mark)
{
    if (n < qsizetype(mark.size()))
        return false;
    return std::equal(mark.begin(), mark.end(), p);
}

bool isHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

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

// Qt's UTF-8 decoder, which also counts the malformed sequences it replaced.
class Utf8Decoder : public QStringDecoder {
public:
    // Every call reads a whole text; a U+FEFF at its start is text (any mark was taken off).
    Utf8Decoder()
        : QStringDecoder(QStringConverter::Utf8,
                         QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom)
    {
    }
    qsizetype malformed() const { return state.invalidChars; }
};

// The length of a UTF-8 sequence that was begun and cut short by the end of the bytes (a lead
// byte and the continuation bytes after it, as far as they go, all allowed there), or 0.
qsizetype cutSequenceAtEnd(QByteArrayView bytes)
{
    const qsizetype n = bytes.size();
    for (qsizetype length = 1; length <= 3 && length <= n; ++length) {
        const unsigned char lead = bytes[n - length];
        if (lead >= 0x80 && lead <= 0xBF)
            continue; // a continuation byte: the lead lies further back
        if (lead < 0xC2 || lead > 0xF4)
            return 0;
        const qsizetype full = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (length >= full)
            return 0;
        // Lenient Qt with state: a valid beginning gives no text and no error.
        QStringDecoder partial(QStringConverter::Utf8);
        const QString text = partial.decode(bytes.sliced(n - length));
        return text.isEmpty() && !partial.hasError() ? length : 0;
    }
    return 0;
}

// Characters other than ASCII in the text, a surrogate pair counting once.
qsizetype nonAscii(const QString& text)
{
    return std::count_if(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() >= 0x80 && !c.isLowSurrogate(); });
}

// The decoded text if the bytes are UTF-8 as far as the threshold above goes.
std::optional<QString> readAsUtf8(QByteArrayView bytes)
{
    Utf8Decoder decoder;
    QString text = decoder.decode(bytes);
    if (decoder.malformed() == 0)
        return text;
    // A sequence cut by the end becomes one U+FFFD (Qt gives one for each of its bytes). Alone it
    // is forgiven unless it could be a legacy letter ending a legacy text ("caf\xE9"): it must
    // have a continuation byte, or the rest must have multi-byte sequences.
    const qsizetype cut = cutSequenceAtEnd(bytes);
    if (cut > 0) {
        decoder.resetState();
        text = decoder.decode(bytes.first(bytes.size() - cut));
        text += QChar(kReplacement);
    }
    const qsizetype broken = decoder.malformed();
    const qsizetype good = nonAscii(text) - broken - (cut > 0 ? 1 : 0);
    if (broken == 0 ? cut > 1 || good > 0 : broken * kGoodPerBroken <= good)
        return text;
    return std::nullopt;
}

// The lines of the bytes that hold non-ASCII bytes, up to kDetectorSample bytes in all.
QByteArray detectorSample(QByteArrayView bytes)
{
    if (bytes.size() <= kDetectorSample)
        return bytes.toByteArray();
    QByteArray sample;
    sample.reserve(kDetectorSample);
    Bytes p = reinterpret_cast<Bytes>(bytes.data());
    const qsizetype n = bytes.size();
    for (qsizetype start = 0; start < n && sample.size() < kDetectorSample;) {
        const void* newline = std::memchr(p + start, '\n', size_t(n - start));
        const qsizetype end = newline ? static_cast<Bytes>(newline) - p + 1 : n;
        if (std::any_of(p + start, p + end, [](unsigned char c) { return c >= 0x80; }))
            sample.append(bytes.sliced(start, std::min(end - start, kDetectorSample - sample.size())));
        start = end;
    }
    return sample;
}

// The name of the encoding uchardet finds, or an empty one.
QByteArray detectEncodingName(QByteArrayView bytes)
{
    const QByteArray sample = detectorSample(bytes);
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, void (*)(uchardet_t)> detector(uchardet_new(),
                                                                                            uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), sample.constData(), size_t(sample.size())) != 0)
        return QByteArray();
    uchardet_data_end(detector.get());
    QByteArray name(uchardet_get_charset(detector.get()));
    for (const auto& alias : kAliases) {
        if (name == alias.detector)
            name = alias.qt;
    }
    return name;
}

// Text in a legacy encoding: the one the detector names, or else Windows-1252.
QString decodeLegacy(QByteArrayView bytes)
{
    const QByteArray name = detectEncodingName(bytes);
    if (name == "UTF-8") // more broken sequences than the threshold allows, but still UTF-8
        return Utf8Decoder().decode(bytes);
    QStringDecoder decoder;
    if (!name.isEmpty() && !isUnicodeOrAscii(name))
        decoder = QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid())
        decoder = QStringDecoder("windows-1252", QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) // a Qt without ICU
        decoder = QStringDecoder(QStringConverter::Latin1, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

bool hasUtf16Nuls(Bytes p, qsizetype n, bool* littleEndian)
{
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
    *littleEndian = oddNuls > evenNuls;
    return dominant >= 2 && dominant * 16 >= pairs && minor * 4 <= dominant;
}

} // namespace

QString decodeText(const QByteArray& bytes)
{
    Bytes p = reinterpret_cast<Bytes>(bytes.constData());
    const qsizetype n = bytes.size();

    // UTF-32 LE first: its mark begins with UTF-16 LE's.
    if (startsWith(p, n, {0xFF, 0xFE, 0x00, 0x00}))
        return decodeUtf32(p + 4, n - 4, true);
    if (startsWith(p, n, {0x00, 0x00, 0xFE, 0xFF}))
        return decodeUtf32(p + 4, n - 4, false);
    if (startsWith(p, n, {0xEF, 0xBB, 0xBF})) {
        Utf8Decoder decoder;
        return decoder.decode(QByteArrayView(bytes).sliced(3));
    }
    if (startsWith(p, n, {0xFF, 0xFE}))
        return decodeUtf16(p + 2, n - 2, true);
    if (startsWith(p, n, {0xFE, 0xFF}))
        return decodeUtf16(p + 2, n - 2, false);

    bool littleEndian = false;
    if (hasUtf16Nuls(p, n, &littleEndian))
        return decodeUtf16(p, n, littleEndian);

    if (std::optional<QString> utf8 = readAsUtf8(bytes))
        return *std::move(utf8);
    return decodeLegacy(bytes);
}

} // namespace glyvex
