// Reading any bytes as text: which encoding is picked, and what each gives.
#include "platform/textdecode.h"
#include "support/files.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using glyvex::TextEncoding;
using glyvex::testing::bytes;
using glyvex::testing::units;

Q_DECLARE_METATYPE(glyvex::TextEncoding)

namespace {

QByteArray encode(const QString& text, QStringConverter::Encoding encoding)
{
    return QStringEncoder(encoding, QStringConverter::Flag::Stateless).encode(text);
}

// Whole characters from every plane, without unpaired surrogates.
QString randomText(QRandomGenerator& rng, int length)
{
    QString out;
    for (int i = 0; i < length; ++i) {
        static const char32_t from[] = {0x20, 0x80, 0x100, 0xE000, 0x10000}, to[] = {0x7F, 0x100, 0xD800, 0x10000, 0x110000};
        const int range = rng.bounded(5);
        const char32_t c = rng.bounded(from[range], to[range]);
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

} // namespace

class TestTextDecode : public QObject {
    Q_OBJECT
private slots:
    void decodes_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QString>("text");
        // Byte-order marks (whole texts in every encoding: encodedTextReadsBack). The mark is
        // not text, a second one is; broken units become U+FFFD.
        QTest::newRow("utf8 mark twice") << bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'x'}) << TextEncoding::Utf8Bom
                                         << units({0xFEFF, 'x'});
        QTest::newRow("utf8 mark, bad bytes after") << bytes({0xEF, 0xBB, 0xBF, 'a', 0xFF, 'b', 0xC3})
                                                    << TextEncoding::Utf8Bom << units({'a', 0xFFFD, 'b', 0xFFFD});
        QTest::newRow("utf16le odd length") << bytes({0xFF, 0xFE, 'a', 0, 'b'}) << TextEncoding::Utf16LeBom
                                            << units({'a', 0xFFFD});
        QTest::newRow("utf16le lone high surrogate") << bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0})
                                                     << TextEncoding::Utf16LeBom << units({0xFFFD, 'a'});
        QTest::newRow("utf16le high surrogate at end") << bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8})
                                                       << TextEncoding::Utf16LeBom << units({'a', 0xFFFD});
        QTest::newRow("utf16be lone low surrogate") << bytes({0xFE, 0xFF, 0xDE, 0x00, 0, 'a'})
                                                    << TextEncoding::Utf16BeBom << units({0xFFFD, 'a'});
        // FF FE 00 00 is read as UTF-32, not as UTF-16 starting with U+0000.
        QTest::newRow("utf32le mark only") << bytes({0xFF, 0xFE, 0, 0}) << TextEncoding::Utf32LeBom << QString();
        QTest::newRow("utf32 above U+10FFFF") << bytes({0xFF, 0xFE, 0, 0, 0, 0, 0x11, 0, 'a', 0, 0, 0})
                                              << TextEncoding::Utf32LeBom << units({0xFFFD, 'a'});
        QTest::newRow("utf32 surrogate code point") << bytes({0, 0, 0xFE, 0xFF, 0, 0, 0xD8, 0x00})
                                                    << TextEncoding::Utf32BeBom << units({0xFFFD});
        QTest::newRow("utf32 partial unit") << bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0, 0, 'b', 0})
                                            << TextEncoding::Utf32LeBom << units({'a', 0xFFFD});
        // UTF-16 without a mark, told apart by where the NULs are.
        QTest::newRow("utf16le unmarked, odd length") << bytes({'h', 0, 'i', 0, 'x'}) << TextEncoding::Utf16Le
                                                      << units({'h', 'i', 0xFFFD});
        QTest::newRow("utf16be unmarked, odd length") << bytes({0, 'h', 0, 'i', 0}) << TextEncoding::Utf16Be
                                                      << units({'h', 'i', 0xFFFD});
        // U+4E00 has a zero low byte: one NUL on the "wrong" side does not matter.
        QTest::newRow("utf16le with a zero low byte") << encode(u"一 is one, 一 again"_qs, QStringConverter::Utf16LE)
                                                      << TextEncoding::Utf16Le << u"一 is one, 一 again"_qs;
        // A NUL or two is not UTF-16: plain UTF-8 keeps them.
        QTest::newRow("single NUL") << bytes({0}) << TextEncoding::Utf8 << units({0});
        QTest::newRow("one NUL in text") << bytes({'a', 0, 'b'}) << TextEncoding::Utf8 << units({'a', 0, 'b'});
        QTest::newRow("NULs on both sides") << bytes({0, 0, 0, 0}) << TextEncoding::Utf8 << units({0, 0, 0, 0});
        QTest::newRow("UTF-32 without a mark is not UTF-16")
            << bytes({'a', 0, 0, 0, 'b', 0, 0, 0}) << TextEncoding::Utf8 << units({'a', 0, 0, 0, 'b', 0, 0, 0});
        QTest::newRow("one NUL in a long text") << (QByteArray(100, 'x') + bytes({0}) + QByteArray(100, 'y'))
                                                << TextEncoding::Utf8 << (QString(100, u'x') + units({0}) + QString(100, u'y'));
        QTest::newRow("empty") << QByteArray() << TextEncoding::Utf8 << QString();
        // Anything that is not well-formed UTF-8 is Windows-1252, byte for byte.
        QTest::newRow("latin1 word, cut-off sequence") << QByteArray("caf\xE9") << TextEncoding::Windows1252 << u"café"_qs;
        QTest::newRow("truncated 4-byte at end") << bytes({'x', 0xF0, 0x9F, 0x98}) << TextEncoding::Windows1252
                                                 << units({'x', 0xF0, 0x178, 0x2DC});
        QTest::newRow("overlong slash") << bytes({0xC0, 0xAF}) << TextEncoding::Windows1252 << u"À¯"_qs;
        QTest::newRow("encoded surrogate") << bytes({0xED, 0xA0, 0x80}) << TextEncoding::Windows1252
                                           << units({0xED, 0xA0, 0x20AC});
        QTest::newRow("above U+10FFFF") << bytes({0xF4, 0x90, 0x80, 0x80}) << TextEncoding::Windows1252
                                        << units({0xF4, 0x90, 0x20AC, 0x20AC});
        QTest::newRow("bad byte amid long ascii") << (QByteArray(32, 'a') + bytes({0xE9}) + QByteArray(8, 'b'))
                                                  << TextEncoding::Windows1252 << (QString(32, u'a') + u"é"_qs + QString(8, u'b'));
        QTest::newRow("smart quotes") << bytes({0x93, 'q', 0x94, ' ', 0x91, 's', 0x92}) << TextEncoding::Windows1252
                                      << u"“q” ‘s’"_qs;
        QTest::newRow("unassigned 1252 bytes") << bytes({0x81, 0x8D, 0x8F, 0x90, 0x9D}) << TextEncoding::Windows1252
                                               << units({0x81, 0x8D, 0x8F, 0x90, 0x9D});
        QTest::newRow("mark-like but short") << bytes({0xEF, 0xBB}) << TextEncoding::Windows1252 << u"ï»"_qs;
    }
    void decodes()
    {
        QFETCH(QByteArray, input);
        QFETCH(TextEncoding, encoding);
        QFETCH(QString, text);
        QCOMPARE(glyvex::detectEncoding(input), encoding);
        TextEncoding used = TextEncoding::Utf8Bom;
        QCOMPARE(glyvex::decodeText(input, &used), text);
        QCOMPARE(used, encoding);
    }

    void cp1252MatchesIcu()
    {
        QStringDecoder icu("windows-1252", QStringConverter::Flag::Stateless);
        if (!icu.isValid())
            QSKIP("this Qt has no windows-1252 codec");
        for (int b = 0; b < 256; ++b) {
            const QByteArray one(1, char(b));
            QCOMPARE(glyvex::decodeText(one, TextEncoding::Windows1252), icu.decode(one));
        }
    }

    // Bytes built from well-formed characters and from broken fragments of UTF-8 sequences:
    // the strict check must agree with Qt's own decoder about every one of them.
    void strictUtf8AgreesWithQt()
    {
        static const int leads[] = {0x41, 0x7F, 0xC2, 0xDF, 0xC0, 0xC1, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF,
                                    0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xF8, 0xFE, 0xFF, 0x80, 0xBF};
        static const int trails[] = {0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0x41, 0xC2, 0xE0};
        static const char32_t edges[] = {0x01, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF, 0x10000, 0x10FFFF};
        QRandomGenerator rng(20240611);
        int utf8 = 0;
        for (int round = 0; round < 20000; ++round) {
            QByteArray input("a"); // clear of the byte-order marks
            for (int i = rng.bounded(1, 6); i > 0; --i) {
                if (rng.bounded(5)) {
                    const char32_t c = rng.bounded(3) ? edges[rng.bounded(int(std::size(edges)))]
                                                      : char32_t(rng.bounded(0xE000, 0x110000));
                    input += QString::fromUcs4(&c, 1).toUtf8();
                    continue;
                }
                input.append(char(leads[rng.bounded(int(std::size(leads)))]));
                for (int k = rng.bounded(4); k > 0; --k)
                    input.append(char(trails[rng.bounded(int(std::size(trails)))]));
            }
            QStringDecoder qt(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
            const QString reference = qt.decode(input);
            const TextEncoding encoding = glyvex::detectEncoding(input);
            QVERIFY2(encoding == (qt.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8),
                     input.toHex(' ').constData());
            if (encoding == TextEncoding::Utf8)
                QCOMPARE(glyvex::decodeText(input), reference);
            else
                QCOMPARE(glyvex::decodeText(input).size(), input.size());
            utf8 += encoding == TextEncoding::Utf8;
        }
        QVERIFY2(utf8 > 2000 && utf8 < 18000, qPrintable(QString::number(utf8))); // both came up often
    }

    void encodedTextReadsBack_data()
    {
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<int>("encoding");
        QTest::addColumn<TextEncoding>("detected");
        QTest::newRow("utf8 mark") << bytes({0xEF, 0xBB, 0xBF}) << int(QStringConverter::Utf8) << TextEncoding::Utf8Bom;
        QTest::newRow("utf16le mark") << bytes({0xFF, 0xFE}) << int(QStringConverter::Utf16LE) << TextEncoding::Utf16LeBom;
        QTest::newRow("utf16be mark") << bytes({0xFE, 0xFF}) << int(QStringConverter::Utf16BE) << TextEncoding::Utf16BeBom;
        QTest::newRow("utf32le mark") << bytes({0xFF, 0xFE, 0, 0}) << int(QStringConverter::Utf32LE)
                                      << TextEncoding::Utf32LeBom;
        QTest::newRow("utf32be mark") << bytes({0, 0, 0xFE, 0xFF}) << int(QStringConverter::Utf32BE)
                                      << TextEncoding::Utf32BeBom;
        QTest::newRow("utf16le, no mark") << QByteArray() << int(QStringConverter::Utf16LE) << TextEncoding::Utf16Le;
        QTest::newRow("utf16be, no mark") << QByteArray() << int(QStringConverter::Utf16BE) << TextEncoding::Utf16Be;
    }
    // Mostly Latin text with some of everything, short or longer than the sample the detection
    // looks at, comes back exactly.
    void encodedTextReadsBack()
    {
        QFETCH(QByteArray, mark);
        QFETCH(int, encoding);
        QFETCH(TextEncoding, detected);
        QRandomGenerator rng(11);
        for (int round = 0; round < 100; ++round) {
            QString text;
            for (int words = rng.bounded(2, round % 2 && !mark.isEmpty() ? 10 : 2000); words > 0; --words)
                text += rng.bounded(3) ? u"word "_qs : rng.bounded(10) ? randomText(rng, 3) : u"\r\n"_qs;
            const QByteArray input = mark + encode(text, QStringConverter::Encoding(encoding));
            if (mark.isEmpty() && (input.startsWith("\xFF\xFE") || input.startsWith("\xFE\xFF")))
                continue;
            TextEncoding used = TextEncoding::Windows1252;
            QCOMPARE(glyvex::decodeText(input, &used), text);
            QCOMPARE(used, detected);
        }
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
            TextEncoding first = TextEncoding::Utf8, second = TextEncoding::Utf8;
            const QString once = glyvex::decodeText(input, &first);
            QCOMPARE(glyvex::decodeText(input, &second), once);
            QCOMPARE(first, second);
            QVERIFY(once.isValidUtf16());
            if (first == TextEncoding::Windows1252)
                QCOMPARE(once.size(), input.size());
        }
    }
};

QTEST_GUILESS_MAIN(TestTextDecode)
#include "tst_textdecode.moc"
