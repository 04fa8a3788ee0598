#include "platform/richtextbox.h"
#include "platform/rtfwriter.h"
#include "platform/textdecode.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <cctype>
#include <cmath>
#include <limits>

namespace {

QString units(std::initializer_list<char16_t> values)
{
    QString out;
    for (char16_t v : values)
        out.append(QChar(v));
    return out;
}

const QByteArray kHeaderStart = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 ";
const QByteArray kHeaderMiddle = ";}}{\\*\\generator Glyvex 2.0;}\\pard\\plain\\f0\\fs";

// What follows the header of a document in Arial 11 pt, without the final '}'.
QByteArray bodyOf(const QByteArray& rtf)
{
    const QByteArray header = kHeaderStart + "Arial" + kHeaderMiddle + "22 ";
    if (!rtf.startsWith(header) || !rtf.endsWith('}'))
        return "<bad frame> " + rtf;
    return rtf.mid(header.size(), rtf.size() - header.size() - 1);
}

// The Windows-1252 byte of each character 1252 has above ASCII, taken from
// the decoder (whose table is checked against ICU elsewhere).
const QHash<char16_t, int>& cp1252Bytes()
{
    static const QHash<char16_t, int> table = [] {
        QHash<char16_t, int> t;
        for (int b = 0x80; b < 0x100; ++b) {
            const QString s = glyvex::decodeText(QByteArray(1, char(b)), glyvex::TextEncoding::Windows1252);
            if (s.at(0).unicode() != b) // the unassigned bytes decode to themselves
                t.insert(s.at(0).unicode(), b);
            else if (b >= 0xA0)
                t.insert(char16_t(b), b);
        }
        return t;
    }();
    return table;
}

// A small, strict reader for exactly what the writer is meant to produce.
// It knows the header's words, \par \tab \line \page \uN with one fallback
// \'hh (checked against Windows-1252), the escapes \\ \{ \}, and ignores
// CR and LF as RTF does. Anything else is an error.
struct ReadBack {
    QString text; // paragraphs joined with "\n"
    QString fontName;
    QString generator;
    int halfPoints = -1;
    QString error;
};

ReadBack readRtf(const QByteArray& rtf)
{
    ReadBack result;
    enum class Dest { Unknown, Body, FontTable, Font, Generator };
    QList<Dest> stack;
    QStringList paragraphs;
    QString paragraph;
    bool lastWasPar = false;
    bool starred = false;
    int pendingFallback = -1; // the byte the \'hh after a \uN has to carry
    bool ended = false;
    qsizetype i = 0;
    const qsizetype n = rtf.size();

    auto fail = [&](const QString& why) {
        result.error = QStringLiteral("%1 at byte %2: ...%3").arg(why).arg(i).arg(QString::fromLatin1(rtf.mid(std::max<qsizetype>(0, i - 20), 40)));
        return result;
    };
    auto dest = [&] { return stack.isEmpty() ? Dest::Unknown : stack.last(); };
    auto putText = [&](QChar c) {
        switch (dest()) {
        case Dest::Body: paragraph += c; lastWasPar = false; break;
        case Dest::Font: result.fontName += c; break;
        case Dest::Generator: result.generator += c; break;
        default: break;
        }
    };

    if (!rtf.startsWith("{\\rtf1"))
        return fail(QStringLiteral("no {\\rtf1"));
    while (i < n) {
        const char c = rtf.at(i);
        if (ended)
            return fail(QStringLiteral("bytes after the document"));
        if (uchar(c) >= 0x80 || (uchar(c) < 0x20 && c != '\r' && c != '\n'))
            return fail(QStringLiteral("byte %1 outside 7-bit text").arg(uchar(c)));
        if (pendingFallback >= 0 && !(c == '\\' && i + 1 < n && rtf.at(i + 1) == '\'') && c != '\r' && c != '\n')
            return fail(QStringLiteral("\\u without \\'hh"));
        if (c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (c == '{') {
            ++i;
            if (pendingFallback >= 0)
                return fail(QStringLiteral("group inside \\u"));
            Dest inner = Dest::Unknown;
            if (stack.isEmpty())
                inner = Dest::Body;
            else if (stack.last() == Dest::FontTable)
                inner = Dest::Font;
            stack.append(inner);
            continue;
        }
        if (c == '}') {
            ++i;
            if (stack.isEmpty())
                return fail(QStringLiteral("unbalanced }"));
            stack.removeLast();
            if (stack.isEmpty())
                ended = true;
            continue;
        }
        if (c != '\\') {
            putText(QChar(c));
            ++i;
            continue;
        }
        // A control symbol or word.
        if (i + 1 >= n)
            return fail(QStringLiteral("backslash at the end"));
        const char next = rtf.at(i + 1);
        if (next == '\\' || next == '{' || next == '}') {
            putText(QChar(next));
            i += 2;
            continue;
        }
        if (next == '\'') {
            if (i + 3 >= n)
                return fail(QStringLiteral("short \\'"));
            bool ok = false;
            const QByteArray hex = rtf.mid(i + 2, 2);
            const int byte = hex.toInt(&ok, 16);
            if (!ok || hex != hex.toLower())
                return fail(QStringLiteral("bad \\'hh"));
            if (pendingFallback < 0)
                return fail(QStringLiteral("\\'hh outside \\u"));
            if (byte != pendingFallback)
                return fail(QStringLiteral("fallback %1, expected %2").arg(byte, 2, 16).arg(pendingFallback, 2, 16));
            pendingFallback = -1;
            i += 4;
            continue;
        }
        if (next == '*') {
            starred = true;
            i += 2;
            continue;
        }
        if (!std::isalpha(uchar(next)))
            return fail(QStringLiteral("unknown control symbol"));
        qsizetype j = i + 1;
        while (j < n && std::isalpha(uchar(rtf.at(j))))
            ++j;
        const QByteArray word = rtf.mid(i + 1, j - i - 1);
        bool hasParam = false;
        int param = 0;
        if (j < n && (rtf.at(j) == '-' || std::isdigit(uchar(rtf.at(j))))) {
            qsizetype k = j + (rtf.at(j) == '-' ? 1 : 0);
            const qsizetype digits = k;
            while (k < n && std::isdigit(uchar(rtf.at(k))))
                ++k;
            if (k == digits)
                return fail(QStringLiteral("'-' after \\%1").arg(QString::fromLatin1(word)));
            param = rtf.mid(j, k - j).toInt(&hasParam);
            if (!hasParam)
                return fail(QStringLiteral("bad number"));
            j = k;
        }
        if (j < n && rtf.at(j) == ' ')
            ++j;
        i = j;

        if (starred) {
            starred = false;
            if (word != "generator" || stack.size() < 2)
                return fail(QStringLiteral("unknown destination"));
            stack.last() = Dest::Generator;
            continue;
        }
        const Dest d = dest();
        if (word == "fonttbl" && !hasParam && stack.size() == 2) {
            stack.last() = Dest::FontTable;
        } else if (d == Dest::Body && word == "u" && hasParam) {
            if (param < -32768 || param > 32767)
                return fail(QStringLiteral("\\u out of range"));
            const char16_t u = char16_t(param < 0 ? param + 0x10000 : param);
            paragraph += QChar(u);
            lastWasPar = false;
            pendingFallback = cp1252Bytes().value(u, '?');
        } else if (d == Dest::Font && word == "u" && hasParam) {
            const char16_t u = char16_t(param < 0 ? param + 0x10000 : param);
            result.fontName += QChar(u);
            pendingFallback = cp1252Bytes().value(u, '?');
        } else if (d == Dest::Body && !hasParam && word == "par") {
            paragraphs << paragraph;
            paragraph.clear();
            lastWasPar = true;
        } else if (d == Dest::Body && !hasParam && word == "tab") {
            putText(u'\t');
        } else if (d == Dest::Body && !hasParam && word == "line") {
            putText(QChar(0x2028));
        } else if (d == Dest::Body && !hasParam && word == "page") {
            putText(u'\f');
        } else if (d == Dest::Body && word == "fs" && hasParam) {
            result.halfPoints = param;
        } else if (d == Dest::Body
                   && ((word == "rtf" && param == 1) || (word == "ansicpg" && param == 1252)
                       || (word == "deff" && param == 0) || (word == "uc" && param == 1) || (word == "f" && param == 0)
                       || (!hasParam && (word == "ansi" || word == "pard" || word == "plain")))) {
        } else if (d == Dest::Font
                   && ((word == "f" && param == 0) || (word == "fcharset" && param == 0) || word == "fnil")) {
        } else {
            return fail(QStringLiteral("unexpected \\%1").arg(QString::fromLatin1(word)));
        }
    }
    if (!ended)
        return fail(QStringLiteral("document not closed"));
    if (!lastWasPar)
        return fail(QStringLiteral("body does not end in \\par"));
    if (!result.fontName.endsWith(u';'))
        return fail(QStringLiteral("font name not ended by ';'"));
    result.fontName.chop(1);
    result.text = paragraphs.join(u'\n');
    return result;
}

// The text a reader gets back, by the mapping the writer documents.
QString expectedReadBack(const QString& text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text.at(i).unicode();
        if (u == '\r') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += u'\n';
        } else if (u == 0x2029 || u == 0x85) {
            out += u'\n';
        } else if (u == 0x0B) {
            out += QChar(0x2028);
        } else if (u == '\n' || u == '\t' || u == '\f') {
            out += QChar(u);
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            continue;
        } else if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += text.at(i);
            out += text.at(++i);
        } else if (QChar::isSurrogate(u)) {
            out += QChar(0xFFFD);
        } else {
            out += QChar(u);
        }
    }
    return out;
}

