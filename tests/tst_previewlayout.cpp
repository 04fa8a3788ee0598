// What the Preview window consists of when it opens: the facts of its layout that can be got wrong.
#include "platform/twips.h"
#include "support/program.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

class TestPreviewLayout : public testing::GuiTest {
    Q_OBJECT
private slots:
    // Each special character shown as itself ("&" stored as "&&"), the sample 480 twips right of
    // its reference; the grave accent's sample alone is bold.
    void specialCharacters_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<float>("left");
        QTest::addColumn<float>("top");
        QTest::addColumn<float>("height");
        QTest::newRow("grave accent") << 0 << "`" << 240.f << 240.f << 216.f;
        QTest::newRow("at sign") << 3 << "@" << 240.f << 960.f << 336.f;
        QTest::newRow("ampersand") << 8 << "&" << 240.f << 2640.f << 300.f;
        QTest::newRow("low line") << 13 << "_" << 240.f << 4320.f << 336.f;
        QTest::newRow("equals") << 14 << "=" << 1680.f << 240.f << 216.f;
        QTest::newRow("reverse solidus") << 20 << "\\" << 1680.f << 2160.f << 336.f;
        QTest::newRow("apostrophe") << 24 << "'" << 1680.f << 3600.f << 336.f;
        QTest::newRow("quotation mark") << 25 << "\"" << 1680.f << 3960.f << 336.f;
        QTest::newRow("less-than") << 27 << "<" << 3000.f << 240.f << 216.f;
        QTest::newRow("question mark") << 31 << "?" << 3000.f << 1440.f << 336.f;
    }
    void specialCharacters()
    {
        QFETCH(int, index);
        QFETCH(QString, shown);
        QFETCH(float, left);
        QFETCH(float, top);
        QFETCH(float, height);
        frmMain preview;
        Label* reference = preview.Label4[index];
        Label* sample = preview.lblSpecial[index];
        for (Label* label : {reference, sample}) {
            QCOMPARE(label->Caption(), QString(shown).replace(u'&', u"&&"_qs));
            QCOMPARE(static_cast<QLabel*>(label->widget())->text(), shown);
            QCOMPARE(label->Top(), top);
        }
        QCOMPARE(reference->Left(), left);
        QCOMPARE(reference->Height(), height);
        QCOMPARE(sample->Left(), left + 480.f);
        QCOMPARE(sample->shownFont().bold(), index == 0);
        QVERIFY(!reference->shownFont().bold());
    }

    void everyPreviewLabelStands480RightOfItsReference()
    {
        frmMain preview;
        const QList<QPair<QList<Label*>, QList<Label*>>> panels{
            {preview.Label1, preview.lblLetters}, {preview.Label3, preview.lblNumbers}, {preview.Label4, preview.lblSpecial}};
        int count = 0;
        for (const auto& [references, previews] : panels) {
            QCOMPARE(references.size(), previews.size());
            for (int i = 0; i < references.size(); ++i, ++count) {
                QCOMPARE(previews[i]->Left(), references[i]->Left() + 480.f);
                QCOMPARE(previews[i]->Top(), references[i]->Top());
                QCOMPARE(previews[i]->Caption(), references[i]->Caption());
                QCOMPARE(previews[i]->widget()->parentWidget(), references[i]->widget()->parentWidget());
            }
        }
        QCOMPARE(count, 68);
    }

    // The window opens centred on whole twips with the font list focused; the list keeps the
    // chosen entry selected as entries are added.
    void listIsSortedAsAPersonExpects()
    {
        frmMain preview;
        preview.Show();
        QCOMPARE(preview.Left(), centreWholeTwip(Screen::Width(), preview.Width()));
        QCOMPARE(preview.Top(), centreWholeTwip(Screen::Height(), preview.Height()));
        QCOMPARE(preview.window()->focusWidget(), preview.cboFonts->widget()); // the lowest tab index
        // Entries added while none is selected are sorted in together, equal ones in the order
        // they were added, as when added one by one.
        for (const char* name : {"Mono", "zapf", "ARIAL", "Bookman", "arial"})
            preview.cboFonts->AddItem(QString::fromLatin1(name));
        preview.cboFonts->setListIndex(3);
        for (const char* name : {"avant", "Courier", "Arial", "10 Pitch", "9 Pitch"})
            preview.cboFonts->AddItem(QString::fromLatin1(name));
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Mono"));
        QCOMPARE(preview.cboFonts->ListIndex(), 8);
        QStringList order;
        for (int i = 0; i < preview.cboFonts->ListCount(); ++i)
            order << preview.cboFonts->List(i);
        const QStringList sorted{"9 Pitch", "10 Pitch", "ARIAL", "arial", "Arial", "avant", "Bookman", "Courier", "Mono", "zapf"};
        QCOMPARE(order, sorted);
        Control::flushPending();
        auto* combo = static_cast<QComboBox*>(preview.cboFonts->widget());
        QCOMPARE(combo->count(), 10);
        QCOMPARE(combo->itemText(6), QStringLiteral("Bookman"));
        QCOMPARE(combo->currentText(), QStringLiteral("Mono"));
    }
};

QTEST_MAIN(TestPreviewLayout)
#include "tst_previewlayout.moc"
