#include "formats/textdecode.h"

#include <QStringDecoder>

#include <uchardet/uchardet.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>

namespace glyvex::formats {

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
        if (QChar::isHighSurrogate(u) && i + 1 < units && QChar::isLowSurrogate(unitAt(i + 1))) {
            *out++ = u;
            *out++ = unitAt(i + 1);
            i += 2;
            continue;
        }
        *out++ = QChar::isSurrogate(u) ? kReplacement : u;
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

// Qt's UTF-8 decoder, which also tells how many malformed sequences it replaced and how many
// bytes of a sequence it holds back, waiting for the rest.
class Utf8Decoder : public QStringDecoder {
public:
    // A U+FEFF at the start is text: any mark was taken off.
    explicit Utf8Decoder(QStringConverter::Flags flags = {})
        : QStringDecoder(QStringConverter::Utf8, flags | QStringConverter::Flag::ConvertInitialBom)
    {
    }
    qsizetype malformed() const { return state.invalidChars; }
    qsizetype heldBack() const { return state.remainingChars; }
};

// Characters other than ASCII in [from, to), a surrogate pair counting once.
qsizetype nonAscii(const QChar* from, const QChar* to)
{
    return std::count_if(from, to, [](QChar c) { return c.unicode() >= 0x80 && !c.isLowSurrogate(); });
}

// The decoded text if the bytes are UTF-8 as far as the threshold above goes. The bytes are
// read in pieces, so that a file in a legacy encoding is given up on early.
std::optional<QString> readAsUtf8(QByteArrayView bytes)
{
    constexpr qsizetype kPiece = 64 * 1024;
    const qsizetype n = bytes.size();
    Utf8Decoder decoder;
    QString text(n + 1, Qt::Uninitialized); // never more units than bytes, and a U+FFFD
    QChar* const begin = text.data();
    QChar* out = begin;
    QChar* counted = begin;
    qsizetype multiByte = 0; // good multi-byte sequences and U+FFFDs, counted once there are faults
    for (qsizetype at = 0; at < n; at += kPiece) {
        out = decoder.appendToBuffer(out, bytes.sliced(at, std::min(kPiece, n - at)));
        const qsizetype broken = decoder.malformed();
        if (broken == 0)
            continue;
        multiByte += nonAscii(counted, out);
        counted = out;
        // Give up once even a rest made of nothing but 2-byte sequences could not make it.
        const qsizetype left = n - std::min(n, at + kPiece);
        if (broken * kGoodPerBroken > multiByte - broken + left / 2)
            return std::nullopt;
    }
    // A sequence cut by the end is one U+FFFD. Alone it is forgiven unless it could be a legacy
    // letter ending a legacy text ("caf\xE9"): it must have a continuation byte, or the rest
    // must have multi-byte sequences.
    const qsizetype cut = decoder.heldBack();
    const qsizetype broken = decoder.malformed();
    if (broken > 0 || cut > 0) {
        multiByte += nonAscii(counted, out);
        const qsizetype good = multiByte - broken;
        if (broken == 0 ? cut < 2 && good == 0 : broken * kGoodPerBroken > good)
            return std::nullopt;
    }
    if (cut > 0)
        *out++ = QChar(kReplacement);
    text.truncate(out - begin);
    return text;
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

// Whether the detector's name is that of an encoding with one character per byte and no state.
bool isSingleByte(const QByteArray& name)
{
    for (const char* family : {"ISO-8859-", "WINDOWS-125", "KOI8-", "IBM8", "MAC-", "TIS-620"}) {
        if (name.startsWith(family))
            return true;
    }
    return false;
}

// The bytes in a single-byte encoding, through the 256 characters Qt's converter gives for
// them: the same text as the converter's own (which goes through ICU about ten times slower).
QString decodeSingleByte(QByteArrayView bytes, QStringDecoder& decoder)
{
    char all[256];
    for (int b = 0; b < 256; ++b)
        all[b] = char(b);
    const QString table = decoder.decode(QByteArrayView(all, 256));
    if (table.size() != 256 || !table.isValidUtf16())
        return decoder.decode(bytes); // not one unit per byte after all
    const char16_t* map = reinterpret_cast<const char16_t*>(table.constData());
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char c : bytes)
        *out++ = map[static_cast<unsigned char>(c)];
    return text;
}

// Text in a legacy encoding: the one the detector names, or else Windows-1252.
QString decodeLegacy(QByteArrayView bytes)
{
    QByteArray name = detectEncodingName(bytes);
    if (name == "UTF-8") // more broken sequences than the threshold allows, but still UTF-8
        return Utf8Decoder(QStringConverter::Flag::Stateless).decode(bytes);
    QStringDecoder decoder;
    if (!name.isEmpty() && !isUnicodeOrAscii(name))
        decoder = QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
    if (!decoder.isValid()) {
        name = "WINDOWS-1252";
        decoder = QStringDecoder(name.constData(), QStringConverter::Flag::Stateless);
    }
    if (!decoder.isValid()) // a Qt without ICU
        return QString::fromLatin1(bytes);
    return isSingleByte(name) ? decodeSingleByte(bytes, decoder) : decoder.decode(bytes);
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
    if (startsWith(p, n, {0xEF, 0xBB, 0xBF}))
        return Utf8Decoder(QStringConverter::Flag::Stateless).decode(QByteArrayView(bytes).sliced(3));
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

} // namespace glyvex::formats
