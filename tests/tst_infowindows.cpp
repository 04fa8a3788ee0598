// The README and About windows; and what every window shares: a fixed size where it has a
// fixed border, and labels that size themselves to their text.
#include "convert/frmdocconvert.h"
#include "info/addresses.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/richtextbox.h"
#include "sentence/frmsentence.h"
#include "support/files.h"
#include "support/labels.h"
#include "support/program.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

// The program's directory as the README window sees it, for the length of a test.
struct ProgramDirectory {
    QString path() const { return dir.path(); }
    void putReadMe(const QByteArray& content) const
    {
        QVERIFY(testing::writeFile(dir.filePath(u"README.txt"_qs), content));
    }
    QTemporaryDir dir;
};

void expectNotFoundMessage(testing::ScriptedDialogs& dialogs)
{
    dialogs.expectMessage([](const testing::DialogCall& call) {
        QCOMPARE(call.title, QStringLiteral("README.txt Not Found"));
        QCOMPARE(call.prompt,
                 u"Glyvex was unable to find the README.txt file.\r\n\r\nIf you did not recieve a copy of "
                 u"README.txt with fonts, please contact "_qs
                     + info::kEmail);
        QCOMPARE(call.style, 16);
    });
}

} // namespace

class TestInfoWindows : public testing::GuiTest {
    Q_OBJECT
private slots:
    // The link turns red under the pointer (and around it, over Label4 and the banner), blue
    // again over the background only.
    void aboutLink_data()
    {
        QTest::addColumn<QString>("path"); // where the pointer goes, from a corner of the background
        QTest::addColumn<bool>("red");
        for (auto [path, red] : {std::pair{"background", false},
                                 {"link", true},
                                 {"link background", false},
                                 {"link Label4", true},
                                 {"link banner", true},
                                 {"link Label4 background", false}})
            QTest::newRow(path) << QString(path) << red;
    }
    void aboutLink()
    {
        QFETCH(QString, path);
        QFETCH(bool, red);
        frmAbout about(platform());
        about.Show();
        QVERIFY(QTest::qWaitForWindowExposed(about.window()));
        QWidget* client = about.background()->widget();
        QTest::mouseMove(client, QPoint(1, 1));
        for (const QString& where : path.split(u' ')) {
            QTest::mouseMove(client,
                             where == u"link"         ? about.lblWebPage->widget()->geometry().center()
                                 : where == u"Label4" ? about.Label4->widget()->geometry().topLeft() + QPoint(3, 3)
                                 : where == u"banner" ? about.Image2->widget()->geometry().center()
                                                      : QPoint(4, 4));
        }
        QCOMPARE(about.lblWebPage->ForeColor(), red ? QColor(255, 0, 0) : QColor(0, 0, 255));
    }

    // Modal over the Preview window, the button focused; other keys do nothing, Enter (and
    // Esc for About) closes it. Each opening starts afresh: the link blue again (a click opens
    // the address, whether a browser comes up or not); the README first without the file, then
    // with it (RTF markup, shown raw).
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
        ProgramDirectory directory;
        testing::Program program(usePlatform({QStringLiteral("Arial")}, directory.path()));
        frmMain& preview = program.preview;
        if (!about)
            expectNotFoundMessage(dialogs());
        for (int opening = 0; opening < 2; ++opening) {
            (about ? preview.mnuAbout : preview.mnuReadMe)->action()->trigger();
            Form& form = about ? static_cast<Form&>(*preview.about()) : *preview.readMe();
            QCOMPARE(form.window()->parentWidget(), preview.window());
            QCOMPARE(QApplication::activeModalWidget(), form.window());
            QVERIFY(QTest::qWaitForWindowActive(form.window()));
            if (about) {
                QCOMPARE(preview.about()->lblWebPage->ForeColor(), QColor(0, 0, 255));
                QWidget* link = preview.about()->lblWebPage->widget();
                QMouseEvent move(QEvent::MouseMove, link->rect().center(), link->mapToGlobal(link->rect().center()),
                                 Qt::NoButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(link, &move); // straight to the link: the offscreen platform
                                                      // hands moves to the first window under the pointer
                dialogs().expectUrl(opening == 0,
                                    [](const testing::DialogCall& call) { QCOMPARE(call.url, QUrl(info::kWebPage)); });
                QTest::mouseClick(link, Qt::LeftButton);
                QCOMPARE(preview.about()->lblWebPage->ForeColor(), QColor(255, 0, 0));
            } else {
                QCOMPARE(preview.readMe()->lblNotFound->Visible(), opening == 0);
                QCOMPARE(preview.readMe()->rtfReadMe->Text(), opening == 0 ? QString() : markup);
                directory.putReadMe(markup.toUtf8());
            }
            QWidget* focus = form.window()->focusWidget();
            QVERIFY(focus && focus->objectName() == u"cmdOK");
            QTest::keyClick(focus, Qt::Key_A);
            QVERIFY(form.Visible());
            QTest::keyClick(focus, key);
            QVERIFY(!form.IsLoaded() && !form.Visible() && preview.Visible());
        }
    }

