// The README and About windows.
#include "info/addresses.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/richtextbox.h"
#include "support/files.h"
#include "support/program.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

QRectF rectOf(const Control* control) { return {control->Left(), control->Top(), control->Width(), control->Height()}; }

// A wrapped label needs no more lines than it holds.
bool textFits(const Label* label)
{
    const auto* shown = static_cast<const QLabel*>(label->widget());
    return shown->heightForWidth(shown->width()) <= shown->height();
}

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
        QTest::mouseMove(client, where == u"link"     ? about.lblWebPage->widget()->geometry().center()
                                 : where == u"Label4" ? about.Label4->widget()->geometry().topLeft() + QPoint(3, 3)
                                 : where == u"banner" ? about.Image2->widget()->geometry().center()
                                                      : QPoint(4, 4));
    }
}

// The program's directory as the README window sees it, for the length of a test.
struct ProgramDirectory {
    explicit ProgramDirectory(const QString& path = {}) { App::overridePath(path.isEmpty() ? dir.path() : path); }
    ~ProgramDirectory() { App::overridePath({}); }
    void putReadMe(const QByteArray& content) const { QVERIFY(testing::writeFile(dir.filePath(u"README.txt"_qs), content)); }
    QTemporaryDir dir;
};

void expectNotFoundMessage(testing::ScriptedDialogs& dialogs)
{
    dialogs.expectMessage([](const testing::DialogCall& call) {
        QCOMPARE(call.title, QStringLiteral("README.txt Not Found"));
        QCOMPARE(call.prompt, u"Glyvex was unable to find the README.txt file.\r\n\r\nIf you did not recieve a copy of "
                              u"README.txt with fonts, please contact "_qs + info::kEmail);
        QCOMPARE(call.style, 16);
    });
}

} // namespace

class TestInfoWindows : public testing::GuiTest {
    Q_OBJECT
private slots:
    void aboutNothingOverlapsAndEveryTextFits()
    {
        frmAbout about;
        about.Show();
        Control::flushPending();
        const QList<Control*> controls{about.cmdOK, about.picIcon, about.lblWebPage, about.Label4, about.Label2,
                                       about.Label3, about.Label1, about.Line1, about.lblVersion, about.Image2};
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
        for (Label* label : {about.Label4, about.Label3, about.Label1, about.Label2})
            QVERIFY2(textFits(label), qPrintable(label->Name()));
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
        frmAbout about;
        about.Show();
        QVERIFY(QTest::qWaitForWindowExposed(about.window()));
        QCOMPARE(about.lblWebPage->ForeColor(), QColor(0, 0, 255));
        movePointer(about, path);
        QCOMPARE(about.lblWebPage->ForeColor(), colour);
    }

