// The windows opened from the Preview window, as a person uses them: the sentence viewer; the
// document converter (a file shown in both panes, converted and exported as a reader gets it,
// failures reported, nothing kept on closing); the README and About windows; and what every window
// shares: a fixed size where it has a fixed border, labels that size themselves to their text, and
// controls a screen reader can name and the keyboard can reach.
#include "convert/frmdocconvert.h"
#include "info/addresses.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/richtextbox.h"
#include "platform/textview.h"
#include "platform/twips.h"
#include "sentence/frmsentence.h"
#include "support/files.h"
#include "support/labels.h"
#include "support/program.h"
#include "support/rtfreader.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;
using testing::writeFile;

namespace {

const char* const kLong = "The quick brown fox jumps over the lazy dog";

// The viewer shows the sentence as typed in Arial and in the face chosen last, the face's name in
// a box, each sized to its text, in a centred window as wide as the wider line (or its caption).
void checkViewer(frmSentence& viewer, const QString& sentence, const QString& face)
{
    QCoreApplication::sendPostedEvents();
    for (Label* label : {viewer.lblOriginal, viewer.lblNewSentence, viewer.lblFont}) {
        QCOMPARE(testing::shownText(label), label == viewer.lblFont ? face : sentence);
        QVERIFY2(testing::fitsItsText(label), qPrintable(label->objectName()));
    }
    QCOMPARE(static_cast<QLabel*>(viewer.lblFont->widget())->frameShape(), QFrame::Box);
    FontSource& fonts = viewer.platform().fonts();
    QCOMPARE(testing::shownFont(viewer.lblOriginal).family(), fonts.familyFor(QStringLiteral("Arial")));
    QCOMPARE(testing::shownFont(viewer.lblNewSentence).family(), fonts.familyFor(face.isEmpty() ? u"Arial"_qs : face));
    QCOMPARE(float(testing::shownFont(viewer.lblNewSentence).pointSizeF()), 10.8f);
    QCOMPARE(viewer.Width(),
             std::max({2892.f, viewer.lblOriginal->Width() + 480, viewer.lblNewSentence->Width() + 480}));
    QCOMPARE(QPointF(viewer.Left(), viewer.Top()),
             QPointF(viewer.Screen().Width() - viewer.Width(), viewer.Screen().Height() - viewer.Height()) / 2);
}

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

void expectNotFoundMessage(testing::ScriptedDialogs& dialogs)
{
    dialogs.expectMessage([](const testing::DialogCall& call) {
        QCOMPARE(call.title, QStringLiteral("README.txt Not Found"));
        QVERIFY(call.style == MsgBoxStyle::Critical
                && call.prompt.endsWith(u"README.txt with fonts, please contact "_qs + info::kEmail));
    });
}

// What a screen reader and the keyboard get of a window: every control is named by what it shows,
// buttons are reached with Tab. The faults found.
QStringList accessFaults(QWidget* window)
{
    QStringList faults;
    for (Control* control : window->findChildren<Control*>()) {
        QWidget* w = control->widget();
        auto* label = qobject_cast<Label*>(control);
        auto* button = qobject_cast<Button*>(control);
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed();
        const QString shown = label ? testing::shownText(label)
            : button                ? Label::stripAccessKeys(static_cast<QPushButton*>(w)->text())
                                    : QString();
        if (name.isEmpty() || !name.startsWith(shown))
            faults << QStringLiteral("%1: called \"%2\", shows \"%3\"").arg(control->objectName(), name, shown);
        if (button && !(w->focusPolicy() & Qt::TabFocus))
            faults << control->objectName() + QStringLiteral(": not reached with Tab");
    }
    return faults;
}

} // namespace

