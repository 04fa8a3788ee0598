// The README and About windows.
#include "info/addresses.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/richtextbox.h"
#include "platform/twips.h"
#include "support/program.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

QRectF rectOf(const Control* control)
{
    return {control->Left(), control->Top(), control->Width(), control->Height()};
}

// Sends a key press to whatever has the keyboard focus in the window, as typing does.
void type(Form& form, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = form.window()->focusWidget();
    QTest::keyClick(target ? target : form.window(), static_cast<Qt::Key>(key), modifiers);
}

// Where the pointer goes in the About window, in the window's client coordinates.
QPoint spot(const frmAbout& about, const QString& where)
{
    if (where == QLatin1String("background"))
        return {4, 4};
    if (where == QLatin1String("link"))
        return about.lblWebPage->widget()->geometry().center();
    if (where == QLatin1String("Label4")) // its first line, away from the link on its second
        return about.Label4->widget()->geometry().topLeft() + QPoint(3, 3);
    if (where == QLatin1String("banner"))
        return about.Image2->widget()->geometry().center();
    return {-1, -1};
}

// Moves the pointer through the named spots. It starts from a corner of the background, as
// a pointer entering the window does, so that no move is lost for landing where the last
// one ended.
void movePointer(const frmAbout& about, const QStringList& path)
{
    QWidget* client = about.background()->widget();
    QTest::mouseMove(client, QPoint(1, 1));
    for (const QString& where : path)
        QTest::mouseMove(client, spot(about, where));
}

