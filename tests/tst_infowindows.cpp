// The README and About windows.
#include "info/addresses.h"
#include "info/frmabout.h"
#include "platform/twips.h"
#include "support/program.h"

#include <QApplication>
#include <QLabel>
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
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
