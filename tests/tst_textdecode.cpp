#include "platform/textdecode.h"

#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

using glyvex::TextEncoding;

Q_DECLARE_METATYPE(glyvex::TextEncoding)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QString units(std::initializer_list<char16_t> values)
{
    QString out;
    for (char16_t v : values)
        out.append(QChar(v));
    return out;
}

QString dump(const QString& s)
{
    QStringList parts;
    for (QChar c : s)
        parts << QString::number(c.unicode(), 16).rightJustified(4, u'0');
    return parts.join(u' ');
}

QByteArray encode(const QString& text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

// A string of whole characters from every plane, without unpaired surrogates.
QString randomText(QRandomGenerator& rng, int length)
{
    QString out;
    for (int i = 0; i < length; ++i) {
        char32_t c = 0;
        switch (rng.bounded(5)) {
        case 0: c = rng.bounded(0x20, 0x7F); break;
        case 1: c = rng.bounded(0x80, 0x100); break;
        case 2: c = rng.bounded(0x100, 0xD800); break;
        case 3: c = rng.bounded(0xE000, 0x10000); break;
        default: c = rng.bounded(0x10000, 0x110000); break;
        }
        out += QString::fromUcs4(&c, 1);
    }
    return out;
}

} // namespace

class TestTextDecode : public QObject {
    Q_OBJECT

private slots:
    void decodes_data();
    void decodes();
    void cp1252MatchesIcu();
    void strictUtf8AgreesWithQt();
    void markedRoundTrip_data();
    void markedRoundTrip();
    void unmarkedUtf16RoundTrip_data();
    void unmarkedUtf16RoundTrip();
    void binaryIsSafe_data();
    void binaryIsSafe();
    void givenEncoding_data();
    void givenEncoding();
};

