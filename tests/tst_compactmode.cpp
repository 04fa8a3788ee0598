// Compact mode: collapsing the Preview window to its menu bar and bringing it back.
#include "platform/twips.h"
#include "support/program.h"

#include <QApplication>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

class TestCompactMode : public testing::GuiTest {
    Q_OBJECT

    enum Exit { ByMenu, ByButtonClick, ByEnter };

    static void leave(frmMain& w, Exit how)
    {
        switch (how) {
        case ByMenu: w.mnuMacMin->action()->trigger(); break;
        case ByButtonClick: QTest::mouseClick(w.cmdMacRestore->widget(), Qt::LeftButton); break;
        case ByEnter:
            QCOMPARE(w.window()->focusWidget(), w.cmdMacRestore->widget());
            QTest::keyClick(w.window()->focusWidget(), Qt::Key_Return);
            break;
        }
    }

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<int>("exit");
        QTest::newRow("Intellimize again") << int(ByMenu);
        QTest::newRow("RESTORE clicked") << int(ByButtonClick);
        QTest::newRow("Enter") << int(ByEnter);
    }
    void roundTrip()
    {
        QFETCH(int, exit);
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        const float left = w.Left(), top = w.Top(), width = w.Width(), height = w.Height();
        w.mnuMacMin->action()->trigger();
        QCOMPARE(w.blnMacMin, True);
        QVERIFY(w.Height() < height);
        QCOMPARE(w.Height(), fromPixelsY(w.window()->frameGeometry().height())); // the real height
        QVERIFY(!w.cboFonts->Visible());
        QVERIFY(w.cmdMacRestore->Visible());
        QVERIFY(w.cmdMacRestore->Default());
        QCOMPARE(w.lngSavedHeight, roundHalfEven(height));
        QVERIFY(!w.mnuMacMin->Checked());

        leave(w, Exit(exit));
        QCOMPARE(w.blnMacMin, False);
        QCOMPARE(w.Height(), float(roundHalfEven(height)));
        QVERIFY(w.cboFonts->Visible());
        QVERIFY(!w.cmdMacRestore->Visible());
        QVERIFY(!w.cmdMacRestore->Default());
        QCOMPARE(w.Left(), left);
        QCOMPARE(w.Top(), top);
        QCOMPARE(w.Width(), width);
    }

    void enterOutsideCompactModeDoesNothing()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        const float height = w.Height();
        QTest::keyClick(w.window(), Qt::Key_Return);
        QCOMPARE(w.Height(), height);
        QCOMPARE(w.blnMacMin, False);
    }

    void restoresTheHeightTheUserGaveIt()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        // The user drags the bottom edge: the window system resizes the window.
        w.window()->resize(w.window()->width(), w.window()->height() + 40);
        const float dragged = w.Height();
        QCOMPARE(dragged, fromPixelsY(w.window()->frameGeometry().height()));
        w.mnuMacMin_Click();
        QCOMPARE(w.lngSavedHeight, roundHalfEven(dragged));
        w.cmdMacRestore_Click();
        QCOMPARE(w.Height(), dragged);
        QCOMPARE(w.window()->frameGeometry().height(), toPixelsY(dragged));
    }

    void viewCommandInCompactMode()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        const float full = w.Height();
        w.mnuMacMin_Click();
        const float compact = w.Height();
        w.mnuShowAll_Click();
        QCOMPARE(w.Height(), compact); // still collapsed
        QCOMPARE(w.Width(), 8820.f);
        QCOMPARE(w.Top(), centreWholeTwip(Screen::Height(), compact));
        w.mnuNumbers_Click();
        QCOMPARE(w.Height(), compact);
        QCOMPARE(w.Top(), centreExact(Screen::Height(), compact));
        const float top = w.Top();
        w.mnuMacMin_Click();
        QCOMPARE(w.Height(), float(roundHalfEven(full)));
        QCOMPARE(w.Top(), top); // grows downward from the same top edge
    }

    void minimisedWindowComesBackCollapsedAndRestores()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        const float full = w.Height();
        w.window()->setWindowState(Qt::WindowMinimized);
        w.mnuMacMin_Click();
        w.window()->setWindowState(Qt::WindowNoState);
        QVERIFY(w.Height() < full);
        QCOMPARE(w.window()->frameGeometry().height(), toPixelsY(w.Height()));
        w.mnuMacMin_Click();
        QCOMPARE(w.Height(), float(roundHalfEven(full)));
        QCOMPARE(w.window()->frameGeometry().height(), toPixelsY(w.Height()));
    }

    void shortcutCtrlI()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        QApplication::setActiveWindow(w.window());
        QVERIFY(QTest::qWaitForWindowActive(w.window()));
        QTest::keyClick(w.window(), Qt::Key_I, Qt::ControlModifier);
        QCOMPARE(w.blnMacMin, True);
        QTest::keyClick(w.window()->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(w.blnMacMin, False);
    }
};

QTEST_MAIN(TestCompactMode)
#include "tst_compactmode.moc"