class TestWindows : public testing::GuiTest {
    Q_OBJECT
private slots:
    // Opened after a face was chosen in the Preview window, it asks while nothing is shown, then
    // replaces that window. A command (menu or right-click pop-up) centres the moved window again;
    // closing brings the Preview window back as it was.
    void viewer_data()
    {
        for (const char* column : {"sentence", "face", "command", "answer"}) // "-": cancelled
            QTest::addColumn<QString>(column);
        for (auto [row, sentence, face, command, answer] :
             {std::tuple{"new sentence cancelled", kLong, "DejaVu Sans", "mnuSentence", ""},
              {"text shown literally", "Tom & <b>Jerry</b> Ça 永和 😀&", "Fonts & Co", "mnuSentence", "Hi"},
              {"input box cancelled", "", "DejaVu Sans", "mnuFont", "DejaVu Sans Mono"},
              {"font dialog cancelled, twice", "Hello", "-", "mnuFont", "-"},
              {"one-blank face, twice", "Hello", " ", "mnuFont", " "},
              {"wider face", kLong, "DejaVu Serif", "mnuFont", "Liberation Mono"},
              {"narrower face", kLong, "DejaVu Serif", "mnuFont", "Liberation Sans Narrow"}})
            QTest::newRow(row) << sentence << face << command << answer;
        for (const char* target : {"frmSentence", "lblOriginal", "lblNewSentence", "Label1", "lblFont"})
            QTest::addRow("pop-up on %s", target) << kLong << "DejaVu Serif" << target << "Arial";
    }
    void viewer()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, face);
        QFETCH(QString, command);
        QFETCH(QString, answer);
        const auto font = [](const QString& name) { // "-": the dialog is cancelled
            return name == u"-" ? std::nullopt : std::optional(FontChoice{name, 20});
        };
        testing::Program program(usePlatform({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")}));
        frmMain& preview = program.preview;
        dialogs().expectInput(u"Before"_qs).expectFont(font(u"DejaVu Sans"_qs)).expectFont(font(u"DejaVu Serif"_qs));
        testing::choose(preview, "mnuSentence");
        testing::choose(*preview.findChild<frmSentence*>(), "mnuClose");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed viewer goes
        testing::choose(preview, "mnuChangeFont");
        QCoreApplication::sendPostedEvents();
        const QImage before = preview.window()->grab().toImage();

        bool askedWhileNothingShown = false;
        dialogs().expectInput(sentence).expectFont(font(face), [&](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QString());
            askedWhileNothingShown
                = !testing::visible(preview) && !testing::visible(*preview.findChild<frmSentence*>());
        });
        testing::choose(preview, "mnuSentence");
        frmSentence* viewer = preview.findChild<frmSentence*>();
        QVERIFY(askedWhileNothingShown && testing::visible(*viewer) && !testing::visible(preview));
        const QString opened = face.trimmed().isEmpty() || face == u"-" ? QString() : face;
        checkViewer(*viewer, sentence, opened);

        viewer->window()->move(viewer->window()->pos() + QPoint(40, 30));
        QCoreApplication::processEvents();
        if (command == u"mnuSentence")
            dialogs().expectInput(answer);
        else if (!command.startsWith(u"mnu"))
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuFont"));
        if (command != u"mnuSentence")
            dialogs().expectFont(font(answer), [&](const DialogCall& call) {
                QCOMPARE(call.font.initialFace, face == u"-" ? QString() : face);
            });
        if (command.startsWith(u"mnu"))
            testing::choose(*viewer, qPrintable(command));
        else // a right click anywhere in the window
            QTest::mouseClick(viewer->window()->findChild<QWidget*>(command), Qt::RightButton, {}, QPoint(2, 2));
        const bool newFace = command != u"mnuSentence" && !answer.trimmed().isEmpty() && answer != u"-";
        checkViewer(*viewer, command == u"mnuSentence" ? answer : sentence, newFace ? answer : opened);

        viewer->window()->close(); // the close box (Ctrl+X in a real session: check_e2e.sh)
        QVERIFY(!viewer->IsLoaded() && !testing::visible(*viewer) && testing::visible(preview));
        QCOMPARE(preview.window()->grab().toImage(), before);
    }

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

    // Modal over the Preview window, the button focused; other keys do nothing, Enter (and Esc
    // for About) closes it, but not Enter in the README's text. Each opening starts afresh: the
    // link blue again, red under the pointer and opened by a click, then by Tab and space; the
    // README first without the file, then with it (RTF markup, shown raw).
    void closesOnKeys_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("About, Enter") << true << Qt::Key_Return;
        QTest::newRow("About, keypad Enter") << true << Qt::Key_Enter;
        QTest::newRow("About, Esc") << true << Qt::Key_Escape;
        QTest::newRow("README, Enter") << false << Qt::Key_Return;
    }
    void closesOnKeys()
    {
        QFETCH(bool, about);
        QFETCH(Qt::Key, key);
        const QString markup = u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hi \\b bold\\b0\\par}\r\n"_qs;
        QTemporaryDir directory;
        testing::Program program(usePlatform({QStringLiteral("Arial")}, directory.path()));
        frmMain& preview = program.preview;
        if (!about)
            expectNotFoundMessage(dialogs());
        for (int opening = 0; opening < 2; ++opening) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last opening's window goes
            testing::choose(preview, about ? "mnuAbout" : "mnuReadMe");
            Form& form = *preview.findChild<Form*>(about ? u"frmAbout"_qs : u"frmReadMe"_qs);
            QCOMPARE(form.window()->parentWidget(), preview.window());
            QCOMPARE(QApplication::activeModalWidget(), form.window());
            QVERIFY(QTest::qWaitForWindowActive(form.window()));
            QWidget* window = form.window();
            QVERIFY(window->focusWidget() && window->focusWidget()->objectName() == u"cmdOK");
            QTest::keyClick(window->focusWidget(), Qt::Key_A);
            QVERIFY(testing::visible(form));
            if (about) {
                Label& link = *static_cast<frmAbout&>(form).lblWebPage;
                QCOMPARE(testing::shownColor(&link), QColor(0, 0, 255));
                dialogs().expectUrl(opening == 0,
                                    [](const testing::DialogCall& call) { QCOMPARE(call.url, QUrl(info::kWebPage)); });
                if (opening == 0) {
                    const QPoint centre = link.widget()->rect().center();
                    QMouseEvent move(QEvent::MouseMove, centre, link.widget()->mapToGlobal(centre), Qt::NoButton,
                                     Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(link.widget(), &move); // straight to the link: the offscreen
                                                                   // platform hands moves to the first window
                    QTest::mouseClick(link.widget(), Qt::LeftButton);
                    QCOMPARE(testing::shownColor(&link), QColor(255, 0, 0));
                } else {
                    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
                    QCOMPARE(window->focusWidget(), link.widget());
                    QTest::keyClick(link.widget(), Qt::Key_Space);
                }
            } else {
                const frmReadMe& readMe = static_cast<frmReadMe&>(form);
                QTest::keyClick(readMe.rtfReadMe->view(), key); // in the text: stays open
                QVERIFY(testing::visible(form));
                QCOMPARE(readMe.lblNotFound->Visible(), opening == 0);
                QCOMPARE(readMe.rtfReadMe->Text(), opening == 0 ? QString() : markup);
                QVERIFY(testing::writeFile(directory.filePath(u"README.txt"_qs), markup.toUtf8()));
            }
            QTest::keyClick(window->focusWidget(), key);
            QVERIFY(!form.IsLoaded() && !testing::visible(form) && testing::visible(preview));
        }
    }

    // Each window opened as a person opens it: those with a fixed border cannot be resized or
    // minimised, the Preview window can; none can be maximised. Every self-sizing label fits its
    // text (or, wrapped, its lines); the converter's headings are underlined; a screen reader and
    // the keyboard get every control. (Centred: check_e2e.sh.)
    void everyWindow_data()
    {
        QTest::addColumn<QString>("item"); // the menu item that opens it (the README: why it is not found)
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("sized"); // the labels that size themselves
        QTest::newRow("Preview") << "" << false << "lbl(Letters|Numbers|Special)\\(\\d+\\)";
        for (const char* problem : {"no README.txt", "a folder named README.txt"}) // (other causes: tst_richtextbox)
            QTest::addRow("README, %s", problem) << u"mnuReadMe, "_qs + problem << true << "lblNotFound";
        QTest::newRow("About") << "mnuAbout" << true << "lblVersion|lblWebPage|Label1|Label3|Label4";
        QTest::newRow("Document Converter") << "mnuDocConvert" << true << "Label1|lblFileName|Label2|lblFontName";
        QTest::newRow("Sentence Viewer") << "mnuSentence" << true << "lblOriginal|lblNewSentence|lblFont";
    }
    void everyWindow()
    {
        QFETCH(QString, item);
        QFETCH(bool, fixed);
        QFETCH(QString, sized);
        QTemporaryDir directory;
        const QString file = directory.filePath(u"a document with a rather long name, to be shown whole.txt"_qs);
        QVERIFY(testing::writeFile(file, "text"));
        if (item.endsWith(u"a folder named README.txt"))
            QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("README.txt")));
        testing::Program program(
            usePlatform({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")}, directory.path()));
        frmMain& preview = program.preview;
        if (item.startsWith(u"mnuReadMe"))
            expectNotFoundMessage(dialogs());
        if (item == u"mnuDocConvert")
            dialogs().expectFile(file).expectFont(FontChoice{u"DejaVu Sans Condensed Bold Oblique"_qs, 12});
        if (item == u"mnuSentence")
            dialogs().expectInput(u"A sentence"_qs).expectFont(FontChoice{u"DejaVu Serif"_qs, 12});
        if (!item.isEmpty())
            testing::choose(preview, qPrintable(item.section(u',', 0, 0)));
        QList<Form*> forms = preview.findChildren<Form*>() << &preview;
        Form* form = *std::find_if(forms.begin(), forms.end(), [](Form* f) { return testing::visible(*f); });
        if (item.startsWith(u"mnuReadMe")) { // the red note between the pane and the button
            const frmReadMe& readMe = *preview.findChild<frmReadMe*>();
            const Label& note = *readMe.lblNotFound;
            QVERIFY(readMe.rtfReadMe->Text().isEmpty() && note.Visible()
                    && testing::shownColor(&note) == QColor(255, 0, 0));
            QVERIFY(note.Top() >= readMe.rtfReadMe->Top() + readMe.rtfReadMe->Height());
            QVERIFY(note.Top() + note.Height() <= readMe.cmdOK->Top());
        }
        if (item == u"mnuDocConvert")
            for (Label* heading :
                 {preview.findChild<frmDocConvert*>()->Label1, preview.findChild<frmDocConvert*>()->Label2})
                QVERIFY(testing::shownFont(heading).underline());
        QWidget* shown = form->window();
        QVERIFY2(accessFaults(shown).isEmpty(), qPrintable(accessFaults(shown).join(u"; ")));
        QCOMPARE(shown->minimumSize() == shown->maximumSize(), fixed);
        QVERIFY(!(shown->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(bool(shown->windowFlags() & Qt::WindowMinimizeButtonHint), !fixed);
        if (fixed)
            QCOMPARE(shown->maximumSize(), shown->size());
        const QRegularExpression names(QRegularExpression::anchoredPattern(sized));
        for (Label* label : shown->findChildren<Label*>()) {
            if (names.match(label->objectName()).hasMatch())
                QVERIFY2(testing::fitsItsText(label), qPrintable(label->objectName()));
        }
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