    // Whatever the reason, the message first, then the window with an empty pane and the whole
    // note readable between the pane and the button.
    void readMeNotFound_data()
    {
        QTest::addColumn<QString>("problem");
        for (const char* problem :
             {"no README.txt", "a folder named README.txt", "program folder gone", "program path a file"})
            QTest::newRow(problem) << QString(problem);
    }
    void readMeNotFound()
    {
        QFETCH(QString, problem);
        QTemporaryDir scratch;
        QString programDirectory = scratch.path();
        if (problem.contains(u"folder named"))
            QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("README.txt")));
        if (problem.endsWith(u"gone"))
            programDirectory = scratch.filePath(QStringLiteral("nowhere"));
        if (problem.endsWith(u"a file"))
            QVERIFY(testing::writeFile(programDirectory = scratch.filePath(QStringLiteral("glyvex")), {}));
        frmReadMe readMe(usePlatform(std::nullopt, programDirectory));
        expectNotFoundMessage(dialogs());
        dialogs().then([&] { QVERIFY(!readMe.Visible()); });
        readMe.Show();
        QVERIFY(readMe.Visible() && readMe.rtfReadMe->Text().isEmpty());
        Label& note = *readMe.lblNotFound;
        QVERIFY(note.Visible());
        QCOMPARE(note.Caption(),
                 u"If you did not recieve a copy of README.txt with Glyvex, please contact "_qs + info::kEmail);
        QCOMPARE(note.ForeColor(), QColor(255, 0, 0));
        QVERIFY(note.Left() >= 0 && note.Left() + note.Width() <= 6960);
        QVERIFY(note.Top() >= readMe.rtfReadMe->Top() + readMe.rtfReadMe->Height());
        QVERIFY(note.Top() + note.Height() <= readMe.cmdOK->Top());
    }

    // Each window opened as a person opens it: the windows with a fixed border cannot be
    // resized or minimised (the smallest and largest size a window manager is given are its
    // size), the Preview window can; none can be maximised. Every self-sizing label is as
    // large as its text needs (a long file name, the chosen face, the version, the link) or,
    // wrapped, as tall as its lines. The converter's two headings are underlined.
    void everyWindow_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("sized"); // the labels that size themselves
        QTest::newRow("Preview") << "frmMain" << false << "lbl(Letters|Numbers|Special)\\(\\d+\\)";
        QTest::newRow("README") << "frmReadMe" << true << "lblNotFound";
        QTest::newRow("README not found") << "frmReadMe-" << true << "lblNotFound";
        QTest::newRow("About") << "frmAbout" << true << "lblVersion|lblWebPage|Label1|Label3|Label4";
        QTest::newRow("Document Converter") << "frmDocConvert" << true << "Label1|lblFileName|Label2|lblFontName";
        QTest::newRow("Sentence Viewer") << "frmSentence" << true << "lblOriginal|lblNewSentence|lblFont";
    }
    void everyWindow()
    {
        QFETCH(QString, window);
        QFETCH(bool, fixed);
        QFETCH(QString, sized);
        ProgramDirectory directory;
        if (window == u"frmReadMe")
            directory.putReadMe("text");
        const QString file = directory.dir.filePath(u"a document with a rather long name, to be shown whole.txt"_qs);
        QVERIFY(testing::writeFile(file, "text"));
        testing::Program program(
            usePlatform({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")}, directory.path()));
        frmMain& preview = program.preview;
        if (window == u"frmReadMe-")
            expectNotFoundMessage(dialogs());
        if (window == u"frmDocConvert")
            dialogs().expectFile(file).expectFont(FontChoice{u"DejaVu Sans Condensed Bold Oblique"_qs, 12});
        if (window == u"frmSentence")
            dialogs().expectInput(u"A sentence"_qs).expectFont(FontChoice{u"DejaVu Serif"_qs, 12});
        for (MenuItem* item : {preview.mnuReadMe, preview.mnuAbout, preview.mnuDocConvert, preview.mnuSentence}) {
            if (window.startsWith(u"frm"_qs + item->Name().mid(3)))
                item->action()->trigger();
        }
        const QList<Form*> forms{&preview, preview.readMe(), preview.about(), preview.documentConverter(),
                                 preview.sentenceViewer()};
        Form* form
            = *std::find_if(forms.begin(), forms.end(), [&](Form* f) { return f && window.startsWith(f->Name()); });
        if (window == u"frmDocConvert") {
            QCOMPARE(static_cast<QLabel*>(preview.documentConverter()->lblFileName->widget())->text(), file);
            for (Label* heading : {preview.documentConverter()->Label1, preview.documentConverter()->Label2})
                QVERIFY(heading->shownFont().underline());
        }
        QVERIFY(form->Visible());
        QWidget* shown = form->window();
        QCOMPARE(shown->minimumSize() == shown->maximumSize(), fixed);
        QVERIFY(!(shown->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(bool(shown->windowFlags() & Qt::WindowMinimizeButtonHint), !fixed);
        if (fixed) { // and centred
            QCOMPARE(shown->maximumSize(), shown->size());
            QVERIFY(std::abs(form->Left() - (form->Screen().Width() - form->Width()) / 2) <= 1);
            QVERIFY(std::abs(form->Top() - (form->Screen().Height() - form->Height()) / 2) <= 1);
        }
        const QRegularExpression names(QRegularExpression::anchoredPattern(sized));
        int checked = 0;
        for (Label* label : shown->findChildren<Label*>()) {
            if (names.match(label->Name()).hasMatch() && ++checked)
                QVERIFY2(testing::fitsItsText(label), qPrintable(label->Name()));
        }
        QCOMPARE(checked, window == u"frmMain" ? 68 : sized.count(u'|') + 1);
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
