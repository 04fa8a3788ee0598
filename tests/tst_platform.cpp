// The toolkit layer: twips and check marks. (The frame around the client area: check_e2e.sh, in
// real window systems; what else the windows rely on is checked through them.)
#include "platform/form.h"
#include "platform/twips.h"
#include "support/guitest.h"

#include <QAction>
#include <QTest>
#include <cmath>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

// A window with one checked menu item.
class frmProbe final : public Form {
public:
    explicit frmProbe(Platform& platform)
        : Form(platform, QStringLiteral("frmProbe"), FormDesign{})
        , one(addMenu("mnuFile", "&File")->addItem("mnuOne", "&One", "Ctrl+O", true))
    {
    }
    MenuItem* one;
};

} // namespace

class TestToolkit : public testing::GuiTest {
    Q_OBJECT
private slots:
    // A check mark changes only when a handler sets it, never by itself on a click.
    void menuCheckMarkStaysOnAClick()
    {
        frmProbe form(platform());
        auto* shown = form.window()->findChild<QAction*>(u"mnuOne"_qs);
        shown->trigger();
        QVERIFY(form.one->Checked() && shown->isChecked());
        form.one->setChecked(false);
        QVERIFY(!shown->isChecked());
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

QTEST_MAIN(TestToolkit)
#include "tst_platform.moc"
