// The document formats: any bytes read as text (texts in many encodings, broken units, binary
// data), and the RTF writer's documents read back strictly (support/rtfreader.h): random text of
// every kind, text across the blocks it writes in, faces and sizes. (LibreOffice: tst_rtfinterop.)
#include "formats/textdecode.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <numeric>

using glyvex::formats::decodeText;
using namespace glyvex::testing;

namespace {

// Up to 60 characters of every kind: line ends, controls, escapes, all planes, lone surrogates.
QString randomText(QRandomGenerator& rng)
{
    static const char16_t special[] = {
        '\r', '\n', '\t', 0x0B, 0x0C, 0x00, 0x01, 0x1F, 0x7F,   0x80,   0x85,   0x9F,   0x2028, 0x2029, '\\',   '{',
        '}',  ' ',  '-',  ';',  '0',  'z',  0xA0, 0xFF, 0xD83D, 0xDE00, 0xFEFF, 0xFFFD, 0xFFFF, 0x8000, 0x20AC, 0x201C};
    static const char* const ends[] = {"\r\n", "\n\r", "\r\r\n", "\n\n", "\r"};
    QString out;
    for (int i = rng.bounded(60); i > 0; --i) {
        const int kind = rng.bounded(6);
        const char32_t c = kind == 0 ? rng.bounded(0x20, 0x7F)
            : kind == 1              ? special[rng.bounded(int(std::size(special)))]
            : kind == 2              ? rng.bounded(0x100)
            : kind == 3              ? rng.bounded(0x100, 0x10000) // lone surrogates too
                                     : rng.bounded(0x10000, 0x110000);
        out += kind == 5  ? QString::fromLatin1(ends[rng.bounded(5)])
            : c < 0x10000 ? QString(QChar(char16_t(c)))
                          : QString::fromUcs4(&c, 1);
    }
    return out;
}

} // namespace

