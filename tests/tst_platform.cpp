// The toolkit layer: twips, the frame around the client area, and check marks. (What the windows
// rely on beyond this is checked through them.)
#include "platform/form.h"
#include "platform/twips.h"
#include "support/guitest.h"

#include <QTest>
#include <cmath>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

const MenuSpec kMenus[] = {{"", "mnuFile", "&File"}, {"mnuFile", "mnuOne", "&One", "Ctrl+O", true}};

// A small window to exercise the layer.
class frmProbe final : public Form {
public:
    explicit frmProbe(Platform& platform)
        : Form(platform, QStringLiteral("frmProbe"),
               FormDesign{
                   .clientWidth = 3000, .clientHeight = 2000, .font = FontSpec{QStringLiteral("Arial"), 10.8f, 400}})
    {
        addMenus(kMenus);
        one = menuItem(QStringLiteral("mnuOne"));
    }
    MenuItem* one = nullptr;
};

} // namespace

class TestToolkit : public testing::GuiTest {
    Q_OBJECT
private slots:
    // The design's client area is what the user sees, whenever the frame becomes known; a width
    // a handler wrote is the outer width. Openbox's frame: 1 left, 20 top, 1 right, 5 bottom.
    void frameAroundTheClientArea_data()
    {
        QTest::addColumn<QString>("frameKnown");
        QTest::addColumn<float>("writtenWidth"); // 0: no handler writes it
        QTest::newRow("X11, after mapping") << "later" << 0.f;
        QTest::newRow("X11, after mapping, width written before") << "later" << 4344.f;
        QTest::newRow("X11, asked before mapping, width written") << "before show" << 4344.f;
        QTest::newRow("Wayland, at show") << "at show" << 0.f;
        QTest::newRow("Wayland, at show, width written after") << "at show" << 4344.f;
    }
    void frameAroundTheClientArea()
    {
        QFETCH(QString, frameKnown);
        QFETCH(float, writtenWidth);
        const QMargins frame(1, 20, 1, 5);
        const bool beforeShow = frameKnown == QLatin1String("before show");
        platform().frameBefore = beforeShow ? frame : QMargins();
        platform().frameShown = frameKnown == QLatin1String("later") ? QMargins() : frame;

        frmProbe form(platform());
        form.Load();
        const QSize design = form.window()->size(); // menu bar included
        QCOMPARE(design.width(), 200);
        const float outerHeight = form.Height() + (beforeShow ? 0 : fromPixelsY(25));
        form.Show();
        if (writtenWidth > 0)
            form.setWidth(writtenWidth);
        platform().frameShown = frame;
        QMoveEvent moved(form.window()->pos(), form.window()->pos());
        QCoreApplication::sendEvent(form.window(), &moved); // the window system's next report

        const int clientWidth = writtenWidth > 0 ? toPixelsX(writtenWidth) - 2 : design.width();
        QCOMPARE(form.window()->size(), QSize(clientWidth, design.height()));
        QCOMPARE(form.Width(), writtenWidth > 0 ? writtenWidth : fromPixelsX(design.width() + 2));
        QCOMPARE(form.Height(), outerHeight);
        form.setLeft(3000);
        QCOMPARE(form.window()->geometry().topLeft(), QPoint(200 + 1, toPixelsY(form.Top()) + 20));
    }

    // A check mark changes only when a handler sets it, never by itself on a click.
    void menuCheckMarkStaysOnAClick()
    {
        frmProbe form(platform());
        form.one->action()->trigger();
        QVERIFY(form.one->Checked() && form.one->action()->isChecked());
        form.one->setChecked(false);
        QVERIFY(!form.one->action()->isChecked());
    }

    // Rounding half to even, and the two rules windows are centred by (on a 12000-twip screen):
    // the exact one keeps half twips; the whole-twip one rounds the difference half to even and
    // drops the half toward zero, also for a window wider than the screen.
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

QTEST_MAIN(TestToolkit)
#include "tst_platform.moc"
