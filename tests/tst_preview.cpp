// The Preview window as a person uses it: start-up (the splash window, the font list it fills, the
// face it selects, the busy pointer, the open list), its panels and the View commands, compact
// mode, the case toggle (also from the right-click menu); and the twips it is measured in.
#include "platform/twips.h"
#include "support/labels.h"
#include "support/program.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QTest>
#include <array>
#include <cmath>

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
    for (const auto& [frame, item] : {std::pair{w.fraLetters, u"mnuLetters"_qs},
                                      {w.fraNumbers, u"mnuNumbers"_qs},
                                      {w.fraSpecial, u"mnuSpecial"_qs}}) {
        QCOMPARE(frame->Visible(), w.window()->findChild<QAction*>(item)->isChecked()); // the mark shown
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

    // The entries are tried in the order a person expects until one is exactly "Arial"; all 68
    // preview labels take the face tried last, the reference labels stay in Arial. The pointer is
    // busy while the list is filled; the Preview window is shown; the splash is gone.
    void start_data()
    {
        QTest::addColumn<QStringList>("fonts");
        QTest::addColumn<QStringList>("tried");
        using L = QStringList;
        for (const auto& [row, fonts, tried] :
             {std::tuple{"no Arial: the last name", L{"delta", "Charlie", "alpha", "Bravo"},
                         L{"alpha", "Bravo", "Charlie", "delta"}},
              {"Arial stops the loop, after case variants and numbers",
               L{"zapf", "Bookman", "ARIAL", "Arial", "arial", "10 Pitch", "9 Pitch"},
               L{"9 Pitch", "10 Pitch", "ARIAL", "Arial"}},
              {"no fonts", L{}, L{}}})
            QTest::newRow(row) << fonts << tried;
        QStringList many; // beyond a 16-bit count
        for (int i = 0; i < 33000; ++i)
            many.append(QStringLiteral("Face %1").arg(i, 5, 10, QLatin1Char('0')));
        QTest::newRow("more than 32767 fonts") << many << many;
    }
    void start()
    {
        QFETCH(QStringList, fonts);
        QFETCH(QStringList, tried);
        usePlatform(fonts);
        std::optional<frmMain> made;
        QStringList clicked;
        QList<int> pointers; // the pointer on screen while each entry is tried
        frmSplash splash(platform(), [&]() -> frmMain& {
            frmMain& preview = made.emplace(platform());
            QObject::connect(preview.cboFonts, &Control::Click, [&] {
                clicked.append(preview.cboFonts->Text());
                pointers.append(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : -1);
            });
            return preview;
        });
        splash.Load();
        frmMain& preview = *made;

        QCOMPARE(clicked, tried);
        QCOMPARE(pointers, QList<int>(tried.size(), Qt::BusyCursor));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        const QString face = tried.isEmpty() ? QStringLiteral("Arial") : tried.last();
        QCOMPARE(preview.cboFonts->Text(), tried.isEmpty() ? QString() : face);
        QCOMPARE(preview.cboFonts->ListCount(), fonts.size());
        const QString family = platform().fonts().familyFor(face), arial = platform().fonts().familyFor(u"Arial"_qs);
        for (const auto* labels : {&preview.lblLetters, &preview.lblNumbers, &preview.lblSpecial})
            for (Label* label : *labels)
                QCOMPARE(testing::shownFont(label).family(), family);
        for (const auto* labels : {&preview.Label1, &preview.Label3, &preview.Label4})
            for (Label* label : *labels)
                QCOMPARE(testing::shownFont(label).family(), arial);
        QVERIFY(!splash.IsLoaded() && !testing::visible(splash));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(splash.window() == nullptr); // gone with its controls, for screen readers too
        QVERIFY(testing::visible(preview)); // centred: check_e2e.sh
        QCOMPARE(preview.window()->focusWidget(), preview.cboFonts->widget());
    }

    // Frameless, black, centred with half twips kept; its self-sizing lines fit their text, the
    // two below them are centred.
    void splashWindow()
    {
        usePlatform({QStringLiteral("Alpha")});
        std::optional<frmMain> preview;
        bool seen = false;
        frmSplash splash(platform(), [&]() -> frmMain& {
            QObject::connect(preview.emplace(platform()).cboFonts, &Control::Click, [&] {
                seen = testing::visible(splash);
                QVERIFY(splash.window()->windowFlags() & Qt::FramelessWindowHint);
                QCOMPARE(splash.window()->grab().toImage().pixelColor(2, 2), QColor(0, 0, 0));
                QCOMPARE(QPointF(splash.Left(), splash.Top()),
                         QPointF(centreExact(splash.Screen().Width(), splash.Width()),
                                 centreExact(splash.Screen().Height(), splash.Height())));
                QVERIFY(testing::fitsItsText(splash.lblPlatform) && testing::fitsItsText(splash.lblVersion));
                for (Label* line : {splash.Label1, splash.lblCopyright}) // centred under the banner
                    QVERIFY(
                        std::abs(line->widget()->geometry().center().x() - line->widget()->parentWidget()->width() / 2)
                        <= 2);
            });
            return *preview;
        });
        splash.Load();
        QVERIFY(seen);
    }

    // The open list shows its entries in order, the chosen one current (also after an entry is
    // added), drawn exactly as a plain list of the same names: no check boxes, no marks.
    void openListLooksPlain()
    {
        const QStringList fonts{"Mono", "zapf", "Bookman", "avant", "Arial", "Courier"};
        testing::Program program(usePlatform(fonts));
        frmMain& preview = program.preview;
        preview.cboFonts->AddItem(QStringLiteral("Aaron"));
        QCoreApplication::sendPostedEvents();
        auto* ours = static_cast<QComboBox*>(preview.cboFonts->widget());
        QComboBox plain(ours->parentWidget());
        plain.addItems({"Aaron", "Arial", "avant", "Bookman", "Courier", "Mono", "zapf"});
        plain.setCurrentIndex(1);
        plain.setFont(ours->font());
        plain.setSizeAdjustPolicy(ours->sizeAdjustPolicy());
        plain.setMinimumContentsLength(ours->minimumContentsLength());
        static_cast<QListView*>(plain.view())->setUniformItemSizes(true);
        plain.setGeometry(ours->geometry().translated(0, 200));
        plain.show();
        QCOMPARE(ours->currentText(), QStringLiteral("Arial"));
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Arial"));
        QList<QImage> rows[2];
        for (QComboBox* combo : {ours, &plain}) {
            combo->showPopup();
            QAbstractItemView* view = combo->view();
            QVERIFY(QTest::qWaitForWindowExposed(view->window()));
            QStringList texts;
            for (int row = 0; row < view->model()->rowCount(); ++row) {
                const QModelIndex index = view->model()->index(row, 0);
                texts << index.data().toString();
                rows[combo == &plain] << view->viewport()->grab(view->visualRect(index)).toImage();
            }
            QCOMPARE(texts, QStringList({"Aaron", "Arial", "avant", "Bookman", "Courier", "Mono", "zapf"}));
            combo->hidePopup();
        }
        QVERIFY(rows[0] == rows[1]);
    }

    // Rounding half to even; centring on a 12000-twip screen exactly (half twips kept) or to the
    // whole twip (half to even, the half dropped toward zero), also for a window wider than it.
    void twips()
    {
        for (int quarter = -40; quarter <= 40; ++quarter)
            for (const double value : {quarter / 4.0, quarter / 4.0 + 1e-4, quarter / 4.0 - 1e-4, quarter * 145.5})
                QCOMPARE(roundHalfEven(value), int(std::nearbyint(value))); // the processor's own
        // window width, exact centre, whole-twip centre
        const float rows[] = {3012,  4494, 4494, 3013,    4493.5, 4493, 3012.5,  4493.75, 4494, 3013.5, 4493.25, 4493,
                              12001, -0.5, 0,    12002.5, -1.25,  -1,   12003.5, -1.75,   -2,   17821,  -2910.5, -2910};
        for (size_t i = 0; i < std::size(rows); i += 3) {
            QCOMPARE(centreExact(12000.f, rows[i]), rows[i + 1]);
            QCOMPARE(centreWholeTwip(12000.f, rows[i]), rows[i + 2]);
        }
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
