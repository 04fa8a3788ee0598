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

QRectF rectOf(const Control* control) { return {control->Left(), control->Top(), control->Width(), control->Height()}; }

// Sends a key press to whatever has the keyboard focus in the window, as typing does.
void type(Form& form, Qt::Key key)
{
    QWidget* target = form.window()->focusWidget();
    QTest::keyClick(target ? target : form.window(), key);
}

// Moves the pointer over the About window's background, link, Label4 (its first line, away
// from the link on its second) and banner. It starts from a corner of the background, as a
// pointer entering the window does, so that no move is lost for landing where the last one ended.
void movePointer(const frmAbout& about, const QStringList& path)
{
    QWidget* client = about.background()->widget();
    QTest::mouseMove(client, QPoint(1, 1));
    for (const QString& where : path) {
        QTest::mouseMove(client,
                         where == u"link"         ? about.lblWebPage->widget()->geometry().center()
                             : where == u"Label4" ? about.Label4->widget()->geometry().topLeft() + QPoint(3, 3)
                             : where == u"banner" ? about.Image2->widget()->geometry().center()
                                                  : QPoint(4, 4));
    }
}

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
    void aboutNothingOverlaps()
    {
        frmAbout about(platform());
        about.Show();
        QCoreApplication::sendPostedEvents();
        const QList<Control*> controls{about.cmdOK,  about.picIcon, about.lblWebPage, about.Label4,     about.Label2,
                                       about.Label3, about.Label1,  about.Line1,      about.lblVersion, about.Image2};
        const QRectF client(0, 0, 5604, 4728);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            QVERIFY2(client.contains(rectOf(controls[i]).topLeft()), qPrintable(controls[i]->Name()));
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                if (controls[i] == about.lblWebPage && controls[j] == about.Label4)
                    continue; // the link ends Label4's sentence, inside its rectangle
                QVERIFY2(!rectOf(controls[i]).intersects(rectOf(controls[j])),
                         qPrintable(controls[i]->Name() + u" overlaps "_qs + controls[j]->Name()));
            }
        }
        QVERIFY(rectOf(about.Label4).contains(rectOf(about.lblWebPage).topLeft()));
        for (Label* label : {about.lblWebPage, about.lblVersion}) // sized to themselves
            QVERIFY2(client.contains(rectOf(label)), qPrintable(label->Name()));
        QVERIFY(about.Label1->Top() >= about.lblVersion->Top() + about.lblVersion->Height());
        QVERIFY(about.Label3->Top() + about.Label3->Height() <= about.Line1->Top());
    }

    void linkColour_data()
    {
        QTest::addColumn<QStringList>("path");
        QTest::addColumn<QColor>("colour");
        const QColor red(255, 0, 0), blue(0, 0, 255);
        QTest::newRow("over the background only") << QStringList{"background"} << blue;
        QTest::newRow("onto the link") << QStringList{"link"} << red;
        QTest::newRow("link, then background") << QStringList{"link", "background"} << blue;
        QTest::newRow("link, then Label4 around it") << QStringList{"link", "Label4"} << red;
        QTest::newRow("link, then the banner") << QStringList{"link", "banner"} << red;
        QTest::newRow("link, Label4, background") << QStringList{"link", "Label4", "background"} << blue;
    }
    void linkColour()
    {
        QFETCH(QStringList, path);
        QFETCH(QColor, colour);
        frmAbout about(platform());
        about.Show();
        QVERIFY(QTest::qWaitForWindowExposed(about.window()));
        QCOMPARE(about.lblWebPage->ForeColor(), QColor(0, 0, 255));
        movePointer(about, path);
        QCOMPARE(about.lblWebPage->ForeColor(), colour);
    }

    // Whether a browser opens it or not, the window stays as it was.
    void linkClickOpensTheAddress()
    {
        frmAbout about(platform());
        about.Show();
        for (const bool opened : {true, false}) {
            dialogs().expectUrl(opened,
                                [](const testing::DialogCall& call) { QCOMPARE(call.url, QUrl(info::kWebPage)); });
            QTest::mouseClick(about.lblWebPage->widget(), Qt::LeftButton);
            QVERIFY(about.IsLoaded() && about.Visible());
        }
    }

    // Modal over the Preview window, the button focused; other keys do nothing, Enter (and
    // Esc for About) closes it. Each opening starts afresh: the link blue again; the README
    // first without the file, then with it (RTF markup, shown raw).
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
                QCOMPARE(preview.about()->lblWebPage->ForeColor(), QColor(255, 0, 0));
            } else {
                QCOMPARE(preview.readMe()->lblNotFound->Visible(), opening == 0);
                QCOMPARE(preview.readMe()->rtfReadMe->Text(), opening == 0 ? QString() : markup);
                QCOMPARE(form.window()->focusWidget(), preview.readMe()->cmdOK->widget());
                directory.putReadMe(markup.toUtf8());
            }
            type(form, Qt::Key_A);
            QVERIFY(form.Visible());
            type(form, key);
            QVERIFY(!form.IsLoaded() && !form.Visible());
            QVERIFY(preview.Visible());
        }
    }

    // Whatever the reason, the message first, then the window with an empty pane and the whole
    // note readable between the pane and the button.
    void readMeNotFound_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::newRow("no README.txt") << "missing";
        QTest::newRow("a folder named README.txt") << "folder";
        QTest::newRow("program directory gone") << "gone";
        QTest::newRow("program path is a file") << "file";
    }
    void readMeNotFound()
    {
        QFETCH(QString, problem);
        QTemporaryDir scratch;
        QString programDirectory = scratch.path();
        if (problem == u"folder")
            QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("README.txt")));
        if (problem == u"gone")
            programDirectory = scratch.filePath(QStringLiteral("nowhere"));
        if (problem == u"file") {
            programDirectory = scratch.filePath(QStringLiteral("glyvex"));
            QVERIFY(testing::writeFile(programDirectory, {}));
        }
        frmReadMe readMe(usePlatform(std::nullopt, programDirectory));
        expectNotFoundMessage(dialogs());
        dialogs().then([&] { QVERIFY(!readMe.Visible()); });
        readMe.Show();
        QVERIFY(readMe.Visible());
        QVERIFY(readMe.rtfReadMe->Text().isEmpty());
        Label& note = *readMe.lblNotFound;
        QVERIFY(note.Visible());
        QCOMPARE(note.Caption(),
                 u"If you did not recieve a copy of README.txt with Glyvex, please contact "_qs + info::kEmail);
        QCOMPARE(note.ForeColor(), QColor(255, 0, 0));
        QVERIFY(note.Left() >= 0 && note.Left() + note.Width() <= 6960);
        QVERIFY(note.Top() >= readMe.rtfReadMe->Top() + readMe.rtfReadMe->Height());
        QVERIFY(note.Top() + note.Height() <= readMe.cmdOK->Top());
        QVERIFY(testing::fitsItsText(&note));
    }

    // The README window drops half twips, the About window keeps them.
    void centring_data()
    {
        QTest::addColumn<float>("spare"); // screen size minus window size, both ways
        QTest::newRow("odd") << 4001.f;
        QTest::newRow("window a twip too big") << -1.f;
    }
    void centring()
    {
        QFETCH(float, spare);
        ProgramDirectory directory;
        directory.putReadMe("text");
        usePlatform(std::nullopt, directory.path());
        frmAbout about(platform());
        frmReadMe readMe(platform());
        for (Form* form : {static_cast<Form*>(&about), static_cast<Form*>(&readMe)}) {
            form->setWidth(platform().Screen().Width() - spare);
            form->setHeight(platform().Screen().Height() - spare);
            form->Load();
        }
        QCOMPARE(QPointF(about.Left(), about.Top()), QPointF(spare / 2, spare / 2));
        QCOMPARE(QPointF(readMe.Left(), readMe.Top()), QPointF(std::trunc(spare / 2), std::trunc(spare / 2)));
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
        Form* form = &preview;
        if (window == u"frmReadMe-") {
            expectNotFoundMessage(dialogs());
            preview.mnuReadMe->action()->trigger();
            form = preview.readMe();
        } else if (window == u"frmReadMe") {
            preview.mnuReadMe->action()->trigger();
            form = preview.readMe();
        } else if (window == u"frmAbout") {
            preview.mnuAbout->action()->trigger();
            form = preview.about();
        } else if (window == u"frmDocConvert") {
            dialogs().expectFile(file).expectFont(FontChoice{QStringLiteral("DejaVu Sans Condensed Bold Oblique"), 12});
            preview.mnuDocConvert->action()->trigger();
            form = preview.documentConverter();
            QCOMPARE(static_cast<QLabel*>(preview.documentConverter()->lblFileName->widget())->text(), file);
            for (Label* heading : {preview.documentConverter()->Label1, preview.documentConverter()->Label2})
                QVERIFY(heading->shownFont().underline());
        } else if (window == u"frmSentence") {
            dialogs()
                .expectInput(QStringLiteral("A sentence"))
                .expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 12});
            preview.mnuSentence->action()->trigger();
            form = preview.sentenceViewer();
        }
        QVERIFY(form->Visible());
        QWidget* shown = form->window();
        QCOMPARE(shown->minimumSize() == shown->maximumSize(), fixed);
        QVERIFY(!(shown->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(bool(shown->windowFlags() & Qt::WindowMinimizeButtonHint), !fixed);
        if (fixed)
            QCOMPARE(shown->maximumSize(), shown->size());
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
