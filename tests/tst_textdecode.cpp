// Reading any bytes as text: texts in many encodings, broken units, and binary data.
#include "formats/textdecode.h"
#include "support/files.h"

#include <QDir>
#include <QRandomGenerator>
#include <QStringEncoder>
#include <QTest>

using glyvex::testing::bytes;
using glyvex::testing::units;

class TestTextDecode : public QObject {
    Q_OBJECT
private slots:
    // A few sentences of natural text in each encoding, written by
    // tests/data/make_encoding_samples.py: NAME.txt reads as the UTF-8 text in NAME.expected.
    void samples_data()
    {
        QTest::addColumn<QString>("path");
        const QDir folder(QFINDTESTDATA("data/encodings"));
        const QStringList names = folder.entryList({u"*.txt"_qs}, QDir::Files, QDir::Name);
        QVERIFY(names.size() >= 20);
        for (const QString& name : names)
            QTest::newRow(qPrintable(name.chopped(4))) << folder.filePath(name);
    }
    void samples()
    {
        QFETCH(QString, path);
        const QString expected
            = QString::fromUtf8(glyvex::testing::readFile(QString(path).replace(u".txt"_qs, u".expected"_qs)));
        QCOMPARE(glyvex::formats::decodeText(glyvex::testing::readFile(path)), expected);
    }

    void decodes_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("text");
        // The mark is not text, a second one is; broken units become U+FFFD.
        QTest::newRow("utf8 mark twice") << bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'x'}) << units({0xFEFF, 'x'});
        QTest::newRow("utf8 mark, bad bytes after")
            << bytes({0xEF, 0xBB, 0xBF, 'a', 0xFF, 'b', 0xC3}) << units({'a', 0xFFFD, 'b', 0xFFFD});
        QTest::newRow("utf16le odd length") << bytes({0xFF, 0xFE, 'a', 0, 'b'}) << units({'a', 0xFFFD});
        QTest::newRow("utf16le lone high surrogate") << bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0}) << units({0xFFFD, 'a'});
        QTest::newRow("utf16le high surrogate at end")
            << bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8}) << units({'a', 0xFFFD});
        QTest::newRow("utf16be lone low surrogate") << bytes({0xFE, 0xFF, 0xDE, 0x00, 0, 'a'}) << units({0xFFFD, 'a'});
        // FF FE 00 00 is read as UTF-32, not as UTF-16 starting with U+0000.
        QTest::newRow("utf32le mark only") << bytes({0xFF, 0xFE, 0, 0}) << QString();
        QTest::newRow("utf32 above U+10FFFF")
            << bytes({0xFF, 0xFE, 0, 0, 0, 0, 0x11, 0, 'a', 0, 0, 0}) << units({0xFFFD, 'a'});
        QTest::newRow("utf32 surrogate code point") << bytes({0, 0, 0xFE, 0xFF, 0, 0, 0xD8, 0x00}) << units({0xFFFD});
        QTest::newRow("utf32 partial unit") << bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0, 0, 'b', 0}) << units({'a', 0xFFFD});
        // UTF-16 without a mark, told apart by where the NULs are.
        QTest::newRow("utf16le unmarked, odd length") << bytes({'h', 0, 'i', 0, 'x'}) << units({'h', 'i', 0xFFFD});
        // U+4E00 has a zero low byte: one NUL on the "wrong" side does not matter.
        QTest::newRow("utf16le with a zero low byte")
            << QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(u"一 is one, 一 again"_qs))
            << u"一 is one, 一 again"_qs;
        // A NUL or two is not UTF-16: plain UTF-8 keeps them.
        QTest::newRow("one NUL in text") << bytes({'a', 0, 'b'}) << units({'a', 0, 'b'});
        QTest::newRow("NULs on both sides") << bytes({0, 0, 0, 0}) << units({0, 0, 0, 0});
        QTest::newRow("UTF-32 without a mark is not UTF-16")
            << bytes({'a', 0, 0, 0, 'b', 0, 0, 0}) << units({'a', 0, 0, 0, 'b', 0, 0, 0});
        QTest::newRow("empty") << QByteArray() << QString();
        // A sequence cut by the end is one U+FFFD, also in ASCII text.
        QTest::newRow("ascii, then a cut 4-byte sequence") << bytes({'x', 0xF0, 0x9F, 0x98}) << units({'x', 0xFFFD});
    }
    void decodes()
    {
        QFETCH(QByteArray, input);
        QFETCH(QString, text);
        QCOMPARE(glyvex::formats::decodeText(input), text);
    }

    void binaryIsSafe_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("zeroEvery"); // 0: uniform random bytes
        for (int size : {1, 2, 3, 4, 5, 7, 4095, 4096, 4097, 65537}) {
            QTest::addRow("random %d", size) << size << 0;
            QTest::addRow("NUL-heavy %d", size) << size << 2;
            QTest::addRow("NUL-sparse %d", size) << size << 40;
        }
    }
    // Any bytes decode, the same way every time, to well-formed UTF-16.
    void binaryIsSafe()
    {
        QFETCH(int, size);
        QFETCH(int, zeroEvery);
        QRandomGenerator rng(quint32(size * 31 + zeroEvery));
        for (int round = 0; round < 20; ++round) {
            QByteArray input(size, Qt::Uninitialized);
            for (char& b : input)
                b = char((zeroEvery && rng.bounded(zeroEvery) == 0) ? 0 : rng.bounded(256));
            const QString once = glyvex::formats::decodeText(input);
            QCOMPARE(glyvex::formats::decodeText(input), once);
            QVERIFY(once.isValidUtf16());
        }
    }
};

QTEST_GUILESS_MAIN(TestTextDecode)
#include "tst_textdecode.moc"
