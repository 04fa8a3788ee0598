// The document converter window, opened from the Preview window: a file shown in both panes,
// converted and exported as a reader gets it; failures reported; nothing of it kept on closing.
#include "convert/frmdocconvert.h"
#include "platform/twips.h"
#include "platform/textview.h"
#include "support/files.h"
#include "support/labels.h"
#include "support/program.h"
#include "support/rtfreader.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;
using testing::writeFile;

namespace {

// A text that is itself RTF markup, with an ampersand, several line ends and non-Latin text.
const QString kDocument = u"{\\rtf1\\ansi {\\b Bold} & more}\r\nsecond line\tγειά 😀\rthird\n"_qs;

// What a reader gets from an exported file, "face, half points: text"; and what it should get.
QString readBack(const QString& file)
{
    const testing::ReadBack rtf = testing::readRtf(testing::readFile(file));
    return rtf.error.isEmpty() ? u"%1, %2: %3"_qs.arg(rtf.face, QString::number(rtf.halfPoints), rtf.text) : rtf.error;
}
QString exported(const QString& face, int halfPoints, const QString& text = kDocument)
{
    return u"%1, %2: %3"_qs.arg(face, QString::number(halfPoints), testing::expectedReadBack(text));
}

bool centred(const frmDocConvert& w)
{
    return w.Top() == centreWholeTwip(w.Screen().Height(), w.Height())
        && w.Left() == centreWholeTwip(w.Screen().Width(), w.Width());
}

} // namespace

class TestDocConvert : public testing::GuiTest {
    Q_OBJECT
private slots:
    // The whole way: open, font, export, new font, export over the first file. Opened again it keeps
    // nothing (its font dialog's face neither); with no usable face chosen the pane's own is exported.
    void convertsAFile()
    {
        QTemporaryDir dir;
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        const QString in = dir.filePath(u"R&D notes.txt"_qs), out = dir.filePath(u"out"_qs);
        QVERIFY(writeFile(in, kDocument.toUtf8()));
        dialogs().expectFile(
            in, [](const DialogCall& call) { QVERIFY(call.file.kind == FileRequest::Kind::Open && call.ownerModal); });
        dialogs().expectFont(FontChoice{u"Liberation Mono"_qs, 7.8f});
        testing::choose(program.preview, "mnuDocConvert");
        frmDocConvert& window = *program.preview.findChild<frmDocConvert*>();
        QVERIFY(testing::visible(window) && centred(window));
        QCOMPARE(window.window()->windowModality(), Qt::ApplicationModal);
        QCOMPARE(window.rtfOrig->Text() + window.rtfConverted->Text(), kDocument + kDocument);
        QCOMPARE(testing::shownText(window.lblFileName), in); // the "&" shown as it is
        QCOMPARE(testing::shownText(window.lblFontName), u"Liberation Mono"_qs);
        dialogs().expectFile(out, [](const DialogCall& call) {
            QVERIFY(call.file.kind == FileRequest::Kind::Save && call.file.confirmOverwrite);
            QCOMPARE(call.file.nameFilter, u"Rich Text Format (*.rtf)"_qs);
        });
        QTest::mouseClick(window.cmdExport->widget(), Qt::LeftButton);
        QCOMPARE(readBack(out), exported(u"Liberation Mono"_qs, 16));

        // A new font applies to the text there; the upper pane and the window's place stay.
        window.setLeft(600);
        dialogs().expectFont(FontChoice{u"DejaVu Serif"_qs, 14.0f},
                             [](const DialogCall& call) { QCOMPARE(call.font.initialFace, u"Liberation Mono"_qs); });
        QTest::mouseClick(window.cmdNewFont->widget(), Qt::LeftButton);
        QCOMPARE(testing::shownText(window.lblFontName), u"DejaVu Serif"_qs);
        QCOMPARE(window.rtfOrig->view()->font().family(), program.preview.platform().fonts().familyFor(u"Arial"_qs));
        QCOMPARE(window.Left(), 600.0f);
        dialogs().expectFile(out);
        testing::choose(window, "mnuExport");
        QCOMPARE(readBack(out), exported(u"DejaVu Serif"_qs, 28)); // shorter than the file it replaced
        QTest::mouseClick(window.cmdClose->widget(), Qt::LeftButton);
        QVERIFY(!window.IsLoaded() && !testing::visible(window));

        dialogs().expectFile(in).expectFont(std::nullopt,
                                            [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QString()); });
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the window closed goes
        testing::choose(program.preview, "mnuDocConvert");
        frmDocConvert& again = *program.preview.findChild<frmDocConvert*>();
        QVERIFY(centred(again) && again.rtfConverted->Text() == kDocument);
        QCOMPARE(testing::shownText(again.lblFontName), u"Arial"_qs);
        dialogs().expectFont(std::nullopt).expectFont(FontChoice{u" "_qs, 9.0f}).expectFile(out);
        testing::choose(again, "mnuConvert");
        QTest::mouseClick(again.cmdNewFont->widget(), Qt::LeftButton);
        testing::choose(again, "mnuExport");
        QCOMPARE(readBack(out), exported(u"Arial"_qs, 20));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList{u"out"_qs, u"R&D notes.txt"_qs}));
        const QPointer<QWidget> shown = again.window();
        shown->close(); // the close box; nothing of the window (which holds the text) is kept
        QVERIFY(!again.IsLoaded() && !testing::visible(again));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(shown.isNull() && program.preview.findChild<frmDocConvert*>() == nullptr);
    }

    // A folder chosen is reported; no font dialog follows, and the window stays empty where it
    // was built, its commands working. (A full disk: tst_richtextbox.)
    void aFolderChosen()
    {
        QTemporaryDir dir;
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        const QString folder = dir.filePath(u"folder"_qs), out = dir.filePath(u"plain.rtf"_qs);
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_qs));
        dialogs().expectFile(folder).expectMessage([&](const DialogCall& call) {
            QVERIFY(call.title == u"Glyvex Document Converter" && call.style == MsgBoxStyle::Critical
                    && call.ownerModal);
            QVERIFY2(call.prompt.contains(u'"' + folder + u'"') && call.prompt.contains(u"folder"),
                     qPrintable(call.prompt));
        });
        testing::choose(program.preview, "mnuDocConvert");
        frmDocConvert& window = *program.preview.findChild<frmDocConvert*>();
        QVERIFY(testing::visible(window) && !centred(window));
        QCOMPARE(window.rtfOrig->Text() + window.rtfConverted->Text() + testing::shownText(window.lblFileName),
                 QString());
        QCOMPARE(testing::shownText(window.lblFontName), u"Arial"_qs);
        dialogs().expectFont(FontChoice{u"DejaVu Sans"_qs, 12.0f}).expectFile(out);
        QTest::mouseClick(window.cmdNewFont->widget(), Qt::LeftButton);
        QTest::mouseClick(window.cmdExport->widget(), Qt::LeftButton);
        QCOMPARE(readBack(out), exported(u"DejaVu Sans"_qs, 24, QString()));
    }
};

QTEST_MAIN(TestDocConvert)
#include "tst_docconvert.moc"