QString randomText(QRandomGenerator& rng)
{
    static const char16_t special[] = {'\r', '\n', '\t', 0x0B, 0x0C, 0x00, 0x01, 0x1F, 0x7F, 0x80, 0x85, 0x9F,
                                       0x2028, 0x2029, '\\', '{', '}', ' ', '-', ';', '0', 'z', 0xD83D, 0xDE00,
                                       0xFEFF, 0xFFFD, 0xFFFF, 0x8000, 0x20AC, 0x201C, 0xA0, 0xFF};
    QString out;
    const int length = rng.bounded(0, 60);
    for (int i = 0; i < length; ++i) {
        char32_t c = 0;
        switch (rng.bounded(6)) {
        case 0: c = rng.bounded(0x20, 0x7F); break;
        case 1: c = special[rng.bounded(int(std::size(special)))]; break;
        case 2: c = rng.bounded(0, 0x100); break;
        case 3: c = rng.bounded(0x100, 0x10000); break; // unpaired surrogates too
        case 4: c = rng.bounded(0x10000, 0x110000); break;
        default: {
            static const char* const ends[] = {"\r\n", "\n\r", "\r\r\n", "\n\n", "\r"};
            out += QLatin1String(ends[rng.bounded(5)]);
            continue;
        }
        }
        if (c < 0x10000)
            out += QChar(char16_t(c)); // lone surrogates included
        else
            out += QString::fromUcs4(&c, 1);
    }
    return out;
}

