// The View menu: showing and hiding panels, window width and centring.
#include "platform/twips.h"
#include "support/program.h"

#include <QMoveEvent>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

struct View {
    bool letters, numbers, special;
};

// The arrangement every view state must have: digits panel Left, special panel Left, width.
struct Geometry {
    float numbersLeft, specialLeft, width;
};

Geometry expectedGeometry(View v)
{
    const int key = (v.letters ? 4 : 0) + (v.numbers ? 2 : 0) + (v.special ? 1 : 0);
    switch (key) {
    case 0: return {-1, -1, 2412};
    case 1: return {-1, 240, 4332};
    case 2: return {240, -1, 2412};
    case 3: return {240, 1572, 5664};
    case 4: return {-1, -1, 3012};
    case 5: return {-1, 3120, 7104};
    case 6: return {3120, -1, 4344};
    default: return {3120, 4560, 8820};
    }
}

QString describe(View v)
{
    QStringList shown;
    if (v.letters)
        shown << "L";
    if (v.numbers)
        shown << "N";
    if (v.special)
        shown << "S";
    return shown.isEmpty() ? QStringLiteral("none") : shown.join(QString());
}

// Records the window's positions as they are written.
struct MoveLog : QObject {
    QList<QPoint> positions;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Move)
            positions.append(static_cast<QMoveEvent*>(event)->pos());
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(View)

class TestPanelViews : public testing::GuiTest {
    Q_OBJECT

    // Brings the window from its start state (letters only) to a view, with the commands.
    static void reach(frmMain& w, View v)
    {
        if (!v.letters)
            w.mnuLetters->action()->trigger();
        if (v.numbers)
            w.mnuNumbers->action()->trigger();
        if (v.special)
            w.mnuSpecial->action()->trigger();
    }

    static void checkArrangement(frmMain& w, View v, bool checkWidth = true)
    {
        const Geometry g = expectedGeometry(v);
        QCOMPARE(w.fraLetters->Visible(), v.letters);
        QCOMPARE(w.fraNumbers->Visible(), v.numbers);
        QCOMPARE(w.fraSpecial->Visible(), v.special);
        QCOMPARE(w.mnuLetters->Checked(), v.letters);
        QCOMPARE(w.mnuNumbers->Checked(), v.numbers);
        QCOMPARE(w.mnuSpecial->Checked(), v.special);
        QCOMPARE(w.fraLetters->Left(), 240.f);
        if (v.numbers)
            QCOMPARE(w.fraNumbers->Left(), g.numbersLeft);
        if (v.special)
            QCOMPARE(w.fraSpecial->Left(), g.specialLeft);
        if (checkWidth)
            QCOMPARE(w.Width(), g.width);
    }

private slots:
    void singlePanelCommands_data()
    {
        QTest::addColumn<View>("before");
        QTest::addColumn<int>("command");
        const char* names[] = {"Letters", "Numbers", "Special"};
        for (int state = 0; state < 8; ++state) {
            const View v{bool(state & 4), bool(state & 2), bool(state & 1)};
            for (int command = 0; command < 3; ++command)
                QTest::addRow("%s from %s", names[command], qPrintable(describe(v))) << v << command;
        }
    }
    void singlePanelCommands()
    {
        QFETCH(View, before);
        QFETCH(int, command);
        testing::Program program({QStringLiteral("Alpha Face"), QStringLiteral("Arial")});
        frmMain& w = program.preview;
        reach(w, before);
        // The window opens at its design width; every command gives a view's own width.
        const bool atStart = before.letters && !before.numbers && !before.special;
        checkArrangement(w, before, !atStart);
        const float height = w.Height();
        // Put the window elsewhere, as a user dragging it would, to see the centring and its order.
        w.setLeft(0);
        w.setTop(0);
        MoveLog log;
        w.window()->installEventFilter(&log);
        MenuItem* items[] = {w.mnuLetters, w.mnuNumbers, w.mnuSpecial};
        items[command]->action()->trigger();
        w.window()->removeEventFilter(&log);

        View after = before;
        (command == 0 ? after.letters : command == 1 ? after.numbers : after.special) ^= true;
        checkArrangement(w, after);
        QCOMPARE(w.Height(), height);
        QCOMPARE(w.Top(), centreExact(Screen::Height(), height));
        QCOMPARE(w.Left(), centreExact(Screen::Width(), w.Width()));
        // Top was written first: the first new position still has the old Left.
        QVERIFY(!log.positions.isEmpty());
        QCOMPARE(log.positions.first().x(), 0);
        QCOMPARE(log.positions.first().y(), toPixelsY(w.Top()));
    }

