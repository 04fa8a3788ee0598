// Rounding half to even, and the two rules windows are centred by (on a 12000-twip screen): the
// exact one keeps half twips; the whole-twip one rounds the difference half to even and drops the
// half toward zero, also for a window wider than the screen.
#include "platform/twips.h"

#include <QTest>
#include <cmath>

using namespace glyvex::platform;

class TestTwips : public QObject {
    Q_OBJECT
private slots:
    void rounds()
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

QTEST_GUILESS_MAIN(TestTwips)
#include "tst_twips.moc"