// Each output line breaks only before a backslash, and no backslash starts
// past 200 bytes plus the longest group that is never split.
QString layoutProblem(const QByteArray& rtf)
{
    const QList<QByteArray> lines = rtf.split('\n');
    for (qsizetype l = 0; l < lines.size(); ++l) {
        QByteArray line = lines.at(l);
        if (l + 1 < lines.size()) {
            if (!line.endsWith('\r'))
                return QStringLiteral("bare LF on line %1").arg(l);
            line.chop(1);
        }
        if (line.contains('\r'))
            return QStringLiteral("bare CR on line %1").arg(l);
        if (l > 0 && !line.startsWith('\\'))
            return QStringLiteral("line %1 does not start with a backslash").arg(l);
        const qsizetype late = line.indexOf('\\', 200 + 22);
        if (late >= 0)
            return QStringLiteral("backslash at %1 on line %2").arg(late).arg(l);
    }
    return {};
}

QString findSoffice()
{
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

private slots:
    void header();
    void body_data();
    void body();
    void fontName_data();
    void fontName();
    void halfPoints_data();
    void halfPoints();
    void layout_data();
    void layout();
    void roundTrip();
    void streamedMatchesWhole_data();
    void streamedMatchesWhole();
    void largeStreamMatchesWhole();
    void deviceFailures_data();
    void deviceFailures();
    void partialWrites_data();
    void partialWrites();
    void libreOfficeReadsItBack_data();
    void libreOfficeReadsItBack();
};

void TestRtfWriter::header()
{
    QCOMPARE(glyvex::toRtf(u"x"_qs, u"Arial"_qs, 10.8),
             QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"
                        "{\\*\\generator Glyvex 2.0;}\\pard\\plain\\f0\\fs22 x\\par}"));
}

