// The RTF writer: what it writes for every kind of character, face and size; and its own output
// read back strictly, across the blocks it writes in. (LibreOffice reading it: tst_rtfinterop;
// failing writes: the rich text box's tests.)
#include "formats/rtfwriter.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>

using namespace glyvex;
using namespace glyvex::formats;
using testing::expectedReadBack;
using testing::ReadBack;
using testing::readRtf;
using testing::toRtf;
using testing::units;

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
    static const char16_t special[] = {'\r',   '\n',   '\t',   0x0B,   0x0C,   0x00,   0x01,   0x1F,   0x7F, 0x80, 0x85,
                                       0x9F,   0x2028, 0x2029, '\\',   '{',    '}',    ' ',    '-',    ';',  '0',  'z',
                                       0xD83D, 0xDE00, 0xFEFF, 0xFFFD, 0xFFFF, 0x8000, 0x20AC, 0x201C, 0xA0, 0xFF};
    static const char* const ends[] = {"\r\n", "\n\r", "\r\r\n", "\n\n", "\r"};
    QString out;
    for (int i = rng.bounded(60); i > 0; --i) {
        const char32_t astral = rng.bounded(0x10000, 0x110000);
        switch (rng.bounded(6)) {
        case 0:
            out += QChar(char16_t(rng.bounded(0x20, 0x7F)));
            break;
        case 1:
            out += QChar(special[rng.bounded(int(std::size(special)))]);
            break;
        case 2:
            out += QChar(char16_t(rng.bounded(0x100)));
            break;
        case 3:
            out += QChar(char16_t(rng.bounded(0x100, 0x10000)));
            break; // lone surrogates too
        case 4:
            out += QString::fromUcs4(&astral, 1);
            break;
        default:
            out += QLatin1String(ends[rng.bounded(5)]);
        }
    }
    return out;
}

} // namespace

class TestRtfWriter : public QObject {
    Q_OBJECT

private slots:
    void body_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty") << QString() << QByteArray("\\par");
        QTest::newRow("escapes") << u"\\{x}"_qs << QByteArray("\\\\\\{x\\}\\par");
        QTest::newRow("all printable ascii")
            << u"~ !\"#$%&'()*+,-./09:;<=>?@AZ[]^_`az|"_qs << QByteArray("~ !\"#$%&'()*+,-./09:;<=>?@AZ[]^_`az|\\par");
        // Line ends: one \par each (CR LF is one), and one more for the last line.
        QTest::newRow("every line end") << units({'a', '\n', 'b', '\r', '\n', 'c', '\r', 'd', 0x2029, 'e', 0x85, 'f'})
                                        << QByteArray("a\\par b\\par c\\par d\\par e\\par f\\par");
        QTest::newRow("LF CR and CR CR LF are two")
            << u"a\n\rb\r\r\nc"_qs << QByteArray("a\\par\\par b\\par\\par c\\par");
        QTest::newRow("trailing newline") << u"a\n"_qs << QByteArray("a\\par\\par");
        QTest::newRow("only CRLF") << u"\r\n"_qs << QByteArray("\\par\\par");
        QTest::newRow("CRLF split by NUL is two") << units({'\r', 0, '\n'}) << QByteArray("\\par\\par\\par");
        // The space after a control word only where the next byte would join it.
        QTest::newRow("tab before letter, digit, minus, space")
            << u"\tx\t5\t-\t "_qs << QByteArray("\\tab x\\tab 5\\tab -\\tab  \\par");
        QTest::newRow("tab before dot and brace") << u"\t.\t{"_qs << QByteArray("\\tab.\\tab\\{\\par");
        QTest::newRow("dropped control keeps the space") << units({'\t', 0, 'x'}) << QByteArray("\\tab x\\par");
        QTest::newRow("vertical tab, line separator, form feed")
            << units({'a', '\v', 'b', 0x2028, 'c', '\f', 'd'}) << QByteArray("a\\line b\\line c\\page d\\par");
        QTest::newRow("NUL, C0, DEL and C1 dropped")
            << units({'a', 0, 0x01, 0x08, 0x0E, 0x1B, 0x1F, 0x7F, 0x80, 0x81, 0x9F, 'b'}) << QByteArray("ab\\par");
        // \uN\'hh for everything else.
        QTest::newRow("latin-1") << units({0xE9, 0xA0, 0xFF}) << QByteArray("\\u233\\'e9\\u160\\'a0\\u255\\'ff\\par");
        QTest::newRow("1252 above 0x80") << units({0x20AC, 0x201C, 0x0152, 0x0178, 0x02DC})
                                         << QByteArray(
                                                "\\u8364\\'80\\u8220\\'93\\u338\\'8c\\u376\\'9f\\u732\\'98\\par");
        QTest::newRow("not in 1252") << units({0x0100, 0x4E00}) << QByteArray("\\u256\\'3f\\u19968\\'3f\\par");
        QTest::newRow("signed 16 bits") << units({0x7FFF, 0x8000, 0xFFFF})
                                        << QByteArray("\\u32767\\'3f\\u-32768\\'3f\\u-1\\'3f\\par");
        QTest::newRow("BOM kept, letter after") << units({0xFEFF, 'a'}) << QByteArray("\\u-257\\'3fa\\par");
        QTest::newRow("astral") << u"😀"_qs << QByteArray("\\u-10179\\'3f\\u-8704\\'3f\\par");
        QTest::newRow("lone high, lone low")
            << units({0xD83D, 'a', 0xDE00}) << QByteArray("\\u-3\\'3fa\\u-3\\'3f\\par");
        QTest::newRow("lone high at end") << units({'a', 0xD83D}) << QByteArray("a\\u-3\\'3f\\par");
        QTest::newRow("swapped pair, two highs then low")
            << units({0xDE00, 0xD83D, 0xD83D, 0xDE00})
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
        QTest::newRow("controls and separators")
            << units({'A', '\t', '\n', 0x2028, 0x2029, 0, 0x85, 'B'}) << 11.0 << QByteArray("AB") << 22;
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
    // The writer encodes 16 Ki units at a time: a line end or a surrogate pair across a block
    // boundary, and several MiB through the flushes, read back whole.
    void acrossBlocks_data()
    {
        QTest::addColumn<QString>("text");
        const QString filler(16383, u'a');
        QTest::newRow("CR | LF") << filler + u"\r\nb"_qs;
        QTest::newRow("CR | CR") << filler + u"\r\rb"_qs;
        QTest::newRow("high | low") << filler + u"😀b"_qs;
        QTest::newRow("high | letter") << filler + units({0xD83D, 'b'});
        QRandomGenerator rng(99);
        QString large;
        while (large.size() < 3 * 1024 * 1024)
            large += rng.bounded(4) ? u"The quick brown fox\tjumps\r\n"_qs : randomText(rng);
        QTest::newRow("3 MiB") << large;
    }
    void acrossBlocks()
    {
        QFETCH(QString, text);
        readsBackAs(toRtf(text, u"Arial"_qs, 11), text);
    }
};

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
