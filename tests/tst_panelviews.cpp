// The View menu: showing and hiding panels, window width and centring.
#include "platform/twips.h"
#include "support/program.h"

#include <QMoveEvent>
#include <QTest>
#include <array>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

// Which panels are shown: bit 4 letters, 2 digits, 1 special characters.
using View = int;

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

// Brings the window from its start state (letters only) to a view, with the commands.
void reach(frmMain& w, View v)
{
    if (!(v & 4))
        w.mnuLetters->action()->trigger();
    if (v & 2)
        w.mnuNumbers->action()->trigger();
    if (v & 1)
        w.mnuSpecial->action()->trigger();
}

// The panels, check marks, panel positions and window width every view must have.
void checkArrangement(frmMain& w, View v, bool checkWidth = true)
{
    static const float numbersLeft[8] = {0, 0, 240, 240, 0, 0, 3120, 3120};
    static const float specialLeft[8] = {0, 240, 0, 1572, 0, 3120, 0, 4560};
    static const float width[8] = {2412, 4332, 2412, 5664, 3012, 7104, 4344, 8820};
    QCOMPARE(w.fraLetters->Visible(), bool(v & 4));
    QCOMPARE(w.fraNumbers->Visible(), bool(v & 2));
    QCOMPARE(w.fraSpecial->Visible(), bool(v & 1));
    QCOMPARE(w.mnuLetters->Checked(), bool(v & 4));
    QCOMPARE(w.mnuNumbers->Checked(), bool(v & 2));
    QCOMPARE(w.mnuSpecial->Checked(), bool(v & 1));
    QCOMPARE(w.fraLetters->Left(), 240.f);
    if (v & 2)
        QCOMPARE(w.fraNumbers->Left(), numbersLeft[v]);
    if (v & 1)
        QCOMPARE(w.fraSpecial->Left(), specialLeft[v]);
    if (checkWidth)
        QCOMPARE(w.Width(), width[v]);
}

} // namespace

class TestPanelViews : public testing::GuiTest {
    Q_OBJECT
private slots:
    void singlePanelCommands_data()
    {
        QTest::addColumn<View>("before");
        QTest::addColumn<int>("command");
        for (View v = 0; v < 8; ++v) {
            const QString shown = QString(v & 4 ? "L" : "") + (v & 2 ? "N" : "") + (v & 1 ? "S" : "");
            for (int command = 0; command < 3; ++command)
                QTest::addRow("%s from %s", std::array{"Letters", "Numbers", "Special"}[command],
                              qPrintable(shown.isEmpty() ? u"none"_qs : shown))
                    << v << command;
        }
    }
    // Each command toggles its panel, gives the view's arrangement, keeps the height and centres
    // the window exactly, writing Top before Left.
    void singlePanelCommands()
    {
        QFETCH(View, before);
        QFETCH(int, command);
        testing::Program program({QStringLiteral("Alpha Face"), QStringLiteral("Arial")});
        frmMain& w = program.preview;
        reach(w, before);
        checkArrangement(w, before, before != 4); // the window opens at its design width
        const float height = w.Height();
        w.setLeft(0); // as a user dragging it would
        w.setTop(0);
        MoveLog log;
        w.window()->installEventFilter(&log);
        std::array{w.mnuLetters, w.mnuNumbers, w.mnuSpecial}[command]->action()->trigger();
        w.window()->removeEventFilter(&log);
        checkArrangement(w, before ^ (4 >> command));
        QCOMPARE(w.Height(), height);
        QCOMPARE(w.Top(), centreExact(Screen::Height(), height));
        QCOMPARE(w.Left(), centreExact(Screen::Width(), w.Width()));
        QVERIFY(!log.positions.isEmpty());
        QCOMPARE(log.positions.first(), QPoint(0, toPixelsY(w.Top())));
    }

    // Positions and widths are read from the panels as they are when the command runs; the
    // exact rule keeps half twips, and a window wider than the screen gets a negative Left.
    void arrangementUsesThePanelsWidths()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.fraNumbers->setWidth(1100.5f);
        w.fraSpecial->setWidth(Screen::Width() + 1001);
        w.mnuLetters_Click();
        w.mnuNumbers_Click();
        w.mnuSpecial_Click();
        QCOMPARE(w.fraSpecial->Left(), 1100.5f + 480.f);
        QCOMPARE(w.Width(), 1100.5f + 720.f + w.fraSpecial->Width());
        QVERIFY(w.Left() < 0);
        QCOMPARE(w.Left(), centreExact(Screen::Width(), w.Width()));
    }

    void showAll_data()
    {
        QTest::addColumn<View>("before");
        QTest::newRow("from the start state") << 4;
        QTest::newRow("from no panel") << 0;
        QTest::newRow("from digits and special") << 3;
        QTest::newRow("from all three") << 7;
    }
    // All three panels, centred on whole twips, Left written before Top.
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
        checkArrangement(w, 7);
        QCOMPARE(w.Height(), height);
        QCOMPARE(w.Left(), centreWholeTwip(Screen::Width(), 8820));
        QCOMPARE(w.Top(), centreWholeTwip(Screen::Height(), height));
        QVERIFY(!log.positions.isEmpty());
        QCOMPARE(log.positions.first(), QPoint(toPixelsX(w.Left()), 0));
    }

    void minimisedWindowIsRearrangedOnlyByShowAll()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& w = program.preview;
        w.window()->setWindowState(Qt::WindowMinimized);
        QCOMPARE(w.WindowState(), std::int16_t(1));
        const float width = w.Width();
        w.mnuNumbers_Click(); // the panel and its mark change, the geometry waits
        QVERIFY(w.fraNumbers->Visible() && w.mnuNumbers->Checked());
        QCOMPARE(w.Width(), width);
        w.mnuShowAll_Click(); // a correct arrangement for when the window comes back
        w.window()->setWindowState(Qt::WindowNoState);
        checkArrangement(w, 7);
        QCOMPARE(w.window()->frameGeometry().width(), toPixelsX(8820));
    }
};

QTEST_MAIN(TestPanelViews)
#include "tst_panelviews.moc"
