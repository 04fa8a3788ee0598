// The right-click menu of the Preview window, and Exit.
#include "platform/errors.h"
#include "support/program.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

class TestContextMenu : public testing::GuiTest {
    Q_OBJECT

    static QWidget* widgetNamed(frmMain& w, const QString& name)
    {
        if (name == "background")
            return w.background()->widget();
        if (name == "cboFonts")
            return w.cboFonts->widget();
        const QList<Control*> frames{w.fraLetters, w.fraNumbers, w.fraSpecial};
        for (Control* frame : frames) {
            if (frame->Name() == name)
                return frame->widget();
        }
        return w.window()->findChild<QWidget*>(name);
    }

private slots:
    void rightButtonReleaseOpensTheFileMenu_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("popup");
        const QStringList sources{"background", "fraLetters", "fraNumbers", "fraSpecial", "Label1(0)", "lblLetters(25)",
                                  "Label3(4)", "lblNumbers(9)", "Label4(8)", "lblSpecial(0)", "lblSpecial(31)"};
        for (const QString& s : sources) {
            QTest::addRow("%s right", qPrintable(s)) << s << int(Qt::RightButton) << true;
            QTest::addRow("%s left", qPrintable(s)) << s << int(Qt::LeftButton) << false;
            QTest::addRow("%s middle", qPrintable(s)) << s << int(Qt::MiddleButton) << false;
        }
        QTest::newRow("font list right") << "cboFonts" << int(Qt::RightButton) << false;
    }
    void rightButtonReleaseOpensTheFileMenu()
    {
        QFETCH(QString, source);
        QFETCH(int, button);
        QFETCH(bool, popup);
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.mnuShowAll_Click();
        QWidget* target = widgetNamed(w, source);
        QVERIFY2(target, qPrintable(source));
        QTest::mousePress(target, Qt::MouseButton(button), {}, QPoint(2, 2));
        QCOMPARE(dialogs().calls().size(), 0); // nothing on the press
        if (popup)
            dialogs().expectPopup(QStringLiteral("mnuFile"));
        QTest::mouseRelease(target, Qt::MouseButton(button), {}, QPoint(2, 2));
        QCOMPARE(dialogs().calls().size(), popup ? 1 : 0);
    }

    void popupChoicesRunTheMenuBarHandlers()
    {
        testing::Program program({QStringLiteral("Alpha Face"), QStringLiteral("Arial")});
        frmMain& w = program.preview;
        dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuChangeFont"));
        dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 12.f});
        QTest::mouseClick(w.lblNumbers[3]->widget(), Qt::RightButton);
        QCOMPARE(w.lblSpecial[31]->FontName(), QStringLiteral("DejaVu Serif"));
        // The pop-up is the menu bar's own File menu.
        QVERIFY(w.window()->findChild<QMenuBar*>()->actions().contains(w.mnuFile->menu()->menuAction()));
    }

    void exitEndsTheProgram_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("E&xit from the menu bar") << 0;
        QTest::newRow("E&xit from the pop-up") << 1;
        QTest::newRow("close box") << 2;
    }
    void exitEndsTheProgram()
    {
        QFETCH(int, how);
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        QSignalSpy ended(&Forms::instance(), &Forms::lastFormUnloaded);
        if (how == 0) {
            w.mnuExit->action()->trigger();
        } else if (how == 1) {
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuExit"));
            QTest::mouseClick(w.fraLetters->widget(), Qt::RightButton, {}, QPoint(2, 2));
        } else {
            w.window()->close();
        }
        QCOMPARE(ended.count(), 1);
        QVERIFY(!w.IsLoaded());
        QVERIFY(!w.Visible());
        QCOMPARE(Forms::instance().loadedCount(), 0);
    }

    void untrappedErrorIsReportedAndTheProgramGoesOn()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        dialogs().expectMessage([](const testing::DialogCall& call) {
            QCOMPARE(call.style, 16);
            QVERIFY(call.prompt.contains(QStringLiteral("list index 7")));
        });
        runHandler([&] { w.cboFonts->setListIndex(7); });
        QVERIFY(w.IsLoaded());
        QCOMPARE(w.cboFonts->Text(), QStringLiteral("Arial"));
    }
};

QTEST_MAIN(TestContextMenu)
#include "tst_contextmenu.moc"