void TestRtfWriter::body_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("empty") << QString() << QByteArray("\\par");
    QTest::newRow("ascii") << u"Hello, world!"_qs << QByteArray("Hello, world!\\par");
    QTest::newRow("leading and inner spaces") << u"  a   b "_qs << QByteArray("  a   b \\par");
    QTest::newRow("escapes") << u"\\{x}"_qs << QByteArray("\\\\\\{x\\}\\par");
    QTest::newRow("all printable ascii") << u"~ !\"#$%&'()*+,-./09:;<=>?@AZ[]^_`az|"_qs
                                         << QByteArray("~ !\"#$%&'()*+,-./09:;<=>?@AZ[]^_`az|\\par");

    // Line ends: one \par each, and one more for the last line.
    QTest::newRow("LF") << u"a\nb"_qs << QByteArray("a\\par b\\par");
    QTest::newRow("CRLF") << u"a\r\nb"_qs << QByteArray("a\\par b\\par");
    QTest::newRow("CR") << u"a\rb"_qs << QByteArray("a\\par b\\par");
    QTest::newRow("LF CR is two") << u"a\n\rb"_qs << QByteArray("a\\par\\par b\\par");
    QTest::newRow("CR CR LF is two") << u"a\r\r\nb"_qs << QByteArray("a\\par\\par b\\par");
    QTest::newRow("paragraph separator") << units({'a', 0x2029, 'b'}) << QByteArray("a\\par b\\par");
    QTest::newRow("next line") << units({'a', 0x85, 'b'}) << QByteArray("a\\par b\\par");
    QTest::newRow("trailing newline") << u"a\n"_qs << QByteArray("a\\par\\par");
    QTest::newRow("only a newline") << u"\n"_qs << QByteArray("\\par\\par");
    QTest::newRow("only CRLF") << u"\r\n"_qs << QByteArray("\\par\\par");
    QTest::newRow("blank lines") << u"\n\na"_qs << QByteArray("\\par\\par a\\par");

    // The space after a control word only where the next byte would join it.
    QTest::newRow("tab before letter") << u"\tx"_qs << QByteArray("\\tab x\\par");
    QTest::newRow("tab before digit") << u"\t5"_qs << QByteArray("\\tab 5\\par");
    QTest::newRow("tab before minus") << u"\t-"_qs << QByteArray("\\tab -\\par");
    QTest::newRow("tab before space") << u"\t "_qs << QByteArray("\\tab  \\par");
    QTest::newRow("tab before dot") << u"\t."_qs << QByteArray("\\tab.\\par");
    QTest::newRow("tab before brace") << u"\t{"_qs << QByteArray("\\tab\\{\\par");
    QTest::newRow("tab tab") << u"\t\t"_qs << QByteArray("\\tab\\tab\\par");
    QTest::newRow("par before space") << u"\n x"_qs << QByteArray("\\par  x\\par");
    QTest::newRow("par before digit") << u"\n1"_qs << QByteArray("\\par 1\\par");
    QTest::newRow("par before semicolon") << u"\n;"_qs << QByteArray("\\par;\\par");
    QTest::newRow("dropped control keeps the space") << units({'\t', 0, 'x'}) << QByteArray("\\tab x\\par");
    QTest::newRow("CRLF split by NUL is two") << units({'\r', 0, '\n'}) << QByteArray("\\par\\par\\par");

    QTest::newRow("vertical tab") << u"a\vb"_qs << QByteArray("a\\line b\\par");
    QTest::newRow("line separator") << units({'a', 0x2028, 'b'}) << QByteArray("a\\line b\\par");
    QTest::newRow("form feed") << u"a\fb"_qs << QByteArray("a\\page b\\par");

    QTest::newRow("NUL") << units({'a', 0, 'b'}) << QByteArray("ab\\par");
    QTest::newRow("C0 controls") << units({0x01, 'a', 0x08, 0x0E, 0x1B, 0x1F}) << QByteArray("a\\par");
    QTest::newRow("DEL and C1") << units({0x7F, 0x80, 'a', 0x81, 0x9F}) << QByteArray("a\\par");

    QTest::newRow("latin-1") << u"é"_qs << QByteArray("\\u233\\'e9\\par");
    QTest::newRow("nbsp and y-diaeresis") << units({0xA0, 0xFF}) << QByteArray("\\u160\\'a0\\u255\\'ff\\par");
    QTest::newRow("euro") << u"€"_qs << QByteArray("\\u8364\\'80\\par");
    QTest::newRow("quotes") << units({0x201C, 'q', 0x201D}) << QByteArray("\\u8220\\'93q\\u8221\\'94\\par");
    QTest::newRow("1252 letters") << units({0x0152, 0x0178, 0x02DC}) << QByteArray("\\u338\\'8c\\u376\\'9f\\u732\\'98\\par");
    QTest::newRow("not in 1252") << units({0x0100, 0x4E00}) << QByteArray("\\u256\\'3f\\u19968\\'3f\\par");
    QTest::newRow("highest positive") << units({0x7FFF}) << QByteArray("\\u32767\\'3f\\par");
    QTest::newRow("lowest negative") << units({0x8000}) << QByteArray("\\u-32768\\'3f\\par");
    QTest::newRow("U+FFFF") << units({0xFFFF}) << QByteArray("\\u-1\\'3f\\par");
    QTest::newRow("BOM kept") << units({0xFEFF, 'a'}) << QByteArray("\\u-257\\'3fa\\par");
    QTest::newRow("letter after escape") << u"éa"_qs << QByteArray("\\u233\\'e9a\\par");
    QTest::newRow("astral") << u"😀"_qs << QByteArray("\\u-10179\\'3f\\u-8704\\'3f\\par");
    QTest::newRow("lone high") << units({0xD83D, 'a'}) << QByteArray("\\u-3\\'3fa\\par");
    QTest::newRow("lone high at end") << units({'a', 0xD83D}) << QByteArray("a\\u-3\\'3f\\par");
    QTest::newRow("lone low") << units({0xDE00}) << QByteArray("\\u-3\\'3f\\par");
    QTest::newRow("swapped pair") << units({0xDE00, 0xD83D}) << QByteArray("\\u-3\\'3f\\u-3\\'3f\\par");
    QTest::newRow("two highs then low") << units({0xD83D, 0xD83D, 0xDE00})
                                        << QByteArray("\\u-3\\'3f\\u-10179\\'3f\\u-8704\\'3f\\par");
    QTest::newRow("high then newline") << units({0xD83D, '\n'}) << QByteArray("\\u-3\\'3f\\par\\par");
}

void TestRtfWriter::body()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, body);
    const QByteArray rtf = glyvex::toRtf(text, u"Arial"_qs, 11);
    QCOMPARE(bodyOf(rtf), body);
    const ReadBack back = readRtf(rtf);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.text, expectedReadBack(text));
}

