// Rounding and the two centring rules.
#include "platform/twips.h"

#include <QTest>

using namespace glyvex::platform;

class TestTwips : public QObject {
    Q_OBJECT
private slots:
    void roundsHalfToEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("expected");
        QTest::newRow("0.5") << 0.5 << 0;
        QTest::newRow("1.5") << 1.5 << 2;
        QTest::newRow("2.5") << 2.5 << 2;
        QTest::newRow("2.4999") << 2.4999 << 2;
        QTest::newRow("2.5001") << 2.5001 << 3;
        QTest::newRow("-0.5") << -0.5 << 0;
        QTest::newRow("-1.5") << -1.5 << -2;
        QTest::newRow("-2.5") << -2.5 << -2;
        QTest::newRow("-2.6") << -2.6 << -3;
        QTest::newRow("5820 whole") << 5820.0 << 5820;
    }
    void roundsHalfToEven()
    {
        QFETCH(double, value);
        QFETCH(int, expected);
        QCOMPARE(roundHalfEven(value), expected);
    }

    void centresExactly_data()
    {
        QTest::addColumn<float>("screen");
        QTest::addColumn<float>("window");
        QTest::addColumn<float>("expected");
        QTest::newRow("even difference") << 12000.f << 3012.f << 4494.f;
        QTest::newRow("odd difference keeps half") << 12000.f << 3013.f << 4493.5f;
        QTest::newRow("fraction in the size") << 12000.f << 3012.25f << 4493.875f;
        QTest::newRow("window fills the screen") << 12000.f << 12000.f << 0.f;
        QTest::newRow("wider than the screen") << 12000.f << 13000.f << -500.f;
        QTest::newRow("wider, odd") << 12000.f << 13001.f << -500.5f;
    }
    void centresExactly()
    {
        QFETCH(float, screen);
        QFETCH(float, window);
        QFETCH(float, expected);
        QCOMPARE(centreExact(screen, window), expected);
    }

    void centresOnWholeTwips_data()
    {
        QTest::addColumn<float>("screen");
        QTest::addColumn<float>("window");
        QTest::addColumn<float>("expected");
        QTest::newRow("even difference") << 12000.f << 3012.f << 4494.f;
        QTest::newRow("odd difference drops the half") << 12000.f << 3013.f << 4493.f;
        QTest::newRow("half twip rounds to even up") << 12000.f << 3012.5f << 4494.f;  // 8987.5 -> 8988
        QTest::newRow("half twip rounds to even down") << 12000.f << 3013.5f << 4493.f; // 8986.5 -> 8986
        QTest::newRow("-3 gives -1") << 12000.f << 12003.f << -1.f;
        QTest::newRow("-1 gives 0") << 12000.f << 12001.f << 0.f;
        QTest::newRow("-3.5 gives -2") << 12000.f << 12003.5f << -2.f;
        QTest::newRow("-2.5 gives -1") << 12000.f << 12002.5f << -1.f;
        QTest::newRow("far wider") << 12000.f << 17821.f << -2910.f;
    }
    void centresOnWholeTwips()
    {
        QFETCH(float, screen);
        QFETCH(float, window);
        QFETCH(float, expected);
        QCOMPARE(centreWholeTwip(screen, window), expected);
    }

    void rulesDifferByHalfATwipOnOddDifferences()
    {
        QCOMPARE(centreExact(11505.f, 4806.f) - centreWholeTwip(11505.f, 4806.f), 0.5f);
    }
};

QTEST_GUILESS_MAIN(TestTwips)
#include "tst_twips.moc"