// A pointer move over one control. (The offscreen platform hands real pointer moves to the
// first window under the pointer, not the topmost, so over the Preview window they go astray.)
void hover(const Control* control)
{
    QWidget* widget = control->widget();
    const QPointF at = widget->rect().center();
    QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

// The program's directory as the README window sees it, for the length of a test.
class ProgramDirectory {
public:
    ProgramDirectory() { App::overridePath(m_dir.path()); }
    explicit ProgramDirectory(const QString& path) { App::overridePath(path); }
    ~ProgramDirectory() { App::overridePath({}); }
    QString path() const { return m_dir.path(); }
    void putReadMe(const QByteArray& content) const
    {
        QFile file(m_dir.filePath(QStringLiteral("README.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(content), content.size());
    }

private:
    QTemporaryDir m_dir;
};

const QString kNotFoundTitle = QStringLiteral("README.txt Not Found");
const QString kNotFoundPrompt = QStringLiteral("Glyvex was unable to find the README.txt file.\r\n\r\n"
                                               "If you did not recieve a copy of README.txt with fonts, please contact ")
    + info::kEmail;
const QString kNotFoundNote = QStringLiteral("If you did not recieve a copy of README.txt with Glyvex, please contact ")
    + info::kEmail;

void expectNotFoundMessage(testing::ScriptedDialogs& dialogs, const Form* readMe)
{
    dialogs.expectMessage([readMe](const testing::DialogCall& call) {
        QCOMPARE(call.title, kNotFoundTitle);
        QCOMPARE(call.prompt, kNotFoundPrompt);
        QCOMPARE(call.style, 16);
        QVERIFY(!readMe || !readMe->Visible()); // raised while the window is being created
    });
}

} // namespace

class TestInfoWindows : public testing::GuiTest {
    Q_OBJECT
private slots:
    // ---- About ------------------------------------------------------------------------------

    void aboutNothingOverlapsAndEveryTextFits()
    {
        frmAbout about;
        about.Show();
        Control::flushPending();
        const QList<Control*> controls{about.cmdOK, about.picIcon, about.lblWebPage, about.Label4, about.Label2,
                                       about.Label3, about.Label1, about.Line1, about.lblVersion, about.Image2};
        const QRectF client(0, 0, 5604, 4728);
        for (qsizetype i = 0; i < controls.size(); ++i) {
            const QRectF a = rectOf(controls[i]);
            QVERIFY2(client.contains(a.topLeft()), qPrintable(controls[i]->Name()));
            for (qsizetype j = i + 1; j < controls.size(); ++j) {
                if (controls[i] == about.lblWebPage && controls[j] == about.Label4)
                    continue; // the link ends Label4's sentence, inside its rectangle
                QVERIFY2(!a.intersects(rectOf(controls[j])),
                         qPrintable(controls[i]->Name() + QLatin1String(" overlaps ") + controls[j]->Name()));
            }
        }
        QVERIFY(rectOf(about.Label4).contains(rectOf(about.lblWebPage).topLeft()));
        // Texts sized to themselves end inside the window.
        for (Label* label : {about.lblWebPage, about.lblVersion})
            QVERIFY2(client.contains(rectOf(label)), qPrintable(label->Name()));
        // The two notices sit between the version and the rule.
        QVERIFY(about.Label1->Top() >= about.lblVersion->Top() + about.lblVersion->Height());
        QVERIFY(about.Label3->Top() + about.Label3->Height() <= about.Line1->Top());
        // Wrapped texts need no more lines than their labels hold.
        for (Label* label : {about.Label4, about.Label3, about.Label1, about.Label2}) {
            auto* shown = static_cast<QLabel*>(label->widget());
            QVERIFY2(shown->heightForWidth(shown->width()) <= shown->height(), qPrintable(label->Name()));
        }
        QCOMPARE(about.lblWebPage->widget()->cursor().shape(), Qt::UpArrowCursor);
        QCOMPARE(about.lblWebPage->Caption(), info::kWebPage);
        QVERIFY(about.Label2->Caption().endsWith(info::kEmail));
        about.Unload();
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
        QTest::newRow("background, Label4, link") << QStringList{"background", "Label4", "link"} << red;
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
        about.Unload();
    }

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
        // Either way the window stays as it was.
        QVERIFY(about.IsLoaded());
        QVERIFY(about.Visible());
        about.Unload();
    }

    void aboutKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << true;
        QTest::newRow("a letter") << int(Qt::Key_A) << false;
    }
    void aboutKeys()
    {
        QFETCH(int, key);
        QFETCH(bool, closes);
        testing::Program program({QStringLiteral("Arial")});
        program.preview.mnuAbout->action()->trigger();
        frmAbout& about = *program.preview.about();
        QVERIFY(QTest::qWaitForWindowActive(about.window()));
        type(about, key);
        QCOMPARE(about.IsLoaded(), !closes);
        QCOMPARE(about.Visible(), !closes);
    }

    void aboutIsModalAndStartsAfresh()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& preview = program.preview;
        for (int opening = 0; opening < 2; ++opening) {
            preview.mnuAbout->action()->trigger();
            frmAbout& about = *preview.about();
            QVERIFY(about.Visible());
            QCOMPARE(about.window()->windowModality(), Qt::ApplicationModal);
            QCOMPARE(about.window()->parentWidget(), preview.window());
            QCOMPARE(QApplication::activeModalWidget(), about.window());
            QVERIFY(QTest::qWaitForWindowExposed(about.window()));
            QCOMPARE(about.lblWebPage->ForeColor(), QColor(0, 0, 255));
            hover(about.lblWebPage);
            QCOMPARE(about.lblWebPage->ForeColor(), QColor(255, 0, 0));
            QTest::mouseClick(about.cmdOK->widget(), Qt::LeftButton);
            QVERIFY(!about.IsLoaded());
            QVERIFY(preview.Visible());
        }
    }

    // ---- README -----------------------------------------------------------------------------

    void readMeShowsTheFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain text") << QByteArray("Glyvex\n\nA font viewer.\n") << "Glyvex\n\nA font viewer.\n";
        QTest::newRow("RTF markup, shown raw")
            << QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello \\b bold\\b0\\par}")
            << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Hello \\b bold\\b0\\par}";
        QTest::newRow("empty file") << QByteArray() << "";
        QTest::newRow("accents in UTF-8") << QByteArray("Caf\xc3\xa9 \xe2\x80\x94 na\xc3\xafve") << "Caf\u00e9 \u2014 na\u00efve";
    }
    void readMeShowsTheFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, shown);
        ProgramDirectory directory;
        directory.putReadMe(content);
        frmReadMe readMe;
        readMe.Show();
        QCOMPARE(readMe.rtfReadMe->Text(), shown);
        QVERIFY(!readMe.lblNotFound->Visible());
        QCOMPARE(readMe.rtfReadMe->FontName(), QStringLiteral("Courier New"));
        QCOMPARE(readMe.rtfReadMe->FontSize(), 9.f);
        QCOMPARE(readMe.rtfReadMe->BackColor(), systemColor(4));
        readMe.Unload();
    }

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
        if (problem == QLatin1String("folder"))
            QVERIFY(QDir(scratch.path()).mkdir(QStringLiteral("README.txt")));
        if (problem == QLatin1String("gone"))
            programDirectory = scratch.filePath(QStringLiteral("nowhere"));
        if (problem == QLatin1String("file")) {
            programDirectory = scratch.filePath(QStringLiteral("glyvex"));
            QFile program(programDirectory);
            QVERIFY(program.open(QIODevice::WriteOnly));
        }
        ProgramDirectory directory(programDirectory);
        frmReadMe readMe;
        expectNotFoundMessage(dialogs(), &readMe);
        readMe.Show();
        QCOMPARE(dialogs().calls().size(), 1);
        QVERIFY(readMe.Visible());
        QVERIFY(readMe.rtfReadMe->Text().isEmpty());
        Label& note = *readMe.lblNotFound;
        QVERIFY(note.Visible());
        QCOMPARE(note.Caption(), kNotFoundNote);
        QCOMPARE(note.ForeColor(), QColor(255, 0, 0));
        // The whole note can be read: inside the window, between the text box and the button.
        QVERIFY(note.Left() >= 0 && note.Left() + note.Width() <= 6960);
        QVERIFY(note.Top() >= readMe.rtfReadMe->Top() + readMe.rtfReadMe->Height());
        QVERIFY(note.Top() + note.Height() <= readMe.cmdOK->Top());
        auto* shown = static_cast<QLabel*>(note.widget());
        QVERIFY(shown->heightForWidth(shown->width()) <= shown->height());
        readMe.Unload();
    }

    void shippedReadMeLiesBesideTheProgram()
    {
        // The build puts the program and its README.txt together (tests run from a sibling folder).
        const QString programDirectory = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../src")).canonicalPath();
        QVERIFY(QFile::exists(programDirectory + QStringLiteral("/glyvex")));
        ProgramDirectory directory(programDirectory);
        frmReadMe readMe;
        readMe.Show();
        const QString text = readMe.rtfReadMe->Text();
        QVERIFY(text.contains(QStringLiteral("Glyvex")));
        QVERIFY(!text.contains(QStringLiteral("{\\rtf")));
        QVERIFY(!readMe.lblNotFound->Visible());
        readMe.Unload();
    }

    void readMeEnterClosesAndItStartsAfresh()
    {
        ProgramDirectory directory;
        testing::Program program({QStringLiteral("Arial")});
        frmMain& preview = program.preview;
        // First without the file, then with it: nothing of the first opening is left.
        expectNotFoundMessage(dialogs(), nullptr);
        for (int opening = 0; opening < 2; ++opening) {
            preview.mnuReadMe->action()->trigger();
            frmReadMe& readMe = *preview.readMe();
            QCOMPARE(readMe.window()->windowModality(), Qt::ApplicationModal);
            QCOMPARE(readMe.window()->parentWidget(), preview.window());
            QCOMPARE(QApplication::activeModalWidget(), readMe.window());
            QCOMPARE(readMe.lblNotFound->Visible(), opening == 0);
            QCOMPARE(readMe.rtfReadMe->Text(), opening == 0 ? QString() : QStringLiteral("Read me.\n"));
            QVERIFY(QTest::qWaitForWindowActive(readMe.window()));
            QCOMPARE(readMe.window()->focusWidget(), readMe.cmdOK->widget());
            type(readMe, Qt::Key_Return);
            QVERIFY(!readMe.IsLoaded());
            QVERIFY(!readMe.Visible());
            directory.putReadMe("Read me.\n");
        }
        QCOMPARE(dialogs().calls().size(), 1);
    }

    // ---- Both -------------------------------------------------------------------------------

    // The README window drops half twips, the About window keeps them.
    void centring_data()
    {
        QTest::addColumn<float>("spareWidth");  // screen width minus window width
        QTest::addColumn<float>("spareHeight");
        QTest::addColumn<float>("aboutLeft");
        QTest::addColumn<float>("aboutTop");
        QTest::addColumn<float>("readMeLeft");
        QTest::addColumn<float>("readMeTop");
        QTest::newRow("odd: half a twip apart") << 4001.f << 3001.f << 2000.5f << 1500.5f << 2000.f << 1500.f;
        QTest::newRow("even: the same") << 4000.f << 3000.f << 2000.f << 1500.f << 2000.f << 1500.f;
        QTest::newRow("window a twip too big") << -1.f << -3.f << -0.5f << -1.5f << 0.f << -1.f;
        QTest::newRow("half twips: to even") << 2.5f << 3.5f << 1.25f << 1.75f << 1.f << 2.f;
        QTest::newRow("width and height apart") << 1.f << 8.f << 0.5f << 4.f << 0.f << 4.f;
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
        about.Unload();
        readMe.Unload();
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
