// The start-up sequence: font list, initial face, busy pointer, splash and Preview window.
#include "app/frmsplash.h"
#include "platform/twips.h"
#include "preview/frmmain.h"
#include "support/guitest.h"

#include <QApplication>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

class TestStartup : public testing::GuiTest {
    Q_OBJECT

    struct Started {
        int clicks = 0;
        QStringList clickedTexts;
        QList<int> pointerDuringClicks;
        int pointerWhenShown = -1;
    };

    // Runs the start-up sequence with the given installed fonts.
    Started start(frmMain& preview, frmSplash& splash, const QStringList& fonts)
    {
        testing::useFonts(fonts);
        Started seen;
        QObject::connect(preview.cboFonts, &Control::Click, [&] {
            ++seen.clicks;
            if (seen.clickedTexts.size() < 10)
                seen.clickedTexts.append(preview.cboFonts->Text());
            if (seen.pointerDuringClicks.size() < 3)
                seen.pointerDuringClicks.append(Screen::MousePointer());
        });
        struct ShowSpy : QObject {
            int* pointer;
            bool eventFilter(QObject*, QEvent* event) override
            {
                if (event->type() == QEvent::Show && *pointer < 0)
                    *pointer = Screen::MousePointer();
                return false;
            }
        } spy;
        spy.pointer = &seen.pointerWhenShown;
        preview.window()->installEventFilter(&spy);
        splash.Load();
        preview.window()->removeEventFilter(&spy);
        return seen;
    }

private slots:
    void selectsInitialFace_data()
    {
        QTest::addColumn<QStringList>("fonts");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("clicks");
        QTest::newRow("exact Arial stops the loop") << QStringList{"Zeta", "Arial", "Beta", "Aardvark"} << "Arial" << 2;
        QTest::newRow("no Arial: the last name") << QStringList{"Beta", "Alpha", "Gamma"} << "Gamma" << 3;
        QTest::newRow("differs only in case") << QStringList{"ARIAL", "Zeta", "arial"} << "Zeta" << 3;
        QTest::newRow("case variant before Arial") << QStringList{"arial", "Arial", "Tahoma"} << "Arial" << 2;
        QTest::newRow("Arial first") << QStringList{"Arial", "Verdana"} << "Arial" << 1;
        QTest::newRow("single font") << QStringList{"Only Face"} << "Only Face" << 1;
    }
    void selectsInitialFace()
    {
        QFETCH(QStringList, fonts);
        QFETCH(QString, selected);
        QFETCH(int, clicks);
        frmMain preview;
        frmSplash splash(preview);
        const Started seen = start(preview, splash, fonts);
        QCOMPARE(preview.cboFonts->Text(), selected);
        QCOMPARE(seen.clicks, clicks);
        QCOMPARE(preview.cboFonts->ListCount(), fonts.size());
        for (const QList<Label*>* array : {&preview.lblLetters, &preview.lblNumbers, &preview.lblSpecial}) {
            for (Label* label : *array)
                QCOMPARE(label->FontName(), selected);
        }
        for (Label* reference : preview.Label1)
            QCOMPARE(reference->FontName(), QStringLiteral("Arial"));
    }

    void triesEntriesInAlphabeticalOrder()
    {
        frmMain preview;
        frmSplash splash(preview);
        const Started seen = start(preview, splash, {"delta", "Charlie", "alpha", "Bravo"});
        QCOMPARE(seen.clickedTexts, (QStringList{"alpha", "Bravo", "Charlie", "delta"}));
    }

    void emptyFontListKeepsDesignFaces()
    {
        frmMain preview;
        frmSplash splash(preview);
        const Started seen = start(preview, splash, {});
        QCOMPARE(seen.clicks, 0);
        QCOMPARE(preview.cboFonts->ListCount(), 0);
        QCOMPARE(preview.cboFonts->ListIndex(), -1);
        QCOMPARE(preview.cboFonts->Text(), QString());
        QCOMPARE(preview.lblLetters[0]->FontName(), QStringLiteral("Arial"));
        QVERIFY(preview.Visible());
    }

    void busyPointerUntilPreviewShown()
    {
        frmMain preview;
        frmSplash splash(preview);
        const Started seen = start(preview, splash, {"Alpha", "Beta"});
        QCOMPARE(seen.pointerDuringClicks, (QList<int>{13, 13}));
        QCOMPARE(seen.pointerWhenShown, 13);
        QCOMPARE(Screen::MousePointer(), 0);
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void splashGoneAndPreviewCentred()
    {
        frmMain preview;
        frmSplash splash(preview);
        const int loadedBefore = Forms::instance().loadedCount();
        start(preview, splash, {"Alpha", "Arial"});
        QVERIFY(!splash.IsLoaded());
        QVERIFY(!splash.Visible());
        // Gone with its controls, for the window system and screen readers alike.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(splash.window() == nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(w->objectName() != u"frmSplash");
        QVERIFY(preview.IsLoaded());
        QVERIFY(preview.Visible());
        QCOMPARE(Forms::instance().loadedCount(), loadedBefore + 1);
        QCOMPARE(preview.Top(), centreExact(Screen::Height(), preview.Height()));
        QCOMPARE(preview.Left(), centreExact(Screen::Width(), preview.Width()));
        QCOMPARE(preview.Caption(), QStringLiteral("Glyvex 2.0"));
    }

    void splashCentredAndBlack()
    {
        frmMain preview;
        frmSplash splash(preview);
        QCOMPARE(splash.Width(), 7092.f);
        QCOMPARE(splash.Height(), 3936.f);
        QVERIFY(splash.window()->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(splash.background()->widget()->palette().color(QPalette::Window), QColor(0, 0, 0));
        QCOMPARE(splash.Label1->Caption(), QStringLiteral("Loading System Fonts..."));
        QVERIFY(splash.lblCopyright->Top() > splash.Label1->Top());
        start(preview, splash, {"Alpha"});
        QCOMPARE(splash.Top(), centreExact(Screen::Height(), 3936.f));
        QCOMPARE(splash.Left(), centreExact(Screen::Width(), 7092.f));
    }

    void moreThan32767Families()
    {
        QStringList fonts;
        fonts.reserve(33000);
        for (int i = 0; i < 33000; ++i)
            fonts.append(QStringLiteral("Face %1").arg(i, 5, 10, QLatin1Char('0')));
        frmMain preview;
        frmSplash splash(preview);
        const Started seen = start(preview, splash, fonts);
        QCOMPARE(preview.cboFonts->ListCount(), 33000);
        QCOMPARE(seen.clicks, 33000);
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Face 32999"));
        QCOMPARE(preview.lblSpecial[31]->FontName(), QStringLiteral("Face 32999"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
