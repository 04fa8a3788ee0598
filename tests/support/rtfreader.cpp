#include "support/rtfreader.h"
#include "formats/rtfwriter.h"

#include <QBuffer>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

namespace glyvex::testing {

namespace {

// A character's Windows-1252 byte, from Qt's converter, or '?' where 1252 has none.
int cp1252Byte(char16_t u)
{
    static const QHash<char16_t, int> table = [] {
        QHash<char16_t, int> t;
        QByteArray high;
        for (int b = 0x80; b < 0x100; ++b)
            high += char(b);
        const QString all = QStringDecoder("windows-1252").decode(high);
        for (int b = 0x80; b < 0x100; ++b)
            t.insert(all.at(b - 0x80).unicode(), b);
        return t;
    }();
    return table.value(u, '?');
}

QString unescape(const QString& rtf, bool body, QString& error)
{
    static const QRegularExpression token(
        uR"(\\u(-?\d+)\\'([0-9a-f]{2})|\\([\\{}])|\\(par|tab|line|page)(?![A-Za-z0-9-]) ?|\r\n(?=\\)|([ -\[\]-z|~]+))"_qs);
    static const QHash<QString, QChar> words{
        {u"par"_qs, u'\n'}, {u"tab"_qs, u'\t'}, {u"line"_qs, QChar(0x2028)}, {u"page"_qs, u'\f'}};
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
        else if (m.hasCaptured(4))
            out += words.value(m.captured(4));
        else
            out += m.captured(3) + m.captured(5);
        at = m.capturedEnd();
    }
    return out;
}

} // namespace

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
    for (const QByteArray& line : rtf.split('\n')) {
        if (line.indexOf('\\', 222) >= 0)
            back.error += u"a line too long: "_qs + QString::fromLatin1(line);
    }
    return back;
}

// The text a reader gets back, by the mapping the writer documents.
QString expectedReadBack(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u == '\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            continue; // the LF ends the line
        if (u == '\r' || u == 0x2029 || u == 0x85)
            out += u'\n';
        else if (u == 0x0B)
            out += QChar(0x2028);
        else if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            out += text.mid(i++, 2);
        else if (QChar::isSurrogate(u))
            out += QChar(0xFFFD);
        else if (u == '\n' || u == '\t' || u == '\f' || (u >= 0x20 && u < 0x7F) || u > 0x9F)
            out += QChar(u);
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