class TestFormats : public QObject {
    Q_OBJECT
private slots:
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("text");
        // Natural text in each encoding (data/make_encoding_samples.py): NAME.txt reads as NAME.expected.
        const QDir folder(QFINDTESTDATA("data/encodings"));
        const QStringList names = folder.entryList({u"*.txt"_qs}, QDir::Files, QDir::Name);
        QVERIFY(names.size() >= 20);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name.chopped(4)))
                << readFile(folder.filePath(name))
                << QString::fromUtf8(readFile(folder.filePath(name.chopped(4) + u".expected"_qs)));
        // The mark is not text, a second one is; broken units become U+FFFD.
        QTest::newRow("utf8 mark twice") << bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'x'}) << units({0xFEFF, 'x'});
        QTest::newRow("utf8 mark, bad bytes after")
            << bytes({0xEF, 0xBB, 0xBF, 'a', 0xFF, 'b', 0xC3}) << units({'a', 0xFFFD, 'b', 0xFFFD});
        QTest::newRow("utf16le lone high, high at end, odd length")
            << bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0, 0x3D, 0xD8, 'b'}) << units({0xFFFD, 'a', 0xFFFD, 0xFFFD});
        QTest::newRow("utf32 above U+10FFFF, partial unit")
            << bytes({0xFF, 0xFE, 0, 0, 0, 0, 0x11, 0, 'a', 0, 0, 0, 'b', 0}) << units({0xFFFD, 'a', 0xFFFD});
        QTest::newRow("utf32le U+10000") << bytes({0xFF, 0xFE, 0, 0, 0, 0, 1, 0}) << units({0xD800, 0xDC00});
        QTest::newRow("utf32 surrogate code point") << bytes({0, 0, 0xFE, 0xFF, 0, 0, 0xD8, 0x00}) << units({0xFFFD});
        QTest::newRow("utf16le unmarked, odd length, U+4E00's NUL on the other side")
            << QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(u"一 is one, 一 again"_qs)) + 'x'
            << u"一 is one, 一 again\uFFFD"_qs;
        QTest::newRow("one NUL is not UTF-16: kept") << bytes({'a', 0, 'b'}) << units({'a', 0, 'b'});
        QTest::newRow("UTF-32 without a mark is not UTF-16")
            << bytes({'a', 0, 0, 0, 'b', 0, 0, 0}) << units({'a', 0, 0, 0, 'b', 0, 0, 0});
        QTest::newRow("empty") << QByteArray() << QString();
        QTest::newRow("ascii, then a cut sequence: one U+FFFD")
            << bytes({'x', 0xF0, 0x9F, 0x98}) << units({'x', 0xFFFD});
        // Legacy text longer than the detector reads, with one such line.
        QTest::newRow("1252, 40 KB") << QByteArray(40000, 'a') + "\ncaf\xE9" << QString(40000, u'a') + u"\ncafé"_qs;
    }
    void decodes()
    {
        QFETCH(QByteArray, input);
        QTEST(decodeText(input), "text");
    }

    // Any bytes decode, the same way every time, to well-formed UTF-16: random bytes, and bytes
    // with a NUL every 2 or 40 on average, of sizes around the 4 KiB whose NULs are counted.
    void binaryIsSafe()
    {
        QRandomGenerator rng(7);
        for (int size : {1, 2, 3, 4, 5, 7, 4095, 4096, 4097, 65537})
            for (int zeroEvery : {0, 2, 40})
                for (int round = 0; round < 20; ++round) {
                    QByteArray input(size, Qt::Uninitialized);
                    for (char& b : input)
                        b = char((zeroEvery && rng.bounded(zeroEvery) == 0) ? 0 : rng.bounded(256));
                    const QString once = decodeText(input);
                    QVERIFY2(decodeText(input) == once && once.isValidUtf16(), qPrintable(input.left(64).toHex()));
                }
    }

    // Every Windows-1252 character, the writer's 16 Ki-unit blocks split between a CR and its LF
    // or within a surrogate pair, several MiB through the flushes, and random text.
    void readsBack_data()
    {
        QTest::addColumn<QString>("text");
        QByteArray cp1252(256, 0);
        std::iota(cp1252.begin(), cp1252.end(), 0);
        QTest::newRow("all of Windows-1252") << QString(QStringDecoder("windows-1252").decode(cp1252));
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
        for (int round = 0; round < 4000; ++round)
            QTest::addRow("random %d", round) << randomText(rng);
    }
    void readsBack()
    {
        QFETCH(QString, text);
        const QByteArray rtf = toRtf(text, u"Arial"_qs, 11);
        const ReadBack back = readRtf(rtf);
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error + u"\nin "_qs + QString::fromLatin1(rtf.left(2000))));
        QCOMPARE(back.text, expectedReadBack(text));
    }

    // The face a reader gets (a ';' would end the name; blank gives Arial) and the size in whole
    // half-points, rounded half up, 1 to 3276 (Word's largest); NaN gives 12 pt.
    void faceAndSize_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<double>("points");
        QTest::addColumn<QString>("readFace");
        QTest::addColumn<int>("halfPoints");
        QTest::newRow("escapes, non-ASCII, astral") << u"A\\B{C} Café 文😀"_qs << 7.8 << u"A\\B{C} Café 文😀"_qs << 16;
        QTest::newRow("semicolons, trimmed") << u" ;Foo; Bar; "_qs << 14.0 << u"Foo Bar"_qs << 28;
        QTest::newRow("controls, separators, lone surrogate")
            << units({'A', '\t', '\n', 0x2028, 0x2029, 0, 0x85, 0xD800, 'B', 0xD800}) << 10.25
            << units({'A', 0xFFFD, 'B', 0xFFFD}) << 21;
        QTest::newRow("only blanks and semicolons") << u" ; ; "_qs << 10.24 << u"Arial"_qs << 20;
        QTest::newRow("empty, tiny") << QString() << 0.1 << u"Arial"_qs << 1;
        QTest::newRow("above Word's largest") << u"F"_qs << 1638.5 << u"F"_qs << 3276;
        QTest::newRow("NaN") << u"F"_qs << qQNaN() << u"F"_qs << 24;
    }
    void faceAndSize()
    {
        QFETCH(QString, face);
        QFETCH(double, points);
        const ReadBack back = readRtf(toRtf(u"x"_qs, face, points));
        QVERIFY2(back.error.isEmpty(), qPrintable(back.error));
        QTEST(back.face, "readFace");
        QTEST(back.halfPoints, "halfPoints");
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