void TestTextDecode::decodes_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");

    // Byte-order marks; the mark is not text, a second one is.
    QTest::newRow("utf8 mark") << bytes({0xEF, 0xBB, 0xBF, 'h', 0xC3, 0xA9}) << TextEncoding::Utf8Bom << u"hé"_qs;
    QTest::newRow("utf8 mark only") << bytes({0xEF, 0xBB, 0xBF}) << TextEncoding::Utf8Bom << QString();
    QTest::newRow("utf8 mark twice") << bytes({0xEF, 0xBB, 0xBF, 0xEF, 0xBB, 0xBF, 'x'}) << TextEncoding::Utf8Bom
                                     << units({0xFEFF, 'x'});
    QTest::newRow("utf8 mark, bad bytes after") << bytes({0xEF, 0xBB, 0xBF, 'a', 0xFF, 'b', 0xC3})
                                                << TextEncoding::Utf8Bom << units({'a', 0xFFFD, 'b', 0xFFFD});
    QTest::newRow("utf16le mark") << bytes({0xFF, 0xFE, 'h', 0, 0xAC, 0x20}) << TextEncoding::Utf16LeBom << u"h€"_qs;
    QTest::newRow("utf16be mark") << bytes({0xFE, 0xFF, 0, 'h', 0x20, 0xAC}) << TextEncoding::Utf16BeBom << u"h€"_qs;
    QTest::newRow("utf16le mark only") << bytes({0xFF, 0xFE}) << TextEncoding::Utf16LeBom << QString();
    QTest::newRow("utf16le astral") << bytes({0xFF, 0xFE, 0x3D, 0xD8, 0x00, 0xDE}) << TextEncoding::Utf16LeBom
                                    << u"😀"_qs;
    QTest::newRow("utf16le odd length") << bytes({0xFF, 0xFE, 'a', 0, 'b'}) << TextEncoding::Utf16LeBom
                                        << units({'a', 0xFFFD});
    QTest::newRow("utf16le lone high surrogate") << bytes({0xFF, 0xFE, 0x3D, 0xD8, 'a', 0})
                                                 << TextEncoding::Utf16LeBom << units({0xFFFD, 'a'});
    QTest::newRow("utf16le high surrogate at end") << bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8})
                                                   << TextEncoding::Utf16LeBom << units({'a', 0xFFFD});
    QTest::newRow("utf16be lone low surrogate") << bytes({0xFE, 0xFF, 0xDE, 0x00, 0, 'a'})
                                                << TextEncoding::Utf16BeBom << units({0xFFFD, 'a'});
    QTest::newRow("utf32le mark") << bytes({0xFF, 0xFE, 0, 0, 'h', 0, 0, 0, 0x00, 0xF6, 0x01, 0})
                                  << TextEncoding::Utf32LeBom << u"h😀"_qs;
    QTest::newRow("utf32be mark") << bytes({0, 0, 0xFE, 0xFF, 0, 0, 0, 'h', 0, 0x01, 0xF6, 0x00})
                                  << TextEncoding::Utf32BeBom << u"h😀"_qs;
    // FF FE 00 00 is read as UTF-32, not as UTF-16 starting with U+0000.
    QTest::newRow("utf32le mark only") << bytes({0xFF, 0xFE, 0, 0}) << TextEncoding::Utf32LeBom << QString();
    QTest::newRow("utf32 above U+10FFFF") << bytes({0xFF, 0xFE, 0, 0, 0, 0, 0x11, 0, 'a', 0, 0, 0})
                                          << TextEncoding::Utf32LeBom << units({0xFFFD, 'a'});
    QTest::newRow("utf32 surrogate code point") << bytes({0, 0, 0xFE, 0xFF, 0, 0, 0xD8, 0x00})
                                                << TextEncoding::Utf32BeBom << units({0xFFFD});
    QTest::newRow("utf32 partial unit") << bytes({0xFF, 0xFE, 0, 0, 'a', 0, 0, 0, 'b', 0})
                                        << TextEncoding::Utf32LeBom << units({'a', 0xFFFD});

    // UTF-16 without a mark, told apart by where the NULs are.
    QTest::newRow("utf16le unmarked") << bytes({'h', 0, 'i', 0}) << TextEncoding::Utf16Le << u"hi"_qs;
    QTest::newRow("utf16be unmarked") << bytes({0, 'h', 0, 'i'}) << TextEncoding::Utf16Be << u"hi"_qs;
    QTest::newRow("utf16le unmarked, odd length") << bytes({'h', 0, 'i', 0, 'x'}) << TextEncoding::Utf16Le
                                                  << units({'h', 'i', 0xFFFD});
    QTest::newRow("utf16be unmarked, odd length") << bytes({0, 'h', 0, 'i', 0}) << TextEncoding::Utf16Be
                                                  << units({'h', 'i', 0xFFFD});
    QTest::newRow("utf16le unmarked, mixed") << encode(u"Grüße, 世界 — Ωμέγα\r\n"_qs, QStringConverter::Utf16LE)
                                             << TextEncoding::Utf16Le << u"Grüße, 世界 — Ωμέγα\r\n"_qs;
    QTest::newRow("utf16be unmarked, mixed") << encode(u"Grüße, 世界 — Ωμέγα\r\n"_qs, QStringConverter::Utf16BE)
                                             << TextEncoding::Utf16Be << u"Grüße, 世界 — Ωμέγα\r\n"_qs;
    // U+4E00 has a zero low byte: one NUL on the "wrong" side does not matter.
    QTest::newRow("utf16le with a zero low byte") << encode(u"一 is one, 一 again"_qs, QStringConverter::Utf16LE)
                                                  << TextEncoding::Utf16Le << u"一 is one, 一 again"_qs;

    // A NUL or two is not UTF-16: plain UTF-8 keeps them.
    QTest::newRow("single NUL") << bytes({0}) << TextEncoding::Utf8 << units({0});
    QTest::newRow("one NUL in text") << bytes({'a', 0, 'b'}) << TextEncoding::Utf8 << units({'a', 0, 'b'});
    QTest::newRow("NULs on both sides") << bytes({0, 0, 0, 0}) << TextEncoding::Utf8 << units({0, 0, 0, 0});
    QTest::newRow("UTF-32 without a mark is not UTF-16")
            << bytes({'a', 0, 0, 0, 'b', 0, 0, 0}) << TextEncoding::Utf8 << units({'a', 0, 0, 0, 'b', 0, 0, 0});
    QTest::newRow("one NUL in a long text")
            << (QByteArray(100, 'x') + bytes({0}) + QByteArray(100, 'y')) << TextEncoding::Utf8
            << (QString(100, u'x') + units({0}) + QString(100, u'y'));

    // Strict UTF-8.
    QTest::newRow("empty") << QByteArray() << TextEncoding::Utf8 << QString();
    QTest::newRow("ascii") << QByteArray("plain text\n") << TextEncoding::Utf8 << u"plain text\n"_qs;
    QTest::newRow("utf8 2-4 bytes") << QByteArray("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80") << TextEncoding::Utf8
                                    << u"é€😀"_qs;
    QTest::newRow("utf8 highest") << QByteArray("\xF4\x8F\xBF\xBF") << TextEncoding::Utf8 << units({0xDBFF, 0xDFFF});
    QTest::newRow("utf8 noncharacter") << QByteArray("\xEF\xBF\xBF") << TextEncoding::Utf8 << units({0xFFFF});

    // Anything that is not well-formed UTF-8 is Windows-1252, byte for byte.
    QTest::newRow("lone continuation") << bytes({'a', 0x80}) << TextEncoding::Windows1252 << u"a€"_qs;
    QTest::newRow("truncated 2-byte at end") << bytes({'a', 0xC3}) << TextEncoding::Windows1252 << u"aÃ"_qs;
    QTest::newRow("truncated 3-byte at end") << bytes({0xE2, 0x82}) << TextEncoding::Windows1252 << units({0xE2, 0x201A});
    QTest::newRow("truncated 4-byte at end") << bytes({'x', 0xF0, 0x9F, 0x98}) << TextEncoding::Windows1252
                                             << units({'x', 0xF0, 0x178, 0x2DC});
    QTest::newRow("overlong slash") << bytes({0xC0, 0xAF}) << TextEncoding::Windows1252 << u"À¯"_qs;
    QTest::newRow("overlong 3-byte") << bytes({0xE0, 0x80, 0xAF}) << TextEncoding::Windows1252
                                     << units({0xE0, 0x20AC, 0xAF});
    QTest::newRow("encoded surrogate") << bytes({0xED, 0xA0, 0x80}) << TextEncoding::Windows1252
                                       << units({0xED, 0xA0, 0x20AC});
    QTest::newRow("above U+10FFFF") << bytes({0xF4, 0x90, 0x80, 0x80}) << TextEncoding::Windows1252
                                    << units({0xF4, 0x90, 0x20AC, 0x20AC});
    QTest::newRow("F5 lead byte") << bytes({0xF5, 0x80, 0x80, 0x80}) << TextEncoding::Windows1252
                                  << units({0xF5, 0x20AC, 0x20AC, 0x20AC});
    QTest::newRow("bad byte after long ascii") << (QByteArray(37, 'a') + bytes({0xE9}))
                                               << TextEncoding::Windows1252 << (QString(37, u'a') + u"é"_qs);
    QTest::newRow("latin1 word") << QByteArray("caf\xE9") << TextEncoding::Windows1252 << u"café"_qs;
    QTest::newRow("smart quotes") << bytes({0x93, 'q', 0x94, ' ', 0x91, 's', 0x92}) << TextEncoding::Windows1252
                                  << u"“q” ‘s’"_qs;
    QTest::newRow("1252 specials") << bytes({0x80, 0x85, 0x8A, 0x96, 0x97, 0x99, 0x9F}) << TextEncoding::Windows1252
                                   << u"€…Š–—™Ÿ"_qs;
    QTest::newRow("unassigned 1252 bytes") << bytes({0x81, 0x8D, 0x8F, 0x90, 0x9D}) << TextEncoding::Windows1252
                                           << units({0x81, 0x8D, 0x8F, 0x90, 0x9D});
    QTest::newRow("1252 upper half") << bytes({0xA0, 0xFF}) << TextEncoding::Windows1252 << units({0xA0, 0xFF});
    QTest::newRow("mark-like but short") << bytes({0xEF, 0xBB}) << TextEncoding::Windows1252 << u"ï»"_qs;
}

