// Switching both letter rows between capitals and small letters.
#include "support/program.h"

#include <QApplication>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

class TestCaseToggle : public testing::GuiTest {
    Q_OBJECT

    enum Route { FrameDoubleClick, ReferenceDoubleClick, PreviewDoubleClick, MenuBar, PopupMenu, Shortcut };

    void toggle(frmMain& w, Route route, int letter)
    {
        switch (route) {
        case FrameDoubleClick: QTest::mouseDClick(w.fraLetters->widget(), Qt::LeftButton, {}, QPoint(2, 2)); break;
        case ReferenceDoubleClick: QTest::mouseDClick(w.Label1[letter]->widget(), Qt::LeftButton); break;
        case PreviewDoubleClick: QTest::mouseDClick(w.lblLetters[letter]->widget(), Qt::LeftButton); break;
        case MenuBar: w.mnuToggleCase->action()->trigger(); break;
        case PopupMenu:
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuToggleCase"));
            QTest::mouseClick(w.background()->widget(), Qt::RightButton, {}, QPoint(2, 2));
            break;
        case Shortcut:
            QApplication::setActiveWindow(w.window());
            QVERIFY(QTest::qWaitForWindowActive(w.window()));
            QTest::keyClick(w.window(), Qt::Key_T, Qt::ControlModifier);
            break;
        }
    }

    static QString row(const QList<Label*>& labels)
    {
        QString text;
        for (Label* label : labels)
            text += label->Caption();
        return text;
    }

private slots:
    void everyRouteTogglesBothRows_data()
    {
        QTest::addColumn<int>("route");
        QTest::addColumn<int>("letter");
        QTest::newRow("double click on the frame") << int(FrameDoubleClick) << 0;
        QTest::newRow("double click on reference A") << int(ReferenceDoubleClick) << 0;
        QTest::newRow("double click on reference Q") << int(ReferenceDoubleClick) << 16;
        QTest::newRow("double click on preview Z") << int(PreviewDoubleClick) << 25;
        QTest::newRow("menu bar") << int(MenuBar) << 0;
        QTest::newRow("pop-up menu") << int(PopupMenu) << 0;
        QTest::newRow("Ctrl+T") << int(Shortcut) << 0;
    }
    void everyRouteTogglesBothRows()
    {
        QFETCH(int, route);
        QFETCH(int, letter);
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        const QString capitals = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        toggle(w, Route(route), letter);
        QCOMPARE(row(w.Label1), capitals.toLower());
        QCOMPARE(row(w.lblLetters), capitals.toLower());
        QCOMPARE(w.blnUpperCase, False);
        toggle(w, Route(route), letter);
        QCOMPARE(row(w.Label1), capitals);
        QCOMPARE(row(w.lblLetters), capitals);
        QCOMPARE(w.blnUpperCase, True);
    }

    void digitsAndSpecialsNeverChange()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        const QString digits = row(w.lblNumbers), specials = row(w.lblSpecial), references = row(w.Label4);
        w.fraLetters_DblClick();
        QCOMPARE(row(w.lblNumbers), digits);
        QCOMPARE(row(w.Label3), digits);
        QCOMPARE(row(w.lblSpecial), specials);
        QCOMPARE(row(w.Label4), references);
    }

    void hiddenLettersPanelStillToggles()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.mnuLetters_Click();
        QVERIFY(!w.fraLetters->Visible());
        w.mnuToggleCase_Click();
        w.mnuLetters_Click();
        QCOMPARE(w.lblLetters[0]->Caption(), QStringLiteral("a"));
        QCOMPARE(w.Label1[0]->Caption(), QStringLiteral("a"));
    }

    void previewLettersResizeInTheChosenFace()
    {
        const QStringList faces = testing::twoInstalledFaces();
        if (faces.isEmpty())
            QSKIP("Needs an installed face");
        testing::Program program({faces[0]});
        frmMain& w = program.preview;
        Label* m = w.lblLetters[12];
        const float capital = m->Width();
        const float left = m->Left();
        w.mnuToggleCase_Click();
        QVERIFY(m->Width() < capital); // "m" is narrower than "M"
        QCOMPARE(m->Left(), left);
        QCOMPARE(m->FontName(), faces[0]);
        QCOMPARE(m->shownFont().family(), faces[0]);
    }
};

QTEST_MAIN(TestCaseToggle)
#include "tst_casetoggle.moc"
