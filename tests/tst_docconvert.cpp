// The document converter window, opened from the Preview window: a file shown in both panes,
// converted and exported as a reader gets it; failures reported; its memory returned on closing.
#include "convert/frmdocconvert.h"
#include "platform/twips.h"
#include "support/files.h"
#include "support/program.h"
#include "support/rtfreader.h"

#include <QApplication>
#include <QDir>
#include <QFontDialog>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;
using testing::readFile;
using testing::writeFile;

namespace {

// A text that is itself RTF markup, with an ampersand, several line ends and non-Latin text.
const QString kDocument = u"{\\rtf1\\ansi {\\b Bold} & more}\r\nsecond line\tγειά 😀\rthird\n"_qs;

// What a reader gets from an exported file: "face, half points: text".
QString readBack(const QString& file)
{
    const testing::ReadBack rtf = testing::readRtf(readFile(file));
    return rtf.error.isEmpty() ? rtf.face + u", "_qs + QString::number(rtf.halfPoints) + u": "_qs + rtf.text
                               : rtf.error;
}
QString exported(const QString& face, int halfPoints, const QString& text = kDocument)
{
    return face + u", "_qs + QString::number(halfPoints) + u": "_qs + testing::expectedReadBack(text);
}

bool centred(const frmDocConvert& w)
{
    return w.Top() == centreWholeTwip(w.Screen().Height(), w.Height())
        && w.Left() == centreWholeTwip(w.Screen().Width(), w.Width());
}

} // namespace

class TestDocConvert : public testing::GuiTest {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<testing::Program> m_program;
    QString path(const QString& name) const { return m_dir->filePath(name); }
    QStringList files() const { return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden); }

    // Chooses "Document Converter" in the Preview window; the open dialog answers `file`, the font
    // dialog (none: cancelled) `font`.
    frmDocConvert& open(const QString& file, std::optional<FontChoice> font = {})
    {
        dialogs().expectFile(file);
        if (!file.isEmpty())
            dialogs().expectFont(font);
        m_program->preview.mnuDocConvert_Click();
        return *m_program->preview.documentConverter();
    }
    QString document() const
    {
        writeFile(path(u"doc.txt"_qs), kDocument.toUtf8());
        return path(u"doc.txt"_qs);
    }

