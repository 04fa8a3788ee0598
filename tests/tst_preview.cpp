// The Preview window as a person uses it: its panels and the View commands, compact mode, the
// case toggle, the right-click menu and Exit.
#include "platform/errors.h"
#include "platform/twips.h"
#include "support/labels.h"
#include "support/program.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>
#include <array>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

QRectF rectOf(const Control* control) { return {control->Left(), control->Top(), control->Width(), control->Height()}; }

// The text a row of labels shows.
QString row(const QList<Label*>& labels)
{
    QCoreApplication::sendPostedEvents();
    QString text;
    for (Label* label : labels)
        text += static_cast<QLabel*>(label->widget())->text();
    return text;
}

// Which panels are shown: bit 4 letters, 2 digits, 1 special characters.
int shown(const frmMain& w)
{
    return 4 * w.fraLetters->Visible() + 2 * w.fraNumbers->Visible() + w.fraSpecial->Visible();
}

// Every view: a panel is shown exactly when its View item is checked; the panels shown are
// packed from the left in their order, a small gap apart, each whole inside the window, which is
// no wider than they and the font list need.
void checkArrangement(const frmMain& w)
{
    float edge = 0, right = w.cboFonts->Left() + w.cboFonts->Width();
    const std::array<std::pair<Frame*, MenuItem*>, 3> panels{
        {{w.fraLetters, w.mnuLetters}, {w.fraNumbers, w.mnuNumbers}, {w.fraSpecial, w.mnuSpecial}}};
    for (const auto& [frame, item] : panels) {
        QCOMPARE(frame->Visible(), item->Checked());
        if (!frame->Visible())
            continue;
        if (edge == 0)
            QCOMPARE(frame->Left(), 240.f);
        else
            QVERIFY2(frame->Left() >= edge + 240 && frame->Left() <= edge + 360, qPrintable(frame->Name()));
        edge = frame->Left() + frame->Width();
        right = std::max(right, edge);
    }
    QVERIFY2(right + 120 <= w.Width() && w.Width() <= right + 480, qPrintable(QString::number(w.Width())));
}

} // namespace