void TestRtfWriter::fontName_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("cleaned");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("plain") << u"DejaVu Sans"_qs << u"DejaVu Sans"_qs << QByteArray("DejaVu Sans");
    QTest::newRow("escapes") << u"A\\B{C}"_qs << u"A\\B{C}"_qs << QByteArray("A\\\\B\\{C\\}");
    QTest::newRow("semicolon") << u"Foo;Bar"_qs << u"FooBar"_qs << QByteArray("FooBar");
    QTest::newRow("semicolons at the ends") << u";Foo;"_qs << u"Foo"_qs << QByteArray("Foo");
    QTest::newRow("non-ASCII") << u"Café Ünï"_qs << u"Café Ünï"_qs
                               << QByteArray("Caf\\u233\\'e9 \\u220\\'dcn\\u239\\'ef");
    QTest::newRow("CJK") << u"文泉驿"_qs << u"文泉驿"_qs << QByteArray("\\u25991\\'3f\\u27849\\'3f\\u-25985\\'3f");
    QTest::newRow("astral") << u"A😀"_qs << u"A😀"_qs << QByteArray("A\\u-10179\\'3f\\u-8704\\'3f");
    QTest::newRow("lone surrogate") << units({'A', 0xD800}) << units({'A', 0xFFFD}) << QByteArray("A\\u-3\\'3f");
    QTest::newRow("controls and separators") << units({'A', '\t', '\n', 0x2028, 0x2029, 0, 0x85, 'B'}) << u"AB"_qs
                                             << QByteArray("AB");
    QTest::newRow("trimmed") << u"  Foo Bar  "_qs << u"Foo Bar"_qs << QByteArray("Foo Bar");
    QTest::newRow("empty") << QString() << u"Arial"_qs << QByteArray("Arial");
    QTest::newRow("blank") << u"   "_qs << u"Arial"_qs << QByteArray("Arial");
    QTest::newRow("only semicolons") << u";;"_qs << u"Arial"_qs << QByteArray("Arial");
    QTest::newRow("digit first") << u"3Dumb"_qs << u"3Dumb"_qs << QByteArray("3Dumb");
}

void TestRtfWriter::fontName()
{
    QFETCH(QString, face);
    QFETCH(QString, cleaned);
    QFETCH(QByteArray, written);

    QCOMPARE(glyvex::rtfFontName(face), cleaned);
    const QByteArray rtf = glyvex::toRtf(u"x"_qs, face, 11);
    QCOMPARE(rtf, kHeaderStart + written + kHeaderMiddle + "22 x\\par}");
    const ReadBack back = readRtf(rtf);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.fontName, cleaned);
    QCOMPARE(back.generator, u"Glyvex 2.0;"_qs);
    QCOMPARE(back.text, u"x"_qs);
}

void TestRtfWriter::halfPoints_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("halfPoints");

    QTest::newRow("7.8") << 7.8 << 16;
    QTest::newRow("10.8") << 10.8 << 22;
    QTest::newRow("14") << 14.0 << 28;
    QTest::newRow("1638") << 1638.0 << 3276;
    QTest::newRow("10.25 rounds up") << 10.25 << 21;
    QTest::newRow("10.24 rounds down") << 10.24 << 20;
    QTest::newRow("half a point") << 0.5 << 1;
    QTest::newRow("tiny") << 0.1 << 1;
    QTest::newRow("zero") << 0.0 << 1;
    QTest::newRow("negative") << -12.0 << 1;
    QTest::newRow("above Word's largest") << 1638.5 << 3276;
    QTest::newRow("huge") << 1e12 << 3276;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 3276;
    QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 1;
    QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 24;
}

void TestRtfWriter::halfPoints()
{
    QFETCH(double, points);
    QFETCH(int, halfPoints);

    QCOMPARE(glyvex::rtfHalfPoints(points), halfPoints);
    const QByteArray rtf = glyvex::toRtf(u"x"_qs, u"Arial"_qs, points);
    QVERIFY2(rtf.contains("\\fs" + QByteArray::number(halfPoints) + " x\\par}"), rtf.constData());
    const ReadBack back = readRtf(rtf);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.halfPoints, halfPoints);
}

void TestRtfWriter::layout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");

    // The text in one piece, then a break before the closing \par.
    QTest::newRow("long plain line stays whole") << QString(5000, u'x') << 2;
    QTest::newRow("long line with spaces stays whole") << QString(3000, u' ') << 2;
    QTest::newRow("many short paragraphs") << QString(u"abc\n"_qs).repeated(1000) << -1;
    QTest::newRow("many escapes") << QString(2000, u'é') << -1;
    QTest::newRow("many braces") << QString(2000, u'{') << -1;
    QTest::newRow("many astral") << u"😀"_qs.repeated(1000) << -1;
    QTest::newRow("many tabs before letters") << u"\tx"_qs.repeated(1000) << -1;
    QTest::newRow("text then escapes") << (QString(199, u'x') + QString(20, u'é')) << 2;
}

// Line breaks stay where readers ignore them and do not change the text.
void TestRtfWriter::layout()
{
    QFETCH(QString, text);
    QFETCH(int, lines);

    const QByteArray rtf = glyvex::toRtf(text, u"Arial"_qs, 11);
    const QString problem = layoutProblem(rtf);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    const qsizetype count = rtf.count("\r\n") + 1;
    if (lines > 0)
        QCOMPARE(count, lines);
    else
        QVERIFY(count > rtf.size() / 250);
    const ReadBack back = readRtf(rtf);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.text, expectedReadBack(text));
}

