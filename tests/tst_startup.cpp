// Start-up: the splash window, the font list it fills, the face it selects, the busy pointer,
// and how the list looks when it is opened.
#include "app/frmsplash.h"
#include "platform/twips.h"
#include "preview/frmmain.h"
#include "support/guitest.h"
#include "support/labels.h"
#include "support/program.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

class TestStartup : public testing::GuiTest {
    Q_OBJECT
private slots:
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
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
