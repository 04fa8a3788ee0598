// The RTF writer's documents read back strictly (support/rtfreader.h): random text of every kind,
// text across the blocks it writes in, faces and sizes. (LibreOffice reading them: tst_rtfinterop.)
#include "formats/rtfwriter.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTest>
#include <numeric>

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

class TestRtfWriter : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(TestRtfWriter)
#include "tst_rtfwriter.moc"