    void sameCommandTwiceRestores()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.mnuNumbers_Click();
        const float width = w.Width(), left = w.Left(), top = w.Top();
        w.mnuSpecial_Click();
        w.mnuSpecial_Click();
        checkArrangement(w, {true, true, false});
        QCOMPARE(w.Width(), width);
        QCOMPARE(w.Left(), left);
        QCOMPARE(w.Top(), top);
    }

    void specialLeftFollowsTheDigitsPanelWidth()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.fraNumbers->setWidth(1100.5f);
        w.mnuLetters_Click();
        w.mnuNumbers_Click();
        w.mnuSpecial_Click();
        QCOMPARE(w.fraSpecial->Left(), 1100.5f + 480.f);
        QCOMPARE(w.Width(), 1100.5f + 720.f + 3852.f);
        QCOMPARE(w.Left(), centreExact(Screen::Width(), w.Width())); // keeps its half twip
    }

    void showAll_data()
    {
        QTest::addColumn<View>("before");
        QTest::newRow("from the start state") << View{true, false, false};
        QTest::newRow("from no panel") << View{false, false, false};
        QTest::newRow("from digits and special") << View{false, true, true};
        QTest::newRow("from all three") << View{true, true, true};
    }
    void showAll()
    {
        QFETCH(View, before);
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        reach(w, before);
        const float height = w.Height();
        w.setLeft(0);
        w.setTop(0);
        MoveLog log;
        w.window()->installEventFilter(&log);
        w.mnuShowAll->action()->trigger();
        w.window()->removeEventFilter(&log);
        checkArrangement(w, {true, true, true});
        QCOMPARE(w.Height(), height);
        QCOMPARE(w.Left(), centreWholeTwip(Screen::Width(), 8820));
        QCOMPARE(w.Top(), centreWholeTwip(Screen::Height(), height));
        QCOMPARE(w.Top(), std::trunc(w.Top()));
        // Left was written first.
        QVERIFY(!log.positions.isEmpty());
        QCOMPARE(log.positions.first(), QPoint(toPixelsX(w.Left()), 0));
    }

    void windowWiderThanTheScreenGetsANegativeLeft()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.fraSpecial->setWidth(Screen::Width() + 1001);
        w.mnuSpecial_Click();
        QCOMPARE(w.Width(), 2532.f + 720.f + w.fraSpecial->Width());
        QVERIFY(w.Left() < 0);
        QCOMPARE(w.Left(), centreExact(Screen::Width(), w.Width()));
    }

    void minimisedWindowIsRearrangedOnlyByShowAll()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.window()->setWindowState(Qt::WindowMinimized);
        QCOMPARE(w.WindowState(), std::int16_t(1));
        const float width = w.Width();
        w.mnuNumbers_Click(); // the panel and its mark change, the geometry waits
        QVERIFY(w.fraNumbers->Visible());
        QVERIFY(w.mnuNumbers->Checked());
        QCOMPARE(w.Width(), width);
        w.mnuShowAll_Click(); // a correct arrangement for when the window comes back
        w.window()->setWindowState(Qt::WindowNoState);
        QCOMPARE(w.WindowState(), std::int16_t(0));
        checkArrangement(w, {true, true, true});
        QCOMPARE(w.window()->frameGeometry().width(), toPixelsX(8820));
    }
};

QTEST_MAIN(TestPanelViews)
#include "tst_panelviews.moc"
