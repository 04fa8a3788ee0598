// LibreOffice reading the RTF documents the rich text box exports.
#include "formats/rtfwriter.h"
#include "platform/richtextbox.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QDir>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace glyvex;
using namespace glyvex::formats;
using testing::expectedReadBack;
using testing::units;

namespace {

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
        const auto styled
            = std::find_if(around.crbegin(), around.crend(), [&](const QString& s) { return fonts.contains(s); });
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

class TestRtfInterop : public QObject {
    Q_OBJECT

    QTemporaryDir m_office;
    QString m_officeFailure;

private slots:
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
            {"RTF markup as text",
             u"{\\rtf1\\ansi{\\fonttbl{\\f0 Times;}}\\f0\\fs24 Hello \\b bold\\b0\\par}\r\n\\u233?"_qs,
             u"Liberation Serif"_qs, 12},
            {"many scripts",
             u"Ελληνικά русский 日本語 한국어 עברית العربية ∑∞ 😀👍🏽 🇫🇷\nﬁ ß İ ǅ"_qs,
             u"DejaVu Sans"_qs, 16.2},
            {"spaces and tabs", u"   leading\ttrailing   \n\t\t  \n a  b   c    d     "_qs, u"DejaVu Sans Mono"_qs,
             10.2},
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
            add(qPrintable(QString::fromLatin1(name) + u" file"_qs),
                QString::fromUtf8(testing::readFile(samples.filePath(QString::fromLatin1(name) + u".expected"_qs))),
                u"DejaVu Sans"_qs, 12);
        }
        // A profile and a home of its own: nothing of the user's, and it runs as root too.
        QProcess office;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"HOME"_qs, m_office.path());
        office.setProcessEnvironment(environment);
        office.setProcessChannelMode(QProcess::MergedChannels);
        office.start(soffice,
                     QStringList{u"-env:UserInstallation=file://"_qs + m_office.filePath(u"profile"_qs),
                                 u"--headless"_qs, u"--norestore"_qs, u"--convert-to"_qs, u"fodt"_qs, u"--outdir"_qs,
                                 m_office.path()}
                         + inputs);
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
            QCOMPARE(office.fonts,
                     QSet<QString>{rtfFontName(face) + u' ' + QString::number(rtfHalfPoints(size) / 2.0) + u"pt"_qs});
    }
};

QTEST_MAIN(TestRtfInterop)
#include "tst_rtfinterop.moc"