class TestPreview : public testing::GuiTest {
    Q_OBJECT
private slots:
    // Each character is shown as itself beside its reference (the grave accent's sample alone
    // bold); every label lies inside its panel, and no preview label overlaps a reference.
    void characterPanels()
    {
        frmMain w(platform());
        QCOMPARE(row(w.Label4), QStringLiteral("`~!@#$%^&*()-_=+{}[]\\|;:'\",<.>/?"));
        QCOMPARE(row(w.Label3), QStringLiteral("0123456789"));
        QCOMPARE(row(w.Label1), QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        const std::array<std::array<QList<Label*>*, 2>, 3> panels{
            {{&w.Label1, &w.lblLetters}, {&w.Label3, &w.lblNumbers}, {&w.Label4, &w.lblSpecial}}};
        for (const auto& [references, previews] : panels) {
            QList<Label*> all = *references + *previews;
            const QRectF frame(0, 0, all[0]->widget()->parentWidget()->width() * twipsPerPixelX(),
                               all[0]->widget()->parentWidget()->height() * twipsPerPixelY());
            for (qsizetype i = 0; i < references->size(); ++i) {
                Label* preview = (*previews)[i];
                QCOMPARE(row({preview}), row({(*references)[i]}));
                QCOMPARE(preview->Left(), (*references)[i]->Left() + 480.f);
                QCOMPARE(preview->Top(), (*references)[i]->Top());
                QCOMPARE(preview->shownFont().bold(), preview == w.lblSpecial[0]);
            }
            for (qsizetype i = 0; i < all.size(); ++i) {
                QVERIFY2(frame.contains(rectOf(all[i])), qPrintable(all[i]->Name()));
                for (qsizetype j = references->size(); i < references->size() && j < all.size(); ++j)
                    QVERIFY2(!rectOf(all[i]).intersects(rectOf(all[j])),
                             qPrintable(all[i]->Name() + u' ' + all[j]->Name()));
            }
        }
    }

    void viewCommands_data()
    {
        QTest::addColumn<int>("before");
        QTest::addColumn<int>("command"); // Letters, Numbers, Special Characters, Show All
        for (int v = 0; v < 8; ++v) {
            const QString panels = QString(v & 4 ? "L" : "") + (v & 2 ? "N" : "") + (v & 1 ? "S" : "");
            for (int command = 0; command < 4; ++command)
                QTest::addRow("%s from %s", std::array{"Letters", "Numbers", "Special", "Show All"}[command],
                              qPrintable(panels.isEmpty() ? u"none"_qs : panels))
                    << v << command;
        }
    }
    // Each command gives its view's arrangement, keeps the height and centres the window moved
    // by the user again: exactly after a single-panel command, on whole twips after Show All.
    void viewCommands()
    {
        QFETCH(int, before);
        QFETCH(int, command);
        testing::Program program(usePlatform({QStringLiteral("Alpha Face"), QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        const std::array items{w.mnuLetters, w.mnuNumbers, w.mnuSpecial, w.mnuShowAll};
        for (int panel = 0; panel < 3; ++panel) {
            if (bool(before & (4 >> panel)) != bool(shown(w) & (4 >> panel)))
                items[panel]->action()->trigger();
        }
        QCOMPARE(shown(w), before);
        checkArrangement(w);
        const float height = w.Height();
        w.setLeft(0);
        w.setTop(0);
        items[command]->action()->trigger();
        QCOMPARE(shown(w), command == 3 ? 7 : before ^ (4 >> command));
        checkArrangement(w);
        QCOMPARE(w.Height(), height);
        const auto centre = command == 3 ? centreWholeTwip : centreExact;
        QCOMPARE(w.Left(), centre(platform().Screen().Width(), w.Width()));
        QCOMPARE(w.Top(), centre(platform().Screen().Height(), height));
    }

    // A minimised window keeps its geometry on a single-panel command; Show All arranges it
    // for when it comes back.
    void minimisedWindow()
    {
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        w.window()->setWindowState(Qt::WindowMinimized);
        const float width = w.Width();
        w.mnuNumbers_Click();
        QVERIFY(w.fraNumbers->Visible() && w.mnuNumbers->Checked());
        QCOMPARE(w.Width(), width);
        w.mnuShowAll_Click();
        w.window()->setWindowState(Qt::WindowNoState);
        checkArrangement(w);
        QCOMPARE(shown(w), 7);
        QCOMPARE(w.window()->frameGeometry().width(), toPixelsX(w.Width()));
    }

    void compactMode_data()
    {
        QTest::addColumn<QString>("enter");
        QTest::addColumn<QString>("leave");
        QTest::addColumn<int>("dragged"); // pixels the user made the window taller first
        QTest::newRow("Intellimize twice") << "menu"
                                           << "menu" << 0;
        QTest::newRow("RESTORE clicked") << "menu"
                                         << "click" << 0;
        QTest::newRow("Enter") << "menu"
                               << "Return" << 0;
        QTest::newRow("Ctrl+I, keypad Enter") << "Ctrl+I"
                                              << "Enter" << 0;
        QTest::newRow("after a drag") << "menu"
                                      << "click" << 40;
    }
    // Collapsed to its menu bar, the list gives way to the focused default RESTORE button; back
    // at the height it had (the user's own after a drag), it is where it was, and Enter then
    // does nothing.
    void compactMode()
    {
        QFETCH(QString, enter);
        QFETCH(QString, leave);
        QFETCH(int, dragged);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        QApplication::setActiveWindow(w.window());
        QVERIFY(QTest::qWaitForWindowActive(w.window()));
        w.window()->resize(w.window()->width(), w.window()->height() + dragged);
        QCOMPARE(w.Height(), fromPixelsY(w.window()->frameGeometry().height()));
        const QRectF before(w.Left(), w.Top(), w.Width(), w.Height());
        if (enter == u"menu")
            w.mnuMacMin->action()->trigger();
        else
            QTest::keyClick(w.window(), Qt::Key_I, Qt::ControlModifier);
        QVERIFY(w.Height() < before.height() / 4);
        QCOMPARE(w.Height(), fromPixelsY(w.window()->frameGeometry().height()));
        QVERIFY(!w.cboFonts->Visible() && w.cmdMacRestore->Visible() && w.cmdMacRestore->Default());
        QCOMPARE(w.window()->focusWidget(), w.cmdMacRestore->widget());
        QVERIFY(!w.mnuMacMin->Checked());
        if (leave == u"menu")
            w.mnuMacMin->action()->trigger();
        else if (leave == u"click")
            QTest::mouseClick(w.cmdMacRestore->widget(), Qt::LeftButton);
        else
            QTest::keyClick(w.window()->focusWidget(), leave == u"Enter" ? Qt::Key_Enter : Qt::Key_Return,
                            leave == u"Enter" ? Qt::KeypadModifier : Qt::NoModifier);
        const QRectF after(w.Left(), w.Top(), w.Width(), w.Height());
        QCOMPARE(after, QRectF(before.topLeft(), QSizeF(before.width(), roundHalfEven(before.height()))));
        QCOMPARE(w.window()->frameGeometry().height(), toPixelsY(after.height()));
        QVERIFY(w.cboFonts->Visible() && !w.cmdMacRestore->Visible() && !w.cmdMacRestore->Default());
        QTest::keyClick(w.window(), Qt::Key_Return);
        QCOMPARE(w.Height(), after.height());
    }

    // A View command keeps the window collapsed and centres it at that height; it grows back
    // downward from where it is. Collapsed while minimised, it comes back collapsed.
    void compactModeWithOtherCommands()
    {
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        const float full = w.Height();
        w.mnuMacMin_Click();
        const float compact = w.Height();
        w.mnuNumbers_Click();
        QCOMPARE(w.Height(), compact);
        QCOMPARE(w.Top(), centreExact(platform().Screen().Height(), compact));
        const float top = w.Top();
        w.mnuMacMin_Click();
        QCOMPARE(w.Height(), float(roundHalfEven(full)));
        QCOMPARE(w.Top(), top);
        w.window()->setWindowState(Qt::WindowMinimized);
        w.mnuMacMin_Click();
        w.window()->setWindowState(Qt::WindowNoState);
        QCOMPARE(w.Height(), compact);
        QCOMPARE(w.window()->frameGeometry().height(), toPixelsY(compact));
    }

    void toggleCase_data()
    {
        QTest::addColumn<QString>("route");
        QTest::addColumn<int>("letter");
        QTest::newRow("double click on the frame") << "frame" << 0;
        QTest::newRow("double click on reference Q") << "reference" << 16;
        QTest::newRow("double click on preview Z") << "preview" << 25;
        QTest::newRow("menu bar") << "menu" << 0;
        QTest::newRow("menu bar, letters hidden") << "hidden" << 0;
        QTest::newRow("pop-up menu") << "popup" << 0;
        QTest::newRow("Ctrl+T") << "keys" << 0;
    }
    // Every route switches both letter rows between capitals and small letters, and back; the
    // digits and special characters never change.
    void toggleCase()
    {
        QFETCH(QString, route);
        QFETCH(int, letter);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        const QString capitals = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ");
        const QString others = row(w.Label3) + row(w.lblNumbers) + row(w.Label4) + row(w.lblSpecial);
        for (const QString& expected : {capitals.toLower(), capitals}) {
            if (route == u"frame")
                QTest::mouseDClick(w.fraLetters->widget(), Qt::LeftButton, {}, QPoint(2, 2));
            else if (route == u"reference")
                QTest::mouseDClick(w.Label1[letter]->widget(), Qt::LeftButton);
            else if (route == u"preview")
                QTest::mouseDClick(w.lblLetters[letter]->widget(), Qt::LeftButton);
            else if (route == u"popup")
                dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuToggleCase"));
            if (route == u"popup")
                QTest::mouseClick(w.background()->widget(), Qt::RightButton, {}, QPoint(2, 2));
            if (route == u"menu" || route == u"hidden") {
                if (route == u"hidden")
                    w.mnuLetters_Click();
                w.mnuToggleCase->action()->trigger();
                if (route == u"hidden")
                    w.mnuLetters_Click();
            }
            if (route == u"keys") {
                QApplication::setActiveWindow(w.window());
                QVERIFY(QTest::qWaitForWindowActive(w.window()));
                QTest::keyClick(w.window(), Qt::Key_T, Qt::ControlModifier);
            }
            QCOMPARE(row(w.Label1), expected);
            QCOMPARE(row(w.lblLetters), expected);
            for (Label* letter : w.lblLetters) // sized to the letter shown, in its face
                QVERIFY(testing::fitsItsText(letter));
            QCOMPARE(row(w.Label3) + row(w.lblNumbers) + row(w.Label4) + row(w.lblSpecial), others);
        }
    }

    void rightClick_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<int>("button");
        for (const char* source : {"frmMain", "fraLetters", "fraNumbers", "fraSpecial", "Label1(0)", "lblLetters(25)",
                                   "Label3(4)", "lblNumbers(9)", "Label4(8)", "lblSpecial(31)"})
            QTest::addRow("%s", source) << source << int(Qt::RightButton);
        QTest::newRow("left button") << "lblSpecial(0)" << int(Qt::LeftButton);
        QTest::newRow("middle button") << "frmMain" << int(Qt::MiddleButton);
        QTest::newRow("font list") << "cboFonts" << int(Qt::RightButton);
    }
    // Releasing the right button anywhere but on the list opens the File menu as a pop-up.
    void rightClick()
    {
        QFETCH(QString, source);
        QFETCH(int, button);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        w.mnuShowAll_Click();
        auto* target = w.window()->findChild<QWidget*>(source);
        QVERIFY2(target, qPrintable(source));
        const bool popup = button == Qt::RightButton && source != u"cboFonts";
        QTest::mousePress(target, Qt::MouseButton(button), {}, QPoint(2, 2));
        QCOMPARE(dialogs().calls().size(), 0); // nothing on the press
        if (popup)
            dialogs().expectPopup(QStringLiteral("mnuFile"));
        QTest::mouseRelease(target, Qt::MouseButton(button), {}, QPoint(2, 2));
        QCOMPARE(dialogs().calls().size(), popup ? 1 : 0);
    }

    // The pop-up is the menu bar's File menu: its choices run the same commands.
    void popupChoiceRunsTheCommand()
    {
        testing::Program program(usePlatform({QStringLiteral("Alpha Face"), QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuChangeFont"));
        dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 12.f});
        QTest::mouseClick(w.lblNumbers[3]->widget(), Qt::RightButton);
        QCOMPARE(w.lblSpecial[31]->FontName(), QStringLiteral("DejaVu Serif"));
        QVERIFY(w.window()->findChild<QMenuBar*>()->actions().contains(w.mnuFile->menu()->menuAction()));
    }

    void exit_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("E&xit from the menu bar") << 0;
        QTest::newRow("E&xit from the pop-up") << 1;
        QTest::newRow("close box") << 2;
    }
    void exit()
    {
        QFETCH(int, how);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        QSignalSpy ended(&platform(), &Platform::lastFormUnloaded);
        if (how == 0) {
            w.mnuExit->action()->trigger();
        } else if (how == 1) {
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuExit"));
            QTest::mouseClick(w.fraLetters->widget(), Qt::RightButton, {}, QPoint(2, 2));
        } else {
            w.window()->close();
        }
        QCOMPARE(ended.count(), 1);
        QVERIFY(!w.IsLoaded() && !w.Visible());
    }

    // An error no handler traps is reported, and the program goes on.
    void untrappedError()
    {
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& w = program.preview;
        dialogs().expectMessage([](const testing::DialogCall& call) {
            QCOMPARE(call.style, 16);
            QVERIFY(call.prompt.contains(QStringLiteral("list index 7")));
        });
        platform().runHandler([&] { w.cboFonts->setListIndex(7); });
        QVERIFY(w.IsLoaded());
        QCOMPARE(w.cboFonts->Text(), QStringLiteral("Arial"));
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