// Random text of every kind comes back through the reader as documented.
void TestRtfWriter::roundTrip()
{
    QRandomGenerator rng(0x61797865);
    for (int round = 0; round < 4000; ++round) {
        const QString text = randomText(rng);
        const QByteArray rtf = glyvex::toRtf(text, u"Arial"_qs, 11);
        const ReadBack back = readRtf(rtf);
        if (!back.error.isEmpty() || back.text != expectedReadBack(text)) {
            qWarning() << "text:" << text << "\nrtf:" << rtf;
            QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
            QCOMPARE(back.text, expectedReadBack(text));
        }
        const QString problem = layoutProblem(rtf);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void TestRtfWriter::streamedMatchesWhole_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("splitAt");

    QTest::newRow("CR | LF") << u"a\r\nb"_qs << 2;
    QTest::newRow("CR | CR") << u"a\r\rb"_qs << 2;
    QTest::newRow("CR | end") << u"a\r"_qs << 2;
    QTest::newRow("high | low") << u"a😀b"_qs << 2;
    QTest::newRow("high | letter") << units({'a', 0xD83D, 'b'}) << 2;
    QTest::newRow("high | end") << units({'a', 0xD83D}) << 2;
    QTest::newRow("tab | letter") << u"\tx"_qs << 1;
    QTest::newRow("tab | NUL letter") << units({'\t', 0, 'x'}) << 2;
    QTest::newRow("nothing | all") << u"abc"_qs << 0;
}

void TestRtfWriter::streamedMatchesWhole()
{
    QFETCH(QString, text);
    QFETCH(int, splitAt);

    QBuffer buffer;
    QVERIFY(buffer.open(QIODevice::WriteOnly));
    glyvex::RtfWriter writer(&buffer, u"Arial"_qs, 11);
    QVERIFY(writer.write(QStringView(text).left(splitAt)));
    QVERIFY(writer.write(QStringView()));
    QVERIFY(writer.write(QStringView(text).mid(splitAt)));
    QVERIFY(writer.finish());
    QCOMPARE(buffer.data(), glyvex::toRtf(text, u"Arial"_qs, 11));
    QVERIFY(!writer.write(u"more"));
    QVERIFY(!writer.finish());
}

// Text of several MiB, written whole and in random pieces, gives the same
// bytes as toRtf (this goes through the flushes and the block boundaries).
void TestRtfWriter::largeStreamMatchesWhole()
{
    QRandomGenerator rng(99);
    QString text;
    while (text.size() < 3 * 1024 * 1024)
        text += rng.bounded(4) ? u"The quick brown fox\tjumps\r\n"_qs : randomText(rng);
    const QByteArray whole = glyvex::toRtf(text, u"Arial"_qs, 11);

    QBuffer once;
    QVERIFY(once.open(QIODevice::WriteOnly));
    QVERIFY(glyvex::writeRtf(&once, text, u"Arial"_qs, 11));
    QCOMPARE(once.data(), whole);

    QBuffer pieces;
    QVERIFY(pieces.open(QIODevice::WriteOnly));
    glyvex::RtfWriter writer(&pieces, u"Arial"_qs, 11);
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype length = std::min<qsizetype>(rng.bounded(1, 70000), text.size() - at);
        QVERIFY(writer.write(QStringView(text).mid(at, length)));
        at += length;
    }
    QVERIFY(writer.finish());
    QCOMPARE(pieces.data(), whole);

    const ReadBack back = readRtf(whole);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QVERIFY(back.text == expectedReadBack(text));
}

void TestRtfWriter::deviceFailures_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("size");
    for (const char* kind : {"no device", "closed", "read-only", "full disk"}) {
        QTest::addRow("%s, short", kind) << QString::fromLatin1(kind) << 10;
        QTest::addRow("%s, long", kind) << QString::fromLatin1(kind) << 2 * 1024 * 1024;
    }
}

void TestRtfWriter::deviceFailures()
{
    QFETCH(QString, kind);
    QFETCH(int, size);

    QByteArray storage;
    QBuffer buffer(&storage);
    QFile full(u"/dev/full"_qs);
    QIODevice* device = nullptr;
    if (kind == u"closed") {
        device = &buffer;
    } else if (kind == u"read-only") {
        QVERIFY(buffer.open(QIODevice::ReadOnly));
        device = &buffer;
    } else if (kind == u"full disk") {
        if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            QSKIP("no /dev/full here");
        device = &full;
    }
    const QString text(size, u'x');
    QVERIFY(!glyvex::writeRtf(device, text, u"Arial"_qs, 11));

    glyvex::RtfWriter writer(device, u"Arial"_qs, 11);
    writer.write(text);
    QVERIFY(!writer.finish());
    QVERIFY(!writer.ok());
    QVERIFY(storage.isEmpty());
}

