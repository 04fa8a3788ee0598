// Rounding and the two centring rules the windows are placed by.
#include "platform/twips.h"

#include <QTest>
#include <cfenv>
#include <cmath>

using namespace glyvex::platform;

class TestTwips : public QObject {
    Q_OBJECT
private slots:
    // Against the processor's own round-to-nearest-even, on halves, near-halves and negatives.
    void roundsHalfToEven()
    {
        QCOMPARE(std::fegetround(), FE_TONEAREST);
        for (int quarter = -40; quarter <= 40; ++quarter) {
            for (const double nudge : {0.0, 1e-4, -1e-4}) {
                const double value = quarter / 4.0 + nudge;
                QCOMPARE(roundHalfEven(value), int(std::nearbyint(value)));
            }
        }
        QCOMPARE(roundHalfEven(5820.0), 5820);
    }

    // The exact rule keeps half twips; the whole-twip rule rounds the difference half to even
    // and drops the half toward zero, also for a window wider than the screen.
    void centres_data()
    {
        QTest::addColumn<float>("window");
        QTest::addColumn<float>("exact");
        QTest::addColumn<float>("whole");
        QTest::newRow("even difference") << 3012.f << 4494.f << 4494.f;
        QTest::newRow("odd difference") << 3013.f << 4493.5f << 4493.f;
        QTest::newRow("half twip, to even up") << 3012.5f << 4493.75f << 4494.f;
        QTest::newRow("half twip, to even down") << 3013.5f << 4493.25f << 4493.f;
        QTest::newRow("1 wider") << 12001.f << -0.5f << 0.f;
        QTest::newRow("2.5 wider") << 12002.5f << -1.25f << -1.f;
        QTest::newRow("3.5 wider") << 12003.5f << -1.75f << -2.f;
        QTest::newRow("far wider") << 17821.f << -2910.5f << -2910.f;
    }
    void centres()
    {
        QFETCH(float, window);
        QFETCH(float, exact);
        QFETCH(float, whole);
        QCOMPARE(centreExact(12000.f, window), exact);
        QCOMPARE(centreWholeTwip(12000.f, window), whole);
    }
};

QTEST_GUILESS_MAIN(TestTwips)
#include "tst_twips.moc"
