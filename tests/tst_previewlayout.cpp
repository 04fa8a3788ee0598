// What the Preview window consists of when it opens.
#include "platform/errors.h"
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
        QTest::newRow("comma") << 26 << "," << 1680.f << 4320.f << 336.f;
        QTest::newRow("less-than") << 27 << "<" << 3000.f << 240.f << 216.f;
        QTest::newRow("full stop") << 28 << "." << 3000.f << 480.f << 336.f;
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
            QCOMPARE(label->shownText(), shown);
            QCOMPARE(static_cast<QLabel*>(label->widget())->text(), shown);
            QCOMPARE(label->Top(), top);
        }
        QCOMPARE(reference->Left(), left);
        QCOMPARE(reference->Height(), height);
        QCOMPARE(reference->Width(), 396.f);
        QCOMPARE(sample->Left(), left + 480.f);
    }

    void ampersandIsStoredDoubled()
    {
        frmMain preview;
        QCOMPARE(preview.Label4[8]->Caption(), QStringLiteral("&&"));
        QCOMPARE(preview.lblSpecial[8]->Caption(), QStringLiteral("&&"));
        QCOMPARE(Label::stripAccessKeys(QStringLiteral("&&")), QStringLiteral("&"));
        QCOMPARE(Label::stripAccessKeys(QStringLiteral("&File && more&")), QStringLiteral("File & more&"));
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

    void lettersAndDigitsInTheirColumns()
    {
        frmMain preview;
        QCOMPARE(preview.Label1[0]->Caption(), QStringLiteral("A"));
        QCOMPARE(preview.Label1[12]->Top(), 240.f + 360.f * 12);
        QCOMPARE(preview.Label1[13]->Caption(), QStringLiteral("N"));
        QCOMPARE(preview.Label1[13]->Left(), 1680.f);
        QCOMPARE(preview.Label1[13]->Top(), 240.f);
        QCOMPARE(preview.lblLetters[25]->Left(), 2160.f);
        QCOMPARE(preview.Label1[25]->Height(), 336.f);
        QCOMPARE(preview.Label3[9]->Caption(), QStringLiteral("9"));
        QCOMPARE(preview.Label3[9]->Height(), 252.f);
        QCOMPARE(preview.Label3[8]->Height(), 372.f);
    }

    void facesAtCreation()
    {
        frmMain preview;
        for (Label* label : preview.lblSpecial.mid(1) + preview.lblLetters + preview.Label4) {
            QCOMPARE(label->FontName(), QStringLiteral("Arial"));
            QCOMPARE(label->FontSize(), 12.f);
            QCOMPARE(label->FontWeight(), 400);
        }
        QCOMPARE(preview.lblSpecial[0]->FontWeight(), 700);
        QCOMPARE(preview.lblSpecial[0]->shownFont().weight(), QFont::Bold);
        QCOMPARE(preview.Label4[0]->shownFont().weight(), QFont::Normal);
        QVERIFY(preview.lblLetters[0]->AutoSize());
        QVERIFY(!preview.Label1[0]->AutoSize());
        QCOMPARE(preview.Label1[3]->widget()->toolTip(), QStringLiteral("Double click to toggle case"));
        QCOMPARE(preview.lblLetters[3]->widget()->toolTip(), QStringLiteral("Double click to toggle case"));
        QCOMPARE(preview.lblNumbers[3]->widget()->toolTip(), QString());
    }

    void windowAndControlsAtCreation()
    {
        frmMain preview;
        QCOMPARE(preview.Caption(), QStringLiteral("Glyvex 2.0"));
        QCOMPARE(preview.Width(), 3048.f); // no frame reported offscreen
        QVERIFY(preview.Height() > 5820.f); // the menu bar is part of it
        QVERIFY(!(preview.window()->windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(preview.window()->windowFlags() & Qt::WindowMinimizeButtonHint);
        QVERIFY(preview.fraLetters->Visible());
        QVERIFY(!preview.fraNumbers->Visible());
        QVERIFY(!preview.fraSpecial->Visible());
        QCOMPARE(preview.fraNumbers->Left(), 3120.f);
        QCOMPARE(preview.fraSpecial->Left(), 4560.f);
        QVERIFY(preview.fraLetters->Left() + preview.fraLetters->Width() <= 3048.f);
        QVERIFY(!preview.cmdMacRestore->Visible());
        QVERIFY(!preview.cmdMacRestore->Default());
        QCOMPARE(preview.cmdMacRestore->Caption(), QStringLiteral("RESTORE"));
        QCOMPARE(preview.cboFonts->widget()->toolTip(), QStringLiteral("Select Font"));
        QCOMPARE(preview.cboFonts->Width(), 1932.f);
        QCOMPARE(preview.CommonDialog1.DialogTitle, QStringLiteral("Select Font Name"));
        QWidget* next = preview.cboFonts->widget()->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        QCOMPARE(next, preview.cmdMacRestore->widget());
        QCOMPARE(preview.window()->focusWidget(), preview.cboFonts->widget()); // the lowest tab index
        QCOMPARE(preview.Label1[0]->widget()->focusPolicy(), Qt::NoFocus);
    }

    void menuTree()
    {
        frmMain preview;
        const QList<QStringList> expected{
            {"mnuFile", "&File", "mnuChangeFont", "&Change Font...", "Ctrl+F", "mnuToggleCase", "&Toggle Case", "Ctrl+T",
             "sep1", "-", "", "mnuSentence", "&Sentence Viewer...", "", "mnuDocConvert", "&Convert Document...", "",
             "sep2", "-", "", "mnuExit", "E&xit", "Ctrl+X"},
            {"mnuView", "&View", "mnuLetters", "&Letters", "", "mnuNumbers", "&Numbers", "", "mnuSpecial",
             "&Special Characters", "", "mnuShowAll", "Show &All", "Ctrl+A", "sep3", "-", "", "mnuMacMin", "&Intellimize",
             "Ctrl+I"},
            {"mnuHelp", "&Help", "mnuReadMe", "&README.txt", "", "mnuAbout", "&About", ""}};
        for (const QStringList& row : expected) {
            Menu* menu = preview.menu(row[0]);
            QVERIFY(menu);
            QCOMPARE(menu->Caption(), row[1]);
            QStringList seen{menu->Name(), menu->Caption()};
            for (MenuItem* item : menu->items())
                seen << item->Name() << item->Caption() << item->Shortcut();
            QCOMPARE(seen, row);
        }
        QVERIFY(preview.mnuLetters->Checked());
        QVERIFY(!preview.mnuNumbers->Checked());
        QVERIFY(!preview.mnuSpecial->Checked());
        QVERIFY(!preview.mnuMacMin->Checked());
    }

    void loadInitialisesVariablesAndCentres()
    {
        frmMain preview;
        preview.Load();
        QCOMPARE(preview.blnUpperCase, True);
        QCOMPARE(preview.blnMacMin, False);
        QCOMPARE(preview.lngSavedHeight, roundHalfEven(preview.Height()));
        QCOMPARE(preview.Left(), centreWholeTwip(Screen::Width(), preview.Width()));
        QCOMPARE(preview.Top(), centreWholeTwip(Screen::Height(), preview.Height()));
    }

    void listIsSortedAsAPersonExpects()
    {
        frmMain preview;
        for (const char* name : {"zapf", "Bookman", "avant", "Courier", "ARIAL", "arial", "Arial", "10 Pitch", "9 Pitch"})
            preview.cboFonts->AddItem(QString::fromLatin1(name));
        QStringList order;
        for (int i = 0; i < preview.cboFonts->ListCount(); ++i)
            order << preview.cboFonts->List(i);
        QCOMPARE(order, (QStringList{"9 Pitch", "10 Pitch", "ARIAL", "arial", "Arial", "avant", "Bookman", "Courier", "zapf"}));
        Control::flushPending();
        auto* combo = static_cast<QComboBox*>(preview.cboFonts->widget());
        QCOMPARE(combo->count(), 9);
        QCOMPARE(combo->itemText(6), QStringLiteral("Bookman"));
    }

    void selectionFollowsItsEntryWhenEntriesAreAdded()
    {
        frmMain preview;
        preview.cboFonts->AddItem(QStringLiteral("Mono"));
        preview.cboFonts->setListIndex(0);
        preview.cboFonts->AddItem(QStringLiteral("Alpha"));
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Mono"));
        QCOMPARE(preview.cboFonts->ListIndex(), 1);
    }

    void badListIndexIsAnError()
    {
        frmMain preview;
        QVERIFY_THROWS_EXCEPTION(Error, preview.cboFonts->setListIndex(0));
    }
};

QTEST_MAIN(TestPreviewLayout)
#include "tst_previewlayout.moc"