namespace {

// A device that takes at most `perWrite` bytes a write, and nothing once `room` is used up.
class Trickle final : public QIODevice {
public:
    Trickle(qint64 perWrite, qint64 room) : m_perWrite(perWrite), m_room(room) { open(QIODevice::WriteOnly); }
    QByteArray data;

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* bytes, qint64 length) override
    {
        const qint64 taken = std::min({length, m_perWrite, m_room - data.size()});
        data.append(bytes, taken);
        return taken;
    }

private:
    qint64 m_perWrite;
    qint64 m_room;
};

} // namespace

void TestRtfWriter::partialWrites_data()
{
    QTest::addColumn<int>("room");
    QTest::addColumn<bool>("complete");
    QTest::newRow("room for all") << std::numeric_limits<int>::max() << true;
    QTest::newRow("full half-way") << 300000 << false;
}

// A write the device takes in part goes on with the rest; a device that takes nothing more
// ends the document as failed.
void TestRtfWriter::partialWrites()
{
    QFETCH(int, room);
    QFETCH(bool, complete);
    const QString text = QString(u"Some text, é and 😀\r\n"_qs).repeated(20000);
    Trickle device(1000, room);
    QCOMPARE(glyvex::writeRtf(&device, text, u"Arial"_qs, 11), complete);
    if (complete)
        QCOMPARE(device.data, glyvex::toRtf(text, u"Arial"_qs, 11));
}

namespace {

// A document as the converter exports it: its text in one face and size.
struct OfficeCase {
    const char* name;
    QString text;
    QString face;
    double size;
};

QList<OfficeCase> officeCases()
{
    return {
        {"every kind",
         u"Plain  two  spaces   three\ttab{braces}\\back;semi\r\nCRLF line\rCR line\nLF line"_qs
                 + units({0x2029}) + u"PS"_qs + units({0x85}) + u"NEL"_qs + units({0x2028}) + u"LS\vVT\fFF "_qs
                 + u"é € “q” – Ω 一 😀 "_qs + units({0x01, 0x7F, 0x9F, 0}) + u"lone "_qs + units({0xD800})
                 + u" end\t-\t5\n\n-dash\n  indented"_qs,
         u"Café X{}\\Y;Z"_qs, 10.8},
        {"empty", QString(), u"DejaVu Sans"_qs, 14},
        {"trailing newline", u"one line\n"_qs, u"Liberation Mono"_qs, 7.8},
        {"only newlines", u"\n\r\n\r"_qs, u"DejaVu Serif"_qs, 9},
        {"long", QString(u"Lorem ipsum dolor sit amet, é ñ ø € — “quoted”\t"_qs).repeated(40), u"Arial"_qs, 10},
        {"RTF markup as text", u"{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\f0\\fs24 Hello \\b bold\\b0\\par}\r\n\\u233?"_qs,
         u"Liberation Serif"_qs, 12},
        {"many scripts", u"Ελληνικά русский 日本語 한국어 עברית العربية ∑∞ 😀👍🏽 🇫🇷\nﬁ ß İ ǅ"_qs,
         u"DejaVu Sans"_qs, 16.2},
        {"spaces and tabs", u"   leading\ttrailing   \n\t\t  \n a  b   c    d     "_qs, u"DejaVu Sans Mono"_qs, 10.2},
        {"one line of 6000 characters", QString(u"word "_qs).repeated(1200), u"DejaVu Serif"_qs, 12},
    };
}

// What LibreOffice made of a document, from its flat ODF export: the paragraphs (text:p)
// joined with "\n", with text:s, text:tab and text:line-break read back, and the face and
// size in force for each character.
struct OfficeDocument {
    QString text;
    QSet<QString> faces;
    QSet<QString> sizes;
    QString error;
};

OfficeDocument readFlatOdf(const QByteArray& xml)
{
    struct TextProperties {
        QString fontName;
        QString size;
    };
    OfficeDocument result;
    QXmlStreamReader reader(xml);
    QHash<QString, QString> families; // font-face name -> family
    QHash<QString, TextProperties> styles;
    QString style;            // the style:style being read
    QStringList styleStack;   // the styles of the paragraph and spans around the text
    QStringList paragraphs;
    QString paragraph;
    int inParagraph = 0;
    const auto attribute = [&reader](const char* name) { return reader.attributes().value(QLatin1String(name)).toString(); };
    const auto put = [&](const QString& text) {
        paragraph += text;
        for (qsizetype i = styleStack.size() - 1; i >= 0; --i) {
            const auto found = styles.constFind(styleStack.at(i));
            if (found != styles.constEnd() && !found->fontName.isEmpty()) {
                result.faces.insert(families.value(found->fontName, u"?"_qs + found->fontName));
                result.sizes.insert(found->size);
                return;
            }
        }
        result.faces.insert(u"<no face of its own>"_qs);
    };
    while (!reader.atEnd()) {
        reader.readNext();
        const QString name = reader.qualifiedName().toString();
        if (reader.isStartElement()) {
            if (name == u"style:font-face") {
                QString family = attribute("svg:font-family");
                if (family.size() >= 2 && family.startsWith(u'\'') && family.endsWith(u'\''))
                    family = family.mid(1, family.size() - 2);
                families.insert(attribute("style:name"), family);
            } else if (name == u"style:style") {
                style = attribute("style:name");
            } else if (name == u"style:text-properties" && !style.isEmpty()) {
                styles.insert(style, {attribute("style:font-name"), attribute("fo:font-size")});
            } else if (name == u"text:p" || name == u"text:h") {
                ++inParagraph;
                paragraph.clear();
                styleStack.append(attribute("text:style-name"));
            } else if (inParagraph && name == u"text:span") {
                styleStack.append(attribute("text:style-name"));
            } else if (inParagraph && name == u"text:s") {
                const QString count = attribute("text:c");
                put(QString(count.isEmpty() ? 1 : count.toInt(), u' '));
            } else if (inParagraph && name == u"text:tab") {
                put(u"\t"_qs);
            } else if (inParagraph && name == u"text:line-break") {
                put(u"\n"_qs);
            } else if (inParagraph && name != u"text:soft-page-break" && name != u"text:bookmark") {
                result.error = u"unexpected <%1> in a paragraph"_qs.arg(name);
            }
        } else if (reader.isEndElement()) {
            if (name == u"style:style") {
                style.clear();
            } else if (name == u"text:p" || name == u"text:h") {
                --inParagraph;
                paragraphs.append(paragraph);
                styleStack.removeLast();
            } else if (inParagraph && name == u"text:span") {
                styleStack.removeLast();
            }
        } else if (reader.isCharacters() && inParagraph) {
            put(reader.text().toString());
        }
    }
    if (reader.hasError())
        result.error = reader.errorString();
    result.text = paragraphs.join(u'\n');
    return result;
}

} // namespace