    // Whether a browser opens it or not, the window stays as it was.
    void linkClickOpensTheAddress_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::newRow("browser opens it") << true;
        QTest::newRow("nothing can open it") << false;
    }
    void linkClickOpensTheAddress()
    {
        QFETCH(bool, opened);
        frmAbout about;
        about.Show();
        dialogs().expectUrl(opened, [](const testing::DialogCall& call) { QCOMPARE(call.url, QUrl(info::kWebPage)); });
        QTest::mouseClick(about.lblWebPage->widget(), Qt::LeftButton);
        QVERIFY(about.IsLoaded() && about.Visible());
    }

    // Modal over the Preview window; other keys do nothing; each opening starts afresh (the
    // link blue again).
    void aboutClosesOnEnterAndEsc_data()
    {
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("Enter") << Qt::Key_Return;
        QTest::newRow("keypad Enter") << Qt::Key_Enter;
        QTest::newRow("Esc") << Qt::Key_Escape;
    }
    void aboutClosesOnEnterAndEsc()
    {
        QFETCH(Qt::Key, key);
        testing::Program program({QStringLiteral("Arial")});
        for (int opening = 0; opening < 2; ++opening) {
            program.preview.mnuAbout->action()->trigger();
            frmAbout& about = *program.preview.about();
            QCOMPARE(about.window()->parentWidget(), program.preview.window());
            QCOMPARE(QApplication::activeModalWidget(), about.window());
            QVERIFY(QTest::qWaitForWindowActive(about.window()));
            QCOMPARE(about.lblWebPage->ForeColor(), QColor(0, 0, 255));
            QWidget* link = about.lblWebPage->widget();
            QMouseEvent move(QEvent::MouseMove, link->rect().center(), link->mapToGlobal(link->rect().center()),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(link, &move); // straight to the link: the offscreen platform
                                                  // hands moves to the first window under the pointer
            QCOMPARE(about.lblWebPage->ForeColor(), QColor(255, 0, 0));
            type(about, Qt::Key_A);
            QVERIFY(about.Visible());
            type(about, key);
            QVERIFY(!about.IsLoaded() && !about.Visible());
            QVERIFY(program.preview.Visible());
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
        ProgramDirectory directory(programDirectory);
        frmReadMe readMe;
        expectNotFoundMessage(dialogs());
        dialogs().then([&] { QVERIFY(!readMe.Visible()); });
        readMe.Show();
        QVERIFY(readMe.Visible());
        QVERIFY(readMe.rtfReadMe->Text().isEmpty());
        Label& note = *readMe.lblNotFound;
        QVERIFY(note.Visible());
        QCOMPARE(note.Caption(), u"If you did not recieve a copy of README.txt with Glyvex, please contact "_qs + info::kEmail);
        QCOMPARE(note.ForeColor(), QColor(255, 0, 0));
        QVERIFY(note.Left() >= 0 && note.Left() + note.Width() <= 6960);
        QVERIFY(note.Top() >= readMe.rtfReadMe->Top() + readMe.rtfReadMe->Height());
        QVERIFY(note.Top() + note.Height() <= readMe.cmdOK->Top());
        QVERIFY(textFits(&note));
    }

    // Modal over the Preview window, the button focused: Enter closes it. First without the
    // file, then with it (RTF markup, shown raw): nothing of the first opening is left.
    void readMeEnterClosesAndItStartsAfresh()
    {
        const QString markup = u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hi \\b bold\\b0\\par}\r\n"_qs;
        ProgramDirectory directory;
        testing::Program program({QStringLiteral("Arial")});
        frmMain& preview = program.preview;
        expectNotFoundMessage(dialogs());
        for (int opening = 0; opening < 2; ++opening) {
            preview.mnuReadMe->action()->trigger();
            frmReadMe& readMe = *preview.readMe();
            QCOMPARE(readMe.window()->parentWidget(), preview.window());
            QCOMPARE(QApplication::activeModalWidget(), readMe.window());
            QCOMPARE(readMe.lblNotFound->Visible(), opening == 0);
            QCOMPARE(readMe.rtfReadMe->Text(), opening == 0 ? QString() : markup);
            QVERIFY(QTest::qWaitForWindowActive(readMe.window()));
            QCOMPARE(readMe.window()->focusWidget(), readMe.cmdOK->widget());
            type(readMe, Qt::Key_Return);
            QVERIFY(!readMe.IsLoaded() && !readMe.Visible());
            directory.putReadMe(markup.toUtf8());
        }
    }

    // The README window drops half twips, the About window keeps them.
    void centring_data()
    {
        QTest::addColumn<float>("spareWidth"); // screen width minus window width
        QTest::addColumn<float>("spareHeight");
        QTest::addColumn<float>("aboutLeft");
        QTest::addColumn<float>("aboutTop");
        QTest::addColumn<float>("readMeLeft");
        QTest::addColumn<float>("readMeTop");
        QTest::newRow("odd: half a twip apart") << 4001.f << 3001.f << 2000.5f << 1500.5f << 2000.f << 1500.f;
        QTest::newRow("even: the same") << 4000.f << 3000.f << 2000.f << 1500.f << 2000.f << 1500.f;
        QTest::newRow("window a twip too big") << -1.f << -3.f << -0.5f << -1.5f << 0.f << -1.f;
        QTest::newRow("half twips: to even") << 2.5f << 3.5f << 1.25f << 1.75f << 1.f << 2.f;
    }
    void centring()
    {
        QFETCH(float, spareWidth);
        QFETCH(float, spareHeight);
        QFETCH(float, aboutLeft);
        QFETCH(float, aboutTop);
        QFETCH(float, readMeLeft);
        QFETCH(float, readMeTop);
        ProgramDirectory directory;
        directory.putReadMe("text");
        frmAbout about;
        frmReadMe readMe;
        for (Form* form : {static_cast<Form*>(&about), static_cast<Form*>(&readMe)}) {
            form->setWidth(Screen::Width() - spareWidth);
            form->setHeight(Screen::Height() - spareHeight);
            form->Load();
        }
        QCOMPARE(about.Left(), aboutLeft);
        QCOMPARE(about.Top(), aboutTop);
        QCOMPARE(readMe.Left(), readMeLeft);
        QCOMPARE(readMe.Top(), readMeTop);
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
