#include "formats/rtfwriter.h"

#include <QIODevice>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace glyvex::formats {

namespace {

constexpr qsizetype kWrapColumn = 200;
// Input is encoded this many UTF-16 units at a time ...
constexpr qsizetype kChunkUnits = 16 * 1024;
// ... each of which takes at most this many output bytes (a pending
// replacement character, a line break and a \uN\'hh group each).
constexpr qsizetype kMaxBytesPerUnit = 32;
// Room for what finish() adds.
constexpr qsizetype kTailBytes = 64;
// The device gets the output once this much has gathered.
constexpr qsizetype kFlushBytes = 256 * 1024;

constexpr char16_t kReplacement = 0xFFFD;

bool isDroppedControl(char16_t u) { return u < 0x20 || (u >= 0x7F && u <= 0x9F); }

// The Windows-1252 byte for a UTF-16 unit, or '?' where 1252 has none.
unsigned char cp1252Byte(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<unsigned char>(u);
    switch (u) {
    case 0x20AC:
        return 0x80;
    case 0x201A:
        return 0x82;
    case 0x0192:
        return 0x83;
    case 0x201E:
        return 0x84;
    case 0x2026:
        return 0x85;
    case 0x2020:
        return 0x86;
    case 0x2021:
        return 0x87;
    case 0x02C6:
        return 0x88;
    case 0x2030:
        return 0x89;
    case 0x0160:
        return 0x8A;
    case 0x2039:
        return 0x8B;
    case 0x0152:
        return 0x8C;
    case 0x017D:
        return 0x8E;
    case 0x2018:
        return 0x91;
    case 0x2019:
        return 0x92;
    case 0x201C:
        return 0x93;
    case 0x201D:
        return 0x94;
    case 0x2022:
        return 0x95;
    case 0x2013:
        return 0x96;
    case 0x2014:
        return 0x97;
    case 0x02DC:
        return 0x98;
    case 0x2122:
        return 0x99;
    case 0x0161:
        return 0x9A;
    case 0x203A:
        return 0x9B;
    case 0x0153:
        return 0x9C;
    case 0x017E:
        return 0x9E;
    case 0x0178:
        return 0x9F;
    default:
        return '?';
    }
}

// Writes \uN\'hh for one UTF-16 unit; at most 11 bytes.
char* putUnicode(char* p, char16_t u)
{
    static constexpr char kHex[] = "0123456789abcdef";
    *p++ = '\\';
    *p++ = 'u';
    const int value = u > 0x7FFF ? int(u) - 0x10000 : int(u);
    p = std::to_chars(p, p + 8, value).ptr;
    const unsigned char byte = cp1252Byte(u);
    *p++ = '\\';
    *p++ = '\'';
    *p++ = kHex[byte >> 4];
    *p++ = kHex[byte & 0xF];
    return p;
}

// Makes room for `extra` more bytes at the end of `out`, growing
// geometrically, and returns where they start.
char* growBy(QByteArray& out, qsizetype extra)
{
    const qsizetype used = out.size();
    if (used + extra > out.capacity())
        out.reserve(std::max(used + extra, out.capacity() * 2));
    out.resize(used + extra);
    return out.data() + used;
}

// Turns the body text into RTF, keeping what it needs between pieces.
class BodyEncoder {
public:
    explicit BodyEncoder(qsizetype column)
        : m_column(column)
    {
    }

    void encode(QStringView text, QByteArray& out)
    {
        for (qsizetype start = 0; start < text.size(); start += kChunkUnits) {
            const qsizetype count = std::min(kChunkUnits, text.size() - start);
            encodeChunk(text.data() + start, count, out);
        }
    }

    void finish(QByteArray& out)
    {
        const qsizetype before = out.size();
        begin(out, kTailBytes);
        if (m_pendingHigh) {
            unicode(kReplacement);
            m_pendingHigh = 0;
        }
        controlWord("par");
        *m_p++ = '}';
        end(out, before + kTailBytes);
    }

private:
    void encodeChunk(const QChar* text, qsizetype count, QByteArray& out)
    {
        const qsizetype reserved = count * kMaxBytesPerUnit;
        const qsizetype before = out.size();
        begin(out, reserved);
        for (qsizetype i = 0; i < count; ++i)
            put(text[i].unicode());
        end(out, before + reserved);
    }

    void begin(QByteArray& out, qsizetype reserve)
    {
        const qsizetype used = out.size();
        m_p = growBy(out, reserve);
        m_base = out.data();
        m_lineStart = used - m_column;
    }

    void end(QByteArray& out, qsizetype reservedEnd)
    {
        Q_UNUSED(reservedEnd);
        const qsizetype written = m_p - m_base;
        Q_ASSERT(written <= reservedEnd);
        m_column = written - m_lineStart;
        out.resize(written);
    }

