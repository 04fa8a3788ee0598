#include "support/rtfreader.h"
#include "formats/rtfwriter.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

namespace glyvex::testing {

// A character's Windows-1252 byte, from Qt's converter, or '?' where 1252 has none (and for ASCII,
// which the writer never writes as \uN).
static int cp1252Byte(char16_t u)
{
    static QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    static QStringDecoder decoder("windows-1252", QStringConverter::Flag::Stateless);
    const QByteArray byte = encoder.encode(QStringView(&u, 1));
    return u >= 0x80 && byte.size() == 1 && QString(decoder.decode(byte)) == QChar(u) ? uchar(byte[0]) : '?';
}

static QString unescape(const QString& rtf, bool body, QString& error)
{
    static const QRegularExpression token(
        uR"(\\u(-?\d+)\\'([0-9a-f]{2})|\\([\\{}])|\\(par|tab|line|page)(?: (?=[A-Za-z0-9 -])|(?![A-Za-z0-9 -]))|\r\n(?=\\)|([ -\[\]-z|~]+))"_qs);
    static const QStringList words{u"par"_qs, u"tab"_qs, u"line"_qs, u"page"_qs};
    QString out;
    for (qsizetype at = 0; at < rtf.size() && error.isEmpty();) {
        const QRegularExpressionMatch m = token.match(rtf, at, QRegularExpression::NormalMatch,
                                                      QRegularExpression::AnchorAtOffsetMatchOption
                                                          | QRegularExpression::DontCheckSubjectStringMatchOption);
        const int n = m.captured(1).toInt();
        if (!m.hasMatch() || (m.hasCaptured(4) && !body)
            || (m.hasCaptured(1)
                && (n < -32768 || n > 32767 || m.captured(2).toInt(nullptr, 16) != cp1252Byte(char16_t(n)))))
            error = u"unexpected at %1: %2"_qs.arg(at).arg(rtf.mid(at, 40));
        else if (m.hasCaptured(1))
            out += QChar(char16_t(n));
        else
            out += m.hasCaptured(4) ? u"\n\t\u2028\f"_qs.at(words.indexOf(m.captured(4)))
                                    : m.captured(3) + m.captured(5);
        at = m.capturedEnd();
    }
    return out;
}

ReadBack readRtf(const QByteArray& rtf)
{
    static const QRegularExpression frame(
        uR"(^\{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\{\\fonttbl\{\\f0\\fnil\\fcharset0 (.*?);\}\})"
        uR"(\{\\\*\\generator Glyvex 2\.0;\}\\pard\\plain\\f0\\fs(\d+) (.*)\}\z)"_qs,
        QRegularExpression::DotMatchesEverythingOption);
    ReadBack back;
    const QRegularExpressionMatch m = frame.match(QString::fromLatin1(rtf));
    back.face = unescape(m.captured(1), false, back.error);
    back.halfPoints = m.captured(2).toInt();
    back.text = unescape(m.captured(3), true, back.error);
    if (!m.hasMatch() || !back.text.endsWith(u'\n'))
        back.error += u"no frame, or no \\par at the end"_qs;
    back.text.chop(1);
    for (const QByteArray& line : rtf.split('\n'))
        back.error += line.indexOf('\\', 222) < 0 ? QString() : u"a line too long: "_qs + QString::fromLatin1(line);
    return back;
}

QString expectedReadBack(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode(), next = i + 1 < text.size() ? text.at(i + 1).unicode() : 0;
        if (u == '\r' && next == '\n')
            continue; // the LF ends the line
        out += u == '\r' || u == 0x2029 || u == 0x85                                     ? u"\n"_qs
            : u == 0x0B                                                                  ? u"\u2028"_qs
            : QChar::isHighSurrogate(u) && QChar::isLowSurrogate(next)                   ? text.mid(i++, 2)
            : QChar::isSurrogate(u)                                                      ? u"\uFFFD"_qs
            : u == '\n' || u == '\t' || u == '\f' || (u >= 0x20 && u < 0x7F) || u > 0x9F ? QString(QChar(u))
                                                                                         : QString();
    }
    return out;
}

QByteArray toRtf(const QString& text, const QString& faceName, double pointSize)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    formats::writeRtf(&buffer, text, faceName, pointSize);
    return buffer.data();
}

} // namespace glyvex::testing
