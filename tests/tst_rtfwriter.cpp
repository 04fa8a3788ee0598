// The RTF writer: what it writes for every kind of character, face and size; its own output read
// back strictly; streamed output; and LibreOffice reading what it exports. (Failing writes: the
// rich text box's tests.)
#include "platform/richtextbox.h"
#include "platform/rtfwriter.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QBuffer>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace glyvex;
using testing::units;
using testing::ReadBack;
using testing::readRtf;
using testing::expectedReadBack;

namespace {

// The whole document for a face (as written) at a size.
QByteArray document(const QByteArray& face, int halfPoints, const QByteArray& body)
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fnil\\fcharset0 " + face
        + ";}}{\\*\\generator Glyvex 2.0;}\\pard\\plain\\f0\\fs" + QByteArray::number(halfPoints) + ' ' + body + '}';
}

// Every Windows-1252 character, from Qt's converter.
QString allOfCp1252()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    return QStringDecoder("windows-1252").decode(all);
}

void readsBackAs(const QByteArray& rtf, const QString& text)
{
    const ReadBack back = readRtf(rtf);
    QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
    QCOMPARE(back.text, expectedReadBack(text));
}

// Up to 60 characters of every kind: line ends, controls, escapes, all planes, lone surrogates.
QString randomText(QRandomGenerator& rng)
{
    static const char16_t special[] = {'\r', '\n', '\t', 0x0B, 0x0C, 0x00, 0x01, 0x1F, 0x7F, 0x80, 0x85, 0x9F,
                                       0x2028, 0x2029, '\\', '{', '}', ' ', '-', ';', '0', 'z', 0xD83D, 0xDE00,
                                       0xFEFF, 0xFFFD, 0xFFFF, 0x8000, 0x20AC, 0x201C, 0xA0, 0xFF};
    static const char* const ends[] = {"\r\n", "\n\r", "\r\r\n", "\n\n", "\r"};
    QString out;
    for (int i = rng.bounded(60); i > 0; --i) {
        const char32_t astral = rng.bounded(0x10000, 0x110000);
        switch (rng.bounded(6)) {
        case 0: out += QChar(char16_t(rng.bounded(0x20, 0x7F))); break;
        case 1: out += QChar(special[rng.bounded(int(std::size(special)))]); break;
        case 2: out += QChar(char16_t(rng.bounded(0x100))); break;
        case 3: out += QChar(char16_t(rng.bounded(0x100, 0x10000))); break; // lone surrogates too
        case 4: out += QString::fromUcs4(&astral, 1); break;
        default: out += QLatin1String(ends[rng.bounded(5)]);
        }
    }
    return out;
}

// What LibreOffice made of a document, from its flat ODF: the paragraphs joined with "\n" (with
// text:s, text:tab and text:line-break read back), and the face and size over each piece of text.
struct OfficeText {
    QString text, error;
    QSet<QString> fonts;
};

OfficeText readFlatOdf(const QByteArray& xml)
{
    OfficeText result;
    QXmlStreamReader in(xml);
    QHash<QString, QString> families, fonts; // font-face -> family; style -> "family size"
    QString style;
    QStringList paragraphs, around; // the styles of the paragraph and spans around the text
    const auto attribute = [&](const char* name) { return in.attributes().value(QLatin1String(name)).toString(); };
    const auto put = [&](const QString& text) {
        paragraphs.last() += text;
        const auto styled = std::find_if(around.crbegin(), around.crend(), [&](const QString& s) { return fonts.contains(s); });
        result.fonts.insert(styled == around.crend() ? u"no face of its own"_qs : fonts.value(*styled));
    };
    while (!in.atEnd()) {
        in.readNext();
        const QString name = in.qualifiedName().toString();
        const bool paragraph = name == u"text:p" || name == u"text:h";
        if (in.isStartElement() && !around.isEmpty() && !paragraph) {
            if (name == u"text:span")
                around.append(attribute("text:style-name"));
            else if (name == u"text:s")
                put(QString(std::max(1, attribute("text:c").toInt()), u' '));
            else if (name == u"text:tab" || name == u"text:line-break")
                put(name == u"text:tab" ? u"\t"_qs : u"\n"_qs);
            else if (name != u"text:soft-page-break" && name != u"text:bookmark")
                result.error = u"unexpected <%1> in a paragraph"_qs.arg(name);
        } else if (in.isStartElement()) {
            if (name == u"style:font-face")
                families.insert(attribute("style:name"), attribute("svg:font-family").remove(u'\''));
            else if (name == u"style:style")
                style = attribute("style:name");
            else if (name == u"style:text-properties" && !style.isEmpty() && !attribute("style:font-name").isEmpty())
                fonts.insert(style, families.value(attribute("style:font-name")) + u' ' + attribute("fo:font-size"));
            if (paragraph) {
                around.append(attribute("text:style-name"));
                paragraphs.append(QString());
            }
        } else if (in.isEndElement() && name == u"style:style") {
            style.clear();
        } else if (in.isEndElement() && (paragraph || name == u"text:span")) {
            around.removeLast();
        } else if (in.isCharacters() && !around.isEmpty()) {
            put(in.text().toString());
        }
    }
    if (in.hasError())
        result.error = in.errorString();
    result.text = paragraphs.join(u'\n');
    return result;
}

} // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

    QTemporaryDir m_office;
    QString m_officeFailure;

