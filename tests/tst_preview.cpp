// The Preview window as a person uses it: its panels and the View commands, compact mode, the
// case toggle (also from the right-click menu).
#include "platform/twips.h"
#include "support/labels.h"
#include "support/program.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <array>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

QRectF rectOf(const Control* c) { return {c->Left(), c->Top(), c->Width(), c->Height()}; }

// The text a row of labels shows.
QString row(const QList<Control*>& labels)
{
    QString text;
    for (Control* label : labels)
        text += testing::shownText(label);
    return text;
}

// Which panels are shown: bit 4 letters, 2 digits, 1 special characters.
int shown(const frmMain& w)
{
    return 4 * w.fraLetters->Visible() + 2 * w.fraNumbers->Visible() + w.fraSpecial->Visible();
}

// A panel is shown exactly when its View item is checked; the panels shown are packed from the
// left in their order, a small gap apart, in a window no wider than they and the list need.
void checkArrangement(const frmMain& w)
{
    float edge = 0, right = w.cboFonts->Left() + w.cboFonts->Width();
    for (const auto& [frame, item] : {std::pair{w.fraLetters, w.mnuLetters}, std::pair{w.fraNumbers, w.mnuNumbers},
                                      std::pair{w.fraSpecial, w.mnuSpecial}}) {
        QCOMPARE(frame->Visible(), item->Checked());
        if (!frame->Visible())
            continue;
        QVERIFY2(edge == 0 ? frame->Left() == 240 : frame->Left() >= edge + 240 && frame->Left() <= edge + 360,
                 qPrintable(frame->objectName()));
        edge = frame->Left() + frame->Width();
        right = std::max(right, edge);
    }
    QVERIFY2(right + 120 <= w.Width() && w.Width() <= right + 480, qPrintable(QString::number(w.Width())));
}

} // namespace

class TestPreview : public testing::GuiTest {
    Q_OBJECT
private slots:
    // Each character beside its reference (the grave accent's sample alone bold), every label
    // inside its panel, no preview label over a reference.
    void characterPanels()
    {
        frmMain w(platform());
        QCOMPARE(row(w.Label1.controls()) + row(w.Label3.controls()) + row(w.Label4.controls()),
                 u"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789`~!@#$%^&*()-_=+{}[]\\|;:'\",<.>/?"_qs);
        for (const auto& [references, previews] :
             {std::pair{&w.Label1, &w.lblLetters}, {&w.Label3, &w.lblNumbers}, {&w.Label4, &w.lblSpecial}}) {
            const QSize panel = (*previews)[0]->widget()->parentWidget()->size();
            const QRectF frame(0, 0, panel.width() * twipsPerPixelX(), panel.height() * twipsPerPixelY());
            for (qsizetype i = 0; i < references->size(); ++i) {
                Label* preview = (*previews)[i];
                Label* reference = (*references)[i];
                QVERIFY(frame.contains(rectOf(reference)) && frame.contains(rectOf(preview)));
                QCOMPARE(row({preview}), row({reference}));
                QCOMPARE(QPointF(preview->Left(), preview->Top()), QPointF(reference->Left() + 480, reference->Top()));
                QCOMPARE(testing::shownFont(preview).bold(), preview == w.lblSpecial[0]);
                for (Label* other : *previews)
                    QVERIFY(!rectOf(reference).intersects(rectOf(other)));
            }
        }
    }