    void put(char16_t u)
    {
        if (m_pendingHigh) {
            const char16_t high = m_pendingHigh;
            m_pendingHigh = 0;
            if (QChar::isLowSurrogate(u)) {
                wrapIfLong();
                m_p = putUnicode(m_p, high);
                m_p = putUnicode(m_p, u);
                m_needDelimiter = false;
                return;
            }
            unicode(kReplacement);
        }
        if (m_afterCr) {
            m_afterCr = false;
            if (u == '\n')
                return;
        }

        if (u >= 0x20 && u <= 0x7E) {
            if (u == '\\' || u == '{' || u == '}') {
                wrapIfLong();
                *m_p++ = '\\';
                *m_p++ = char(u);
            } else {
                if (m_needDelimiter
                    && (u == ' ' || u == '-' || (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z')
                        || (u >= 'A' && u <= 'Z')))
                    *m_p++ = ' ';
                *m_p++ = char(u);
            }
            m_needDelimiter = false;
            return;
        }

        switch (u) {
        case '\r':
            m_afterCr = true;
            controlWord("par");
            return;
        case '\n':
        case 0x2029:
        case 0x0085:
            controlWord("par");
            return;
        case '\t':
            controlWord("tab");
            return;
        case 0x000B:
        case 0x2028:
            controlWord("line");
            return;
        case 0x000C:
            controlWord("page");
            return;
        default:
            break;
        }
        if (isDroppedControl(u))
            return;
        if (QChar::isHighSurrogate(u)) {
            m_pendingHigh = u;
            return;
        }
        unicode(QChar::isLowSurrogate(u) ? kReplacement : u);
    }

    void unicode(char16_t u)
    {
        wrapIfLong();
        m_p = putUnicode(m_p, u);
        m_needDelimiter = false;
    }

    template <std::size_t N> void controlWord(const char (&name)[N])
    {
        wrapIfLong();
        *m_p++ = '\\';
        for (std::size_t i = 0; i + 1 < N; ++i)
            *m_p++ = name[i];
        m_needDelimiter = true;
    }

    // Only ever called right before a backslash, where the break is ignored.
    void wrapIfLong()
    {
        const qsizetype offset = m_p - m_base;
        if (offset - m_lineStart >= kWrapColumn) {
            *m_p++ = '\r';
            *m_p++ = '\n';
            m_lineStart = offset + 2;
            m_needDelimiter = false;
        }
    }

    char* m_p = nullptr;
    char* m_base = nullptr;
    qsizetype m_lineStart = 0; // offset from m_base; negative when the line began in an earlier block
    qsizetype m_column = 0;
    char16_t m_pendingHigh = 0;
    bool m_afterCr = false;
    bool m_needDelimiter = false;
};

void appendEscaped(QByteArray& out, const QString& name)
{
    char buffer[16];
    for (QChar ch : name) {
        const char16_t u = ch.unicode();
        if (u >= 0x20 && u <= 0x7E) {
            if (u == '\\' || u == '{' || u == '}')
                out.append('\\');
            out.append(char(u));
        } else {
            out.append(buffer, putUnicode(buffer, u) - buffer);
        }
    }
}

QByteArray header(const QString& faceName, double pointSize)
{
    QByteArray out = QByteArrayLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ");
    appendEscaped(out, rtfFontName(faceName));
    out += QByteArrayLiteral(";}}{\\*\\generator Glyvex 2.0;}\\pard\\plain\\f0\\fs");
    out += QByteArray::number(rtfHalfPoints(pointSize));
    out += ' ';
    return out;
}

} // namespace

int rtfHalfPoints(double pointSize)
{
    if (std::isnan(pointSize))
        return 24;
    const double halfPoints = std::floor(pointSize * 2.0 + 0.5);
    return int(std::clamp(halfPoints, 1.0, 3276.0));
}

QString rtfFontName(const QString& faceName)
{
    QString name;
    name.reserve(faceName.size());
    for (qsizetype i = 0; i < faceName.size(); ++i) {
        const char16_t u = faceName.at(i).unicode();
        if (u == ';' || u == 0x2028 || u == 0x2029 || isDroppedControl(u))
            continue;
        if (QChar::isHighSurrogate(u) && i + 1 < faceName.size()
            && QChar::isLowSurrogate(faceName.at(i + 1).unicode())) {
            name += faceName.at(i);
            name += faceName.at(++i);
            continue;
        }
        name += QChar::isSurrogate(u) ? QChar(kReplacement) : QChar(u);
    }
    name = name.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("Arial");
    return name;
}

bool writeRtf(QIODevice* device, QStringView text, const QString& faceName, double pointSize)
{
    if (!device || !device->isOpen() || !device->isWritable())
        return false;
    QByteArray buffer = header(faceName, pointSize);
    BodyEncoder encoder(buffer.size());
    // A write the device takes only in part goes on with the rest; one that takes nothing or
    // fails ends the document (on a full disk the first write is cut short and the next one
    // fails, which gives the device its reason).
    const auto flush = [&] {
        for (qsizetype done = 0; done < buffer.size();) {
            const qint64 written = device->write(buffer.constData() + done, buffer.size() - done);
            if (written <= 0)
                return false;
            done += written;
        }
        buffer.resize(0);
        return true;
    };
    for (qsizetype start = 0; start < text.size(); start += kChunkUnits) {
        encoder.encode(text.mid(start, std::min(kChunkUnits, text.size() - start)), buffer);
        if (buffer.size() >= kFlushBytes && !flush())
            return false;
    }
    encoder.finish(buffer);
    return flush();
}

} // namespace glyvex::formats