private slots:
    void body_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QString() << QByteArray("\\par");
        QTest::newRow("escapes") << u"\\{x}"_qs << QByteArray("\\\\\\{x\\}\\par");
        QTest::newRow("all printable ascii") << u"~ !\"#$%&'()*+,-./09:;<=>?@AZ[]^_`az|"_qs
                                             << QByteArray("~ !\"#$%&'()*+,-./09:;<=>?@AZ[]^_`az|\\par");
        // Line ends: one \par each (CR LF is one), and one more for the last line.
        QTest::newRow("every line end") << units({'a', '\n', 'b', '\r', '\n', 'c', '\r', 'd', 0x2029, 'e', 0x85, 'f'})
                                        << QByteArray("a\\par b\\par c\\par d\\par e\\par f\\par");
        QTest::newRow("LF CR and CR CR LF are two") << u"a\n\rb\r\r\nc"_qs << QByteArray("a\\par\\par b\\par\\par c\\par");
        QTest::newRow("trailing newline") << u"a\n"_qs << QByteArray("a\\par\\par");
        QTest::newRow("only CRLF") << u"\r\n"_qs << QByteArray("\\par\\par");
        QTest::newRow("CRLF split by NUL is two") << units({'\r', 0, '\n'}) << QByteArray("\\par\\par\\par");
        // The space after a control word only where the next byte would join it.
        QTest::newRow("tab before letter, digit, minus, space") << u"\tx\t5\t-\t "_qs
                                                                << QByteArray("\\tab x\\tab 5\\tab -\\tab  \\par");
        QTest::newRow("tab before dot and brace") << u"\t.\t{"_qs << QByteArray("\\tab.\\tab\\{\\par");
        QTest::newRow("dropped control keeps the space") << units({'\t', 0, 'x'}) << QByteArray("\\tab x\\par");
        QTest::newRow("vertical tab, line separator, form feed") << units({'a', '\v', 'b', 0x2028, 'c', '\f', 'd'})
                                                                 << QByteArray("a\\line b\\line c\\page d\\par");
        QTest::newRow("NUL, C0, DEL and C1 dropped") << units({'a', 0, 0x01, 0x08, 0x0E, 0x1B, 0x1F, 0x7F, 0x80, 0x81, 0x9F, 'b'})
                                                     << QByteArray("ab\\par");
        // \uN\'hh for everything else.
        QTest::newRow("latin-1") << units({0xE9, 0xA0, 0xFF}) << QByteArray("\\u233\\'e9\\u160\\'a0\\u255\\'ff\\par");
        QTest::newRow("1252 above 0x80") << units({0x20AC, 0x201C, 0x0152, 0x0178, 0x02DC})
                                         << QByteArray("\\u8364\\'80\\u8220\\'93\\u338\\'8c\\u376\\'9f\\u732\\'98\\par");
        QTest::newRow("not in 1252") << units({0x0100, 0x4E00}) << QByteArray("\\u256\\'3f\\u19968\\'3f\\par");
        QTest::newRow("signed 16 bits") << units({0x7FFF, 0x8000, 0xFFFF})
                                        << QByteArray("\\u32767\\'3f\\u-32768\\'3f\\u-1\\'3f\\par");
        QTest::newRow("BOM kept, letter after") << units({0xFEFF, 'a'}) << QByteArray("\\u-257\\'3fa\\par");
        QTest::newRow("astral") << u"😀"_qs << QByteArray("\\u-10179\\'3f\\u-8704\\'3f\\par");
        QTest::newRow("lone high, lone low") << units({0xD83D, 'a', 0xDE00}) << QByteArray("\\u-3\\'3fa\\u-3\\'3f\\par");
        QTest::newRow("lone high at end") << units({'a', 0xD83D}) << QByteArray("a\\u-3\\'3f\\par");
        QTest::newRow("swapped pair, two highs then low") << units({0xDE00, 0xD83D, 0xD83D, 0xDE00})
                                                          << QByteArray("\\u-3\\'3f\\u-3\\'3f\\u-10179\\'3f\\u-8704\\'3f\\par");
        QTest::newRow("high then newline") << units({0xD83D, '\n'}) << QByteArray("\\u-3\\'3f\\par\\par");
    }
    void body()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, body);
        const QByteArray rtf = toRtf(text, u"Arial"_qs, 11);
        QCOMPARE(rtf, document("Arial", 22, body));
        readsBackAs(rtf, text);
    }

    void faceAndSize_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<QByteArray>("written");
        QTest::addColumn<int>("halfPoints");
        // A ';' would end the name: dropped, with controls and separators; blank gives Arial.
        QTest::newRow("escapes") << u"A\\B{C}"_qs << 11.0 << QByteArray("A\\\\B\\{C\\}") << 22;
        QTest::newRow("semicolons") << u";Foo;Bar;"_qs << 11.0 << QByteArray("FooBar") << 22;
        QTest::newRow("non-ASCII") << u"Café 文"_qs << 11.0 << QByteArray("Caf\\u233\\'e9 \\u25991\\'3f") << 22;
        QTest::newRow("astral") << u"A😀"_qs << 11.0 << QByteArray("A\\u-10179\\'3f\\u-8704\\'3f") << 22;
        QTest::newRow("lone surrogate") << units({'A', 0xD800}) << 11.0 << QByteArray("A\\u-3\\'3f") << 22;
        QTest::newRow("controls and separators") << units({'A', '\t', '\n', 0x2028, 0x2029, 0, 0x85, 'B'}) << 11.0
                                                 << QByteArray("AB") << 22;
        QTest::newRow("trimmed") << u"  Foo Bar  "_qs << 11.0 << QByteArray("Foo Bar") << 22;
        QTest::newRow("empty") << QString() << 11.0 << QByteArray("Arial") << 22;
        QTest::newRow("only blanks and semicolons") << u" ; ; "_qs << 11.0 << QByteArray("Arial") << 22;
        // Whole half-points, rounded half up, 1 to 3276; NaN gives 12 pt.
        QTest::newRow("7.8 pt") << u"Arial"_qs << 7.8 << QByteArray("Arial") << 16;
        QTest::newRow("10.8 pt") << u"Arial"_qs << 10.8 << QByteArray("Arial") << 22;
        QTest::newRow("14 pt") << u"Arial"_qs << 14.0 << QByteArray("Arial") << 28;
        QTest::newRow("1638 pt") << u"Arial"_qs << 1638.0 << QByteArray("Arial") << 3276;
        QTest::newRow("10.25 rounds up") << u"Arial"_qs << 10.25 << QByteArray("Arial") << 21;
        QTest::newRow("10.24 rounds down") << u"Arial"_qs << 10.24 << QByteArray("Arial") << 20;
        QTest::newRow("tiny") << u"Arial"_qs << 0.1 << QByteArray("Arial") << 1;
        QTest::newRow("negative") << u"Arial"_qs << -12.0 << QByteArray("Arial") << 1;
        QTest::newRow("above Word's largest") << u"Arial"_qs << 1638.5 << QByteArray("Arial") << 3276;
        QTest::newRow("huge") << u"Arial"_qs << 1e12 << QByteArray("Arial") << 3276;
        QTest::newRow("infinity") << u"Arial"_qs << qInf() << QByteArray("Arial") << 3276;
        QTest::newRow("NaN") << u"Arial"_qs << qQNaN() << QByteArray("Arial") << 24;
    }
    void faceAndSize()
    {
        QFETCH(QString, face);
        QFETCH(double, points);
        QFETCH(QByteArray, written);
        QFETCH(int, halfPoints);
        const QByteArray rtf = toRtf(u"x"_qs, face, points);
        QCOMPARE(rtf, document(written, halfPoints, "x\\par"));
        QCOMPARE(rtfHalfPoints(points), halfPoints);
        const ReadBack back = readRtf(rtf);
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
        QCOMPARE(back.face, rtfFontName(face));
    }

    // Every Windows-1252 character, then random text of every kind, reads back as documented.
    void randomTextReadsBack()
    {
        QString text = allOfCp1252();
        QRandomGenerator rng(0x61797865);
        for (int round = 0; round < 4000; ++round, text = randomText(rng)) {
            const QByteArray rtf = toRtf(text, u"Arial"_qs, 11);
            const ReadBack back = readRtf(rtf);
            if (!back.error.isEmpty() || back.text != expectedReadBack(text))
                QFAIL(qPrintable(back.error + u"\nin "_qs + QString::fromLatin1(rtf)));
        }
    }

    // Text in pieces split anywhere gives the same bytes as the text whole.
    void streamedMatchesWhole_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("pieces"); // lengths of all pieces but the last, empty ones too
        QTest::newRow("CR | LF") << u"a\r\nb"_qs << QList<int>{2, 0};
        QTest::newRow("CR | CR") << u"a\r\rb"_qs << QList<int>{2, 0};
        QTest::newRow("CR | end") << u"a\r"_qs << QList<int>{2, 0};
        QTest::newRow("high | low") << u"a😀b"_qs << QList<int>{2, 0};
        QTest::newRow("high | letter") << units({'a', 0xD83D, 'b'}) << QList<int>{2, 0};
        QTest::newRow("high | end") << units({'a', 0xD83D}) << QList<int>{2, 0};
        QTest::newRow("tab | letter") << u"\tx"_qs << QList<int>{1, 0};
        QTest::newRow("tab | NUL letter") << units({'\t', 0, 'x'}) << QList<int>{2, 0};
        // Several MiB: through the flushes and the block boundaries.
        QRandomGenerator rng(99);
        QString large;
        while (large.size() < 3 * 1024 * 1024)
            large += rng.bounded(4) ? u"The quick brown fox\tjumps\r\n"_qs : randomText(rng);
        QList<int> pieces{0};
        for (qsizetype at = 0; at < large.size(); at += pieces.last())
            pieces << rng.bounded(1, 70000);
        QTest::newRow("3 MiB in random pieces") << large << pieces;
    }
    void streamedMatchesWhole()
    {
        QFETCH(QString, text);
        QFETCH(QList<int>, pieces);
        const QByteArray whole = toRtf(text, u"Arial"_qs, 11);
        QBuffer once, streamed;
        QVERIFY(once.open(QIODevice::WriteOnly) && streamed.open(QIODevice::WriteOnly));
        QVERIFY(writeRtf(&once, text, u"Arial"_qs, 11));
        QCOMPARE(once.data(), whole);
        RtfWriter writer(&streamed, u"Arial"_qs, 11);
        qsizetype at = 0;
        for (int length : pieces) {
            QVERIFY(writer.write(QStringView(text).mid(at, length)));
            at += length;
        }
        QVERIFY(writer.write(QStringView(text).mid(std::min(at, text.size()))));
        QVERIFY(writer.finish());
        QCOMPARE(streamed.data(), whole);
        QVERIFY(!writer.write(u"more") && !writer.finish());
        readsBackAs(whole, text);
    }

    // Documents exported by the rich text box, opened in LibreOffice, give back their text (it
    // starts a paragraph at a line break and a page break) in the face and at the size written;
    // so do text files in legacy encodings (tests/data/encodings), loaded and exported. One
    // LibreOffice run converts them all to flat ODF.
    void libreOfficeReadsItBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("size");
        QTest::addColumn<QString>("converted");
        const QString soffice = QStandardPaths::findExecutable(u"soffice"_qs);
        if (soffice.isEmpty())
            QSKIP("LibreOffice is not installed");
        const struct {
            const char* name;
            QString text, face;
            double size;
        } cases[] = {
            {"every kind",
             u"Plain  two  spaces   three\ttab{braces}\\back;semi\r\nCRLF line\rCR line\nLF line"_qs + units({0x2029})
                 + u"PS"_qs + units({0x85}) + u"NEL"_qs + units({0x2028}) + u"LS\vVT\fFF é € “q” – Ω 一 😀 "_qs
                 + units({0x01, 0x7F, 0x9F, 0}) + u"lone "_qs + units({0xD800}) + u" end\t-\t5\n\n-dash\n  indented"_qs,
             u"Café X{}\\Y;Z"_qs, 10.8},
            {"empty", QString(), u"DejaVu Sans"_qs, 14},
            {"trailing newline", u"one line\n"_qs, u"Liberation Mono"_qs, 7.8},
            {"only newlines", u"\n\r\n\r"_qs, u"DejaVu Serif"_qs, 9},
            {"RTF markup as text", u"{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\f0\\fs24 Hello \\b bold\\b0\\par}\r\n\\u233?"_qs,
             u"Liberation Serif"_qs, 12},
            {"many scripts", u"Ελληνικά русский 日本語 한국어 עברית العربية ∑∞ 😀👍🏽 🇫🇷\nﬁ ß İ ǅ"_qs, u"DejaVu Sans"_qs, 16.2},
            {"spaces and tabs", u"   leading\ttrailing   \n\t\t  \n a  b   c    d     "_qs, u"DejaVu Sans Mono"_qs, 10.2},
            {"one long line", QString(u"Lorem ipsum, é ñ ø € — “quoted”\t"_qs).repeated(200), u"DejaVu Serif"_qs, 12},
        };
        QStringList inputs;
        platform::RichTextBox box({.kind = platform::ControlKind::RichTextBox, .name = u"rtf"_qs}, nullptr);
        const auto add = [&](const char* name, const QString& text, const QString& face, double size) {
            box.setFontName(face);
            box.setFontSize(float(size));
            inputs << m_office.filePath(u"%1.rtf"_qs.arg(inputs.size()));
            box.SaveFile(inputs.last(), platform::RichTextBox::rtfRTF);
            QTest::newRow(name) << text << face << size << QString(inputs.last()).replace(u".rtf"_qs, u".fodt"_qs);
        };
        for (const auto& c : cases) {
            box.setText(c.text);
            add(c.name, c.text, c.face, c.size);
        }
        const QDir samples(QFINDTESTDATA("data/encodings"));
        for (const char* name : {"koi8-r", "shift_jis", "iso-8859-7"}) {
            box.LoadFile(samples.filePath(QString::fromLatin1(name) + u".txt"_qs), platform::RichTextBox::rtfText);
            add(qPrintable(QString::fromLatin1(name) + u" file"_qs), QString::fromUtf8(testing::readFile(samples.filePath(QString::fromLatin1(name) + u".expected"_qs))),
                u"DejaVu Sans"_qs, 12);
        }
        // A profile and a home of its own: nothing of the user's, and it runs as root too.
        QProcess office;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_qs, m_office.path());
        office.setProcessEnvironment(environment);
        office.setProcessChannelMode(QProcess::MergedChannels);
        office.start(soffice, QStringList{u"-env:UserInstallation=file://"_qs + m_office.filePath(u"profile"_qs),
                                          u"--headless"_qs, u"--norestore"_qs, u"--convert-to"_qs, u"fodt"_qs,
                                          u"--outdir"_qs, m_office.path()} + inputs);
        if (!office.waitForStarted() || !office.waitForFinished(300000) || office.exitCode() != 0)
            m_officeFailure = u"LibreOffice failed: "_qs + QString::fromLocal8Bit(office.readAll());
    }
    void libreOfficeReadsItBack()
    {
        QFETCH(QString, text);
        QFETCH(QString, face);
        QFETCH(double, size);
        QFETCH(QString, converted);
        QVERIFY2(m_officeFailure.isEmpty(), qPrintable(m_officeFailure));
        const OfficeText office = readFlatOdf(testing::readFile(converted));
        QVERIFY2(office.error.isEmpty(), qPrintable(office.error));
        const QString expected = expectedReadBack(text).replace(QChar(0x2028), u'\n').replace(u'\f', u'\n');
        QCOMPARE(office.text, expected);
        if (!QString(expected).remove(u'\n').isEmpty())
            QCOMPARE(office.fonts, QSet<QString>{rtfFontName(face) + u' ' + QString::number(rtfHalfPoints(size) / 2.0) + u"pt"_qs});
    }
};

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