    void viewCommands_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("command"); // Letters, Numbers, Special Characters, Show All
        for (int v = 0; v < 8; ++v) {
            for (int command = 0; command < 4; ++command)
                QTest::addRow("%s from %d", std::array{"Letters", "Numbers", "Special", "Show All"}[command], v)
                    << v << command;
        }
    }
    // Each command gives its view's arrangement, keeps the height and centres the window the
    // user moved: exactly after a single-panel command, on whole twips after Show All.
    void viewCommands()
    {
        QFETCH(int, before);
        QFETCH(int, command);
        testing::Program program(usePlatform({QStringLiteral("Alpha Face"), QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        const std::array items{"mnuLetters", "mnuNumbers", "mnuSpecial", "mnuShowAll"};
        for (int panel = 0; panel < 3; ++panel) {
            if (bool(before & (4 >> panel)) != bool(shown(w) & (4 >> panel)))
                testing::choose(w, items[panel]);
        }
        const float height = w.Height();
        w.setLeft(0);
        w.setTop(0);
        testing::choose(w, items[command]);
        QCOMPARE(shown(w), command == 3 ? 7 : before ^ (4 >> command));
        checkArrangement(w);
        QCOMPARE(w.Height(), height);
        const auto centre = command == 3 ? centreWholeTwip : centreExact;
        QCOMPARE(QPointF(w.Left(), w.Top()),
                 QPointF(centre(w.Screen().Width(), w.Width()), centre(w.Screen().Height(), height)));
    }

    void compactMode_data()
    {
        QTest::addColumn<QString>("enter");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<int>("dragged"); // pixels the user made the window taller first
        for (const auto& [name, enter, leave, dragged] : {std::tuple{"Intellimize twice", "menu", "menu", 0},
                                                          {"Ctrl+I, keypad Enter", "Ctrl+I", "Enter", 0},
                                                          {"RESTORE clicked after a drag", "menu", "click", 40}})
            QTest::newRow(name) << QString::fromLatin1(enter) << QString::fromLatin1(leave) << dragged;
    }
    // Collapsed to its menu bar, the list gives way to the focused default RESTORE button; back
    // at the height it had (the user's own after a drag), it is where it was, and Enter then does
    // nothing.
    void compactMode()
    {
        QFETCH(QString, enter);
        QFETCH(QString, leave);
        QFETCH(int, dragged);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        QWidget* window = w.window();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        const int height = window->height() + dragged;
        window->resize(window->width(), height);
        QCOMPARE(window->height(), height); // the user's size is the window's size
        const QRect before = window->frameGeometry();
        if (enter == u"menu")
            testing::choose(w, "mnuMacMin");
        else
            QTest::keyClick(window, Qt::Key_I, Qt::ControlModifier);
        QVERIFY(window->frameGeometry().height() < before.height() / 4);
        QVERIFY(!w.cboFonts->Visible() && w.cmdMacRestore->Visible() && w.cmdMacRestore->Default());
        QCOMPARE(window->focusWidget(), w.cmdMacRestore->widget());
        if (leave == u"menu")
            testing::choose(w, "mnuMacMin");
        else if (leave == u"click")
            QTest::mouseClick(w.cmdMacRestore->widget(), Qt::LeftButton);
        else
            QTest::keyClick(window->focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(window->frameGeometry(), before);
        QVERIFY(w.cboFonts->Visible() && !w.cmdMacRestore->Visible() && !w.cmdMacRestore->Default());
        QTest::keyClick(window, Qt::Key_Return);
        QCOMPARE(window->frameGeometry(), before);
    }

    void toggleCase_data()
    {
        QTest::addColumn<QString>("route"); // the menu, the keys, or a click (its button and where)
        QTest::addColumn<bool>("toggles");
        for (const char* route : {"double fraLetters", "double Label1(16)", "double lblLetters(25)", "menu", "Ctrl+T"})
            QTest::newRow(route) << QString(route) << true;
        for (const char* source : {"frmMain", "fraLetters", "fraNumbers", "fraSpecial", "Label1(0)", "lblLetters(25)",
                                   "Label3(4)", "lblNumbers(9)", "Label4(8)", "lblSpecial(31)"})
            QTest::addRow("right %s", source) << u"right "_qs + source << true;
        for (const char* route : {"left lblSpecial(0)", "right cboFonts"})
            QTest::newRow(route) << QString(route) << false;
    }
    // Every route switches both letter rows between capitals and small letters, and back, each
    // label sized to its letter. Releasing the right button anywhere but on the list pops up the
    // File menu (here Toggle Case is chosen there). The menu route runs with the letters hidden.
    void toggleCase()
    {
        QFETCH(QString, route);
        QFETCH(bool, toggles);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        testing::choose(w, "mnuShowAll");
        QApplication::setActiveWindow(w.window());
        QVERIFY(QTest::qWaitForWindowActive(w.window()));
        const QString how = route.section(u' ', 0, 0);
        auto* target = w.window()->findChild<QWidget*>(route.section(u' ', 1));
        const Qt::MouseButton button = how == u"right" ? Qt::RightButton : Qt::LeftButton;
        for (const QString& letters : {u"abcdefghijklmnopqrstuvwxyz"_qs, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"_qs}) {
            if (how == u"double") {
                QTest::mouseDClick(target, Qt::LeftButton, {}, QPoint(2, 2));
            } else if (how == u"menu") {
                testing::choose(w, "mnuLetters");
                testing::choose(w, "mnuToggleCase");
                testing::choose(w, "mnuLetters");
            } else if (how == u"Ctrl+T") {
                QTest::keyClick(w.window(), Qt::Key_T, Qt::ControlModifier);
            } else {
                QTest::mousePress(target, button, {}, QPoint(2, 2));
                if (toggles) // on the release, not the press
                    dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuToggleCase"));
                QTest::mouseRelease(target, button, {}, QPoint(2, 2));
            }
            const QString expected = toggles ? letters : letters.toUpper();
            QCOMPARE(row(w.Label1.controls()) + row(w.lblLetters.controls()), expected + expected);
            for (Label* letter : w.lblLetters)
                QVERIFY(testing::fitsItsText(letter));
        }
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
