// Reading any bytes as text: texts in many encodings, broken units, and binary data.
#include "formats/textdecode.h"
#include "support/files.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

using glyvex::formats::decodeText;
using namespace glyvex::testing;

class TestTextDecode : public QObject {
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
};

QTEST_GUILESS_MAIN(TestTextDecode)
#include "tst_textdecode.moc"