void TestRtfWriter::libreOfficeReadsItBack_data()
{
    QTest::addColumn<int>("index");
    const QList<OfficeCase> cases = officeCases();
    for (int i = 0; i < cases.size(); ++i)
        QTest::newRow(cases.at(i).name) << i;
}

// A real reader agrees: documents exported by the rich text box, opened in LibreOffice, give
// back their text (it starts a paragraph at a line break and a page break), in the face and
// at the size written. One LibreOffice run converts them all to flat ODF.
void TestRtfWriter::libreOfficeReadsItBack()
{
    QFETCH(int, index);
    static const QString soffice = findSoffice();
    if (soffice.isEmpty())
        QSKIP("LibreOffice is not installed");

    static QTemporaryDir dir;
    static QString failure;
    static bool converted = false;
    const QList<OfficeCase> cases = officeCases();
    if (!converted) {
        converted = true;
        QVERIFY(dir.isValid());
        QStringList inputs;
        glyvex::platform::RichTextBox box({.kind = glyvex::platform::ControlKind::RichTextBox, .name = u"rtf"_qs}, nullptr);
        for (int i = 0; i < cases.size(); ++i) {
            box.setText(cases.at(i).text);
            box.setFontName(cases.at(i).face);
            box.setFontSize(float(cases.at(i).size));
            inputs << dir.filePath(u"case%1.rtf"_qs.arg(i));
            box.SaveFile(inputs.last(), glyvex::platform::RichTextBox::rtfRTF);
        }
        // A profile and a home of its own: nothing of the user's, and it runs as root too.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        QVERIFY(QDir(dir.path()).mkpath(u"home"_qs));
        environment.insert(u"HOME"_qs, dir.filePath(u"home"_qs));
        QProcess office;
        office.setProcessEnvironment(environment);
        office.setProcessChannelMode(QProcess::MergedChannels);
        office.start(soffice, QStringList{u"-env:UserInstallation=file://"_qs + dir.filePath(u"profile"_qs),
                                          u"--headless"_qs, u"--norestore"_qs, u"--convert-to"_qs, u"fodt"_qs,
                                          u"--outdir"_qs, dir.path()}
                                  + inputs);
        if (!office.waitForStarted() || !office.waitForFinished(300000) || office.exitCode() != 0)
            failure = u"LibreOffice failed: "_qs + QString::fromLocal8Bit(office.readAll());
    }
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    const OfficeCase& c = cases.at(index);
    QFile fodt(dir.filePath(u"case%1.fodt"_qs.arg(index)));
    QVERIFY2(fodt.open(QIODevice::ReadOnly), qPrintable(fodt.fileName()));
    const OfficeDocument document = readFlatOdf(fodt.readAll());
    QVERIFY2(document.error.isEmpty(), qPrintable(document.error));
    QString expected = expectedReadBack(c.text);
    expected.replace(QChar(0x2028), u'\n').replace(u'\f', u'\n');
    QCOMPARE(document.text, expected);
    if (!QString(expected).remove(u'\n').isEmpty()) {
        QCOMPARE(document.faces, QSet<QString>{glyvex::rtfFontName(c.face)});
        QCOMPARE(document.sizes, QSet<QString>{QString::number(glyvex::rtfHalfPoints(c.size) / 2.0) + u"pt"_qs});
    }
}

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
