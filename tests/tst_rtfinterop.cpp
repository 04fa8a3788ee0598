// LibreOffice reading the RTF documents the rich text box exports.
#include "formats/rtfwriter.h"
#include "platform/richtextbox.h"
#include "support/files.h"
#include "support/rtfreader.h"

#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace glyvex;
using platform::RichTextBox;
using testing::units;

// What LibreOffice made of a document, from its flat ODF: the paragraphs joined with "\n" (with
// text:s, text:tab and text:line-break read back), and the "face size" over each piece of text.
static QString readFlatOdf(const QByteArray& xml, QSet<QString>& fonts)
{
    QXmlStreamReader in(xml);
    QHash<QString, QString> families, styleFonts; // font-face -> family; style -> "family size"
    QString style;
    QStringList paragraphs, around; // the "family size" of the paragraph and spans around the text
    const auto attribute = [&](const char* name) { return in.attributes().value(QLatin1String(name)).toString(); };
    const auto put = [&](const QString& text) { paragraphs.last() += text, fonts.insert(around.last()); };
    while (!in.atEnd()) {
        in.readNext();
        const QString name = in.qualifiedName().toString();
        const bool paragraph = name == u"text:p" || name == u"text:h";
        if (in.isStartElement() && (paragraph || (name == u"text:span" && !around.isEmpty()))) {
            around.append(styleFonts.value(attribute("text:style-name"),
                                           around.isEmpty() ? u"no face of its own"_qs : around.last()));
            if (paragraph)
                paragraphs.append(QString());
        } else if (in.isStartElement() && !around.isEmpty()) {
            if (name == u"text:s")
                put(QString(std::max(1, attribute("text:c").toInt()), u' '));
            else if (name == u"text:tab" || name == u"text:line-break")
                put(name == u"text:tab" ? u"\t"_qs : u"\n"_qs);
        } else if (name == u"style:font-face" && in.isStartElement()) {
            families.insert(attribute("style:name"), attribute("svg:font-family").remove(u'\''));
        } else if (name == u"style:style") {
            style = in.isStartElement() ? attribute("style:name") : QString();
        } else if (name == u"style:text-properties" && !style.isEmpty() && !attribute("style:font-name").isEmpty()) {
            styleFonts.insert(style, families.value(attribute("style:font-name")) + u' ' + attribute("fo:font-size"));
        } else if (in.isEndElement() && (paragraph || name == u"text:span")) {
            around.removeLast();
        } else if (in.isCharacters() && !around.isEmpty()) {
            put(in.text().toString());
        }
    }
    return in.hasError() ? in.errorString() : paragraphs.join(u'\n');
}

class TestRtfInterop : public QObject {
    Q_OBJECT
    QTemporaryDir m_office;
    int m_officeStatus = -1;

private slots:
    // Documents exported by the rich text box, opened in LibreOffice, give back their text (a line
    // or page break starts a paragraph there) in the face and at the size written. One run converts
    // them all to flat ODF, with a profile and a home of its own (nothing of the user's; as root).
    void libreOfficeReadsItBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("font");
        if (QStandardPaths::findExecutable(u"soffice"_qs).isEmpty())
            QSKIP("LibreOffice is not installed");
        const QString everyKind
            = u"Plain  two  spaces   three\ttab{braces}\\back;semi\r\nCRLF line\rCR line\nLF line"_qs
            + units({0x2029, 'P', 0x85, 'N', 0x2028}) + u"LS\vVT\fFF é € “q” – Ω 一 😀 "_qs
            + units({0x01, 0x7F, 0x9F, 0}) + u"lone "_qs + units({0xD800})
            + u" end\t-\t5\n\n-dash\n  indented, trailing  \n\t\t  \n"_qs;
        QStringList office = u"--headless --norestore --convert-to fodt --outdir"_qs.split(u' ') << m_office.path();
        office << u"-env:UserInstallation=file://"_qs + m_office.path();
        platform::FontSource fonts;
        RichTextBox box({.name = u"rtf"_qs}, {fonts, {}}, nullptr);
        for (auto [name, text, face, size] : std::initializer_list<std::tuple<const char*, QString, QString, double>>{
                 {"every kind", everyKind, u"Café X{}\\Y;Z"_qs, 10.8},
                 {"empty", QString(), u"DejaVu Sans"_qs, 14},
                 {"one long line", u"Lorem, é € “q” Ωμέγα 一二 😀\t"_qs.repeated(300), u"DejaVu Sans Mono"_qs, 16.2}}) {
            box.setText(text);
            box.setFontName(face);
            box.setFontSize(float(size));
            office << m_office.filePath(QString::fromLatin1(name) + u".rtf"_qs);
            box.SaveFile(office.last());
            const QString points = QString::number(formats::rtfHalfPoints(size) / 2.0);
            QTest::newRow(name) << text << formats::rtfFontName(face) + u' ' + points + u"pt"_qs;
        }
        qputenv("HOME", QFile::encodeName(m_office.path()));
        m_officeStatus = QProcess::execute(u"soffice"_qs, office);
    }
    void libreOfficeReadsItBack()
    {
        QFETCH(QString, text);
        QCOMPARE(m_officeStatus, 0);
        QSet<QString> fonts;
        const QString expected = testing::expectedReadBack(text).replace(QChar(0x2028), u'\n').replace(u'\f', u'\n');
        const QString converted = m_office.filePath(QString::fromLatin1(QTest::currentDataTag()) + u".fodt"_qs);
        QCOMPARE(readFlatOdf(testing::readFile(converted), fonts), expected);
        if (!QString(expected).remove(u'\n').isEmpty())
            QTEST(fonts.values().join(u", "_qs), "font");
    }
};

QTEST_MAIN(TestRtfInterop)
#include "tst_rtfinterop.moc"