private slots:
    void init()
    {
        GuiTest::init();
        m_dir = std::make_unique<QTemporaryDir>();
        m_program = std::make_unique<testing::Program>(usePlatform({QStringLiteral("Arial")}));
    }
    void cleanup()
    {
        m_program.reset();
        m_dir.reset();
        GuiTest::cleanup();
    }

    // The whole way: open, font, export, new font, export again over the first file.
    void convertsAFile()
    {
        const QString in = path(u"R&D notes.txt"_qs), out = path(u"out"_qs);
        QVERIFY(writeFile(in, kDocument.toUtf8()));
        dialogs().expectFile(in, [](const DialogCall& call) {
            QCOMPARE(call.file.kind, FileRequest::Kind::Open);
            QCOMPARE(call.file.title + call.file.nameFilter, u"Select File To ConvertAll Files (*)"_qs);
            QVERIFY(call.ownerModal && QFileInfo(call.file.directory).isDir());
        });
        dialogs().expectFont(FontChoice{u"Liberation Mono"_qs, 7.8f}, [](const DialogCall& call) {
            QCOMPARE(call.font.title + call.font.initialFace, u"Select Font"_qs);
        });
        m_program->preview.mnuDocConvert_Click();
        frmDocConvert& window = *m_program->preview.documentConverter();
        QVERIFY(window.Visible() && centred(window));
        QCOMPARE(window.window()->windowModality(), Qt::ApplicationModal);
        QCOMPARE(window.window()->parentWidget(), m_program->preview.window());
        QCOMPARE(window.rtfOrig->Text() + window.rtfConverted->Text(), kDocument + kDocument);
        QCOMPARE(window.lblFileName->shownText(), in); // the "&" shown as it is
        QCOMPARE(window.lblFontName->shownText(), u"Liberation Mono"_qs);
        dialogs().expectFile(out, [](const DialogCall& call) {
            QCOMPARE(call.file.kind, FileRequest::Kind::Save);
            QCOMPARE(call.file.title + call.file.nameFilter, u"Export Converted DocumentRich Text Format (*.rtf)"_qs);
            QVERIFY(call.file.confirmOverwrite && QFileInfo(call.file.directory).isDir());
        });
        QTest::mouseClick(window.cmdExport->widget(), Qt::LeftButton);
        QCOMPARE(readBack(out), exported(u"Liberation Mono"_qs, 16));

        // A new font applies to the text there; the upper pane and the window's place stay.
        window.setLeft(600);
        dialogs().expectFont(FontChoice{u"DejaVu Serif"_qs, 14.0f},
                             [](const DialogCall& call) { QCOMPARE(call.font.initialFace, u"Liberation Mono"_qs); });
        QTest::mouseClick(window.cmdNewFont->widget(), Qt::LeftButton);
        QCOMPARE(window.lblFontName->shownText(), u"DejaVu Serif"_qs);
        QCOMPARE(window.rtfOrig->FontName(), u"Arial"_qs);
        QCOMPARE(window.Left(), 600.0f);
        dialogs().expectFile(out);
        window.mnuExport->action()->trigger();
        QCOMPARE(readBack(out), exported(u"DejaVu Serif"_qs, 28)); // shorter than the file it replaced
        QCOMPARE(files(), (QStringList{u"out"_qs, u"R&D notes.txt"_qs}));
    }

    // Each opening starts again from the open dialog and keeps nothing of the one before, not
    // the face of its font dialog: cancelled, the pane's own font is exported. A folder chosen
    // is reported (no font dialog follows, the window stays empty where built, its commands
    // work); so is a full disk (which holds as root), the file it would have replaced untouched.
    void everyOpeningStartsAfresh()
    {
        frmDocConvert& first = open(document(), FontChoice{u"DejaVu Serif"_qs, 14.0f});
        QTest::mouseClick(first.cmdClose->widget(), Qt::LeftButton);
        QVERIFY(!first.IsLoaded() && !first.Visible());
        dialogs().expectFile(document()).expectFont(std::nullopt, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QString());
        });
        m_program->preview.mnuDocConvert_Click();
        frmDocConvert& second = *m_program->preview.documentConverter();
        QVERIFY(centred(second) && second.rtfConverted->Text() == kDocument);
        QCOMPARE(second.lblFontName->shownText(), u"Arial"_qs);
        dialogs().expectFile(path(u"plain.rtf"_qs)).expectFont(std::nullopt).expectFont(FontChoice{u" "_qs, 9.0f});
        second.mnuExport_Click();
        QCOMPARE(readBack(path(u"plain.rtf"_qs)), exported(u"Arial"_qs, 20));
        second.mnuConvert_Click(); // cancelled, then a one-blank face: nothing changes
        second.cmdNewFont_Click();
        second.window()->close(); // the close box
        QVERIFY(!second.IsLoaded() && !second.Visible());

        const QString folder = path(u"folder"_qs), out = path(u"plain.rtf"_qs);
        const auto failure = [](const QString& file, const QString& reason) {
            return [=](const DialogCall& call) {
                QVERIFY(call.title == u"Glyvex Document Converter" && call.style == 16 && call.ownerModal);
                QVERIFY2(call.prompt.contains(u'"' + file + u'"') && call.prompt.contains(reason),
                         qPrintable(call.prompt));
            };
        };
        QVERIFY(QDir(m_dir->path()).mkdir(u"folder"_qs));
        dialogs().expectFile(folder).expectMessage(failure(folder, u"folder"_qs));
        m_program->preview.mnuDocConvert_Click();
        frmDocConvert& third = *m_program->preview.documentConverter();
        QVERIFY(third.Visible() && !centred(third));
        QCOMPARE(third.rtfOrig->Text() + third.rtfConverted->Text() + third.lblFileName->shownText(), QString());
        QCOMPARE(third.lblFontName->shownText(), u"Arial"_qs);
        const QByteArray before = readFile(out);
        dialogs().expectFont(FontChoice{u"DejaVu Sans"_qs, 12.0f}).expectFile(out);
        dialogs().expectMessage(failure(out, u"File too large"_qs));
        third.cmdNewFont_Click();
        {
            const testing::FileSizeLimit limit(16); // the document is one small write
            QVERIFY(limit.ok());
            third.cmdExport_Click();
        }
        QCOMPARE(readFile(out), before);
        QCOMPARE(files(), (QStringList{u"doc.txt"_qs, u"plain.rtf"_qs}));
        dialogs().expectFile(out);
        third.cmdExport_Click();
        QCOMPARE(readBack(out), exported(u"DejaVu Sans"_qs, 24, QString()));
        QApplication::setActiveWindow(third.window());
        QVERIFY(QTest::qWaitForWindowActive(third.window()));
        third.rtfOrig->widget()->setFocus(); // the pane lets the shortcut through
        QTest::keyClick(third.rtfOrig->widget(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!third.IsLoaded() && !third.Visible());
    }

    // A size typed with a decimal in the real font dialog is exported rounded to half points.
    void typedFractionalSize()
    {
        QTimer::singleShot(0, [] {
            auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            auto* size = dialog->findChild<QLineEdit*>(QStringLiteral("fontSize"));
            QVERIFY(size);
            size->selectAll();
            QTest::keyClicks(size, u"10.8"_qs);
            dialog->accept();
        });
        const std::optional<FontChoice> chosen
            = qtDialogs()->chooseFont(nullptr, {u"Select Font"_qs, u"DejaVu Serif"_qs, 12});
        QVERIFY(chosen);
        frmDocConvert& window = open(document(), chosen);
        dialogs().expectFile(path(u"out.rtf"_qs));
        window.cmdExport_Click();
        QCOMPARE(readBack(path(u"out.rtf"_qs)), exported(chosen->face, 22));
    }

    // After a large file, closing brings the process back to about what it held before the
    // opening, and nothing of the window is left.
    void closingReturnsItsMemory()
    {
        if (testing::kAddressSanitizer)
            QSKIP("The sanitizer holds freed memory back");
        const QString big = path(u"big.txt"_qs);
        QVERIFY(writeFile(big, QByteArray("Fifty mebibytes of text, line after line.\n").repeated(1250000)));
        const auto openAndClose = [&](const QString& file) {
            QPointer<frmDocConvert> converter = &open(file, FontChoice{u"DejaVu Serif"_qs, 12.f});
            QVERIFY(converter->rtfConverted->Text().size() == QFileInfo(file).size());
            converter->cmdClose_Click();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QVERIFY(converter.isNull() && m_program->preview.documentConverter() == nullptr);
            for (QWidget* w : QApplication::allWidgets())
                QVERIFY(w->objectName() != u"frmDocConvert" && w->objectName() != u"rtfOrig");
        };
        QVERIFY(writeFile(path(u"small.txt"_qs), "small"));
        openAndClose(path(u"small.txt"_qs)); // what any first opening sets up for good
        const long long before = testing::residentBytes();
        openAndClose(big);
        const long long after = testing::residentBytes();
        qInfo("resident before opening %lld KiB, after closing %lld KiB", before >> 10, after >> 10);
        QVERIFY2(before > 0 && after - before < (qint64(8) << 20), qPrintable(QString::number(after - before)));
    }
};

QTEST_MAIN(TestDocConvert)
#include "tst_docconvert.moc"