void TestTextDecode::decodes()
{
    QFETCH(QByteArray, input);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);

    QCOMPARE(glyvex::detectEncoding(input), encoding);
    TextEncoding used = TextEncoding::Utf8Bom;
    const QString decoded = glyvex::decodeText(input, &used);
    QCOMPARE(used, encoding);
    QCOMPARE(dump(decoded), dump(text));
    QCOMPARE(glyvex::decodeText(input), text);
}

void TestTextDecode::cp1252MatchesIcu()
{
    QStringDecoder icu("windows-1252", QStringConverter::Flag::Stateless);
    if (!icu.isValid())
        QSKIP("this Qt has no windows-1252 codec");
    for (int b = 0; b < 256; ++b) {
        const QByteArray one(1, char(b));
        QCOMPARE(glyvex::decodeText(one, TextEncoding::Windows1252), icu.decode(one));
    }
}

// Bytes built from well-formed characters and from broken fragments of
// UTF-8 sequences: the strict check must agree with Qt's own decoder about
// every one of them.
void TestTextDecode::strictUtf8AgreesWithQt()
{
    static const int leads[] = {0x41, 0x7F, 0xC2, 0xDF, 0xC0, 0xC1, 0xE0, 0xE1, 0xEC, 0xED, 0xEE, 0xEF,
                                0xF0, 0xF1, 0xF3, 0xF4, 0xF5, 0xF8, 0xFE, 0xFF, 0x80, 0xBF};
    static const int trails[] = {0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0x41, 0xC2, 0xE0};
    static const char32_t edges[] = {0x01, 0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFD, 0xFFFF,
                                     0x10000, 0x10FFFF};
    QRandomGenerator rng(20240611);
    int utf8 = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray input;
        const int length = rng.bounded(1, 6);
        for (int i = 0; i < length; ++i) {
            if (rng.bounded(5)) {
                const char32_t c = rng.bounded(3) ? edges[rng.bounded(int(std::size(edges)))]
                                                  : char32_t(rng.bounded(0xE000, 0x110000));
                input += QString::fromUcs4(&c, 1).toUtf8();
                continue;
            }
            input.append(char(leads[rng.bounded(int(std::size(leads)))]));
            const int tail = rng.bounded(4);
            for (int k = 0; k < tail; ++k)
                input.append(char(trails[rng.bounded(int(std::size(trails)))]));
        }
        // Keep clear of the byte-order marks.
        if (input.startsWith("\xEF\xBB\xBF") || input.startsWith("\xFE\xFF") || input.startsWith("\xFF\xFE"))
            input.prepend('a');
        QStringDecoder qt(QStringConverter::Utf8,
                          QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        const QString reference = qt.decode(input);
        const TextEncoding encoding = glyvex::detectEncoding(input);
        QVERIFY2(encoding == (qt.hasError() ? TextEncoding::Windows1252 : TextEncoding::Utf8),
                 input.toHex(' ').constData());
        if (encoding == TextEncoding::Utf8) {
            ++utf8;
            QCOMPARE(glyvex::decodeText(input), reference);
        } else {
            QCOMPARE(glyvex::decodeText(input).size(), input.size());
        }
    }
    // Both outcomes must have come up often.
    QVERIFY2(utf8 > 2000 && utf8 < 18000, qPrintable(QString::number(utf8)));
}

void TestTextDecode::markedRoundTrip_data()
{
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<int>("encoding");
    QTest::addColumn<TextEncoding>("detected");

    QTest::newRow("utf8") << bytes({0xEF, 0xBB, 0xBF}) << int(QStringConverter::Utf8) << TextEncoding::Utf8Bom;
    QTest::newRow("utf16le") << bytes({0xFF, 0xFE}) << int(QStringConverter::Utf16LE) << TextEncoding::Utf16LeBom;
    QTest::newRow("utf16be") << bytes({0xFE, 0xFF}) << int(QStringConverter::Utf16BE) << TextEncoding::Utf16BeBom;
    QTest::newRow("utf32le") << bytes({0xFF, 0xFE, 0, 0}) << int(QStringConverter::Utf32LE)
                             << TextEncoding::Utf32LeBom;
    QTest::newRow("utf32be") << bytes({0, 0, 0xFE, 0xFF}) << int(QStringConverter::Utf32BE)
                             << TextEncoding::Utf32BeBom;
}

void TestTextDecode::markedRoundTrip()
{
    QFETCH(QByteArray, mark);
    QFETCH(int, encoding);
    QFETCH(TextEncoding, detected);

    QRandomGenerator rng(7);
    for (int round = 0; round < 500; ++round) {
        const QString text = randomText(rng, rng.bounded(0, 40));
        const QByteArray input = mark + encode(text, QStringConverter::Encoding(encoding));
        TextEncoding used = TextEncoding::Windows1252;
        QCOMPARE(glyvex::decodeText(input, &used), text);
        QCOMPARE(used, detected);
    }
}

void TestTextDecode::unmarkedUtf16RoundTrip_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<TextEncoding>("detected");
    QTest::newRow("le") << int(QStringConverter::Utf16LE) << TextEncoding::Utf16Le;
    QTest::newRow("be") << int(QStringConverter::Utf16BE) << TextEncoding::Utf16Be;
}

// Mostly Latin text with some of everything, longer than the sample the
// detection looks at.
void TestTextDecode::unmarkedUtf16RoundTrip()
{
    QFETCH(int, encoding);
    QFETCH(TextEncoding, detected);

    QRandomGenerator rng(11);
    for (int round = 0; round < 50; ++round) {
        QString text;
        const int words = rng.bounded(2, 2000);
        for (int w = 0; w < words; ++w) {
            text += rng.bounded(3) ? u"word "_qs : randomText(rng, 3);
            if (rng.bounded(10) == 0)
                text += u"\r\n"_qs;
        }
        const QByteArray input = encode(text, QStringConverter::Encoding(encoding));
        if (input.startsWith("\xFF\xFE") || input.startsWith("\xFE\xFF"))
            continue;
        TextEncoding used = TextEncoding::Windows1252;
        QCOMPARE(glyvex::decodeText(input, &used), text);
        QCOMPARE(used, detected);
    }
}

void TestTextDecode::binaryIsSafe_data()
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
void TestTextDecode::binaryIsSafe()
{
    QFETCH(int, size);
    QFETCH(int, zeroEvery);

    QRandomGenerator rng(quint32(size * 31 + zeroEvery));
    for (int round = 0; round < 20; ++round) {
        QByteArray input(size, Qt::Uninitialized);
        for (char& b : input)
            b = char((zeroEvery && rng.bounded(zeroEvery) == 0) ? 0 : rng.bounded(256));
        TextEncoding first = TextEncoding::Utf8;
        const QString once = glyvex::decodeText(input, &first);
        TextEncoding second = TextEncoding::Utf8;
        const QString twice = glyvex::decodeText(input, &second);
        QCOMPARE(once, twice);
        QCOMPARE(first, second);
        QVERIFY(once.isValidUtf16());
        if (first == TextEncoding::Windows1252)
            QCOMPARE(once.size(), input.size());
    }
}

void TestTextDecode::givenEncoding_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");

    QTest::newRow("utf16le mark absent") << bytes({'a', 0}) << TextEncoding::Utf16LeBom << u"a"_qs;
    QTest::newRow("utf16le mark present") << bytes({0xFF, 0xFE, 'a', 0}) << TextEncoding::Utf16LeBom << u"a"_qs;
    QTest::newRow("utf16le unmarked keeps a mark") << bytes({0xFF, 0xFE, 'a', 0}) << TextEncoding::Utf16Le
                                                   << units({0xFEFF, 'a'});
    QTest::newRow("utf8 lenient") << bytes({'a', 0xE9}) << TextEncoding::Utf8 << units({'a', 0xFFFD});
    QTest::newRow("utf8 keeps a mark") << bytes({0xEF, 0xBB, 0xBF, 'a'}) << TextEncoding::Utf8
                                       << units({0xFEFF, 'a'});
    QTest::newRow("1252 of utf8 bytes") << bytes({0xC3, 0xA9}) << TextEncoding::Windows1252 << u"Ã©"_qs;
    QTest::newRow("utf32be mark absent") << bytes({0, 0, 0, 'z'}) << TextEncoding::Utf32BeBom << u"z"_qs;
}

void TestTextDecode::givenEncoding()
{
    QFETCH(QByteArray, input);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(dump(glyvex::decodeText(input, encoding)), dump(text));
}

QTEST_GUILESS_MAIN(TestTextDecode)
#include "tst_textdecode.moc"
