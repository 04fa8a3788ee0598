// Choosing the preview face from the list and from the font dialog.
#include "platform/toolkit.h"
#include "support/program.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontInfo>
#include <QSet>
#include <QFontDatabase>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {
QList<Label*> previewLabels(const frmMain& preview)
{
    return preview.lblLetters + preview.lblNumbers + preview.lblSpecial;
}

void allPreviewFacesAre(const frmMain& preview, const QString& face)
{
    for (Label* label : previewLabels(preview))
        QCOMPARE(label->FontName(), face);
}

// Picks an entry of the list as a person does: opens it, moves to the entry, presses Enter.
void pick(ComboBox* list, const QString& entry)
{
    auto* combo = static_cast<QComboBox*>(list->widget());
    const int row = combo->findText(entry);
    QVERIFY(row >= 0);
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QVERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(!view->isVisible());
}
} // namespace

class TestFontSelection : public testing::GuiTest {
    Q_OBJECT
private slots:
    void pickingInTheListSetsAll68InOneHandler()
    {
        const QStringList faces = testing::twoInstalledFaces();
        if (faces.size() < 2)
            QSKIP("Needs two installed faces");
        testing::Program program(usePlatform({faces[0], faces[1], QStringLiteral("Arial")}));
        frmMain& preview = program.preview;
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Arial"));
        // Within one Click every label has changed, letters first: the handler writes them in order.
        QStringList seenDuringClick;
        QObject::connect(
            preview.cboFonts, &Control::Click, preview.cboFonts,
            [&] {
                seenDuringClick = {preview.lblLetters[25]->FontName(), preview.lblSpecial[31]->FontName()};
            },
            Qt::DirectConnection);
        pick(preview.cboFonts, faces[1]);
        QCOMPARE(preview.cboFonts->Text(), faces[1]);
        QCOMPARE(seenDuringClick, (QStringList{faces[1], faces[1]}));
        allPreviewFacesAre(preview, faces[1]);
        for (Label* reference : preview.Label1 + preview.Label3 + preview.Label4)
            QCOMPARE(reference->FontName(), QStringLiteral("Arial"));
    }

    void onlyTheFaceChanges()
    {
        const QStringList faces = testing::twoInstalledFaces();
        if (faces.size() < 2)
            QSKIP("Needs two installed faces");
        testing::Program program(usePlatform({faces[0], faces[1]}));
        frmMain& preview = program.preview;
        Label* letter = preview.lblLetters[22]; // "W": wide in every face
        const float left = letter->Left(), top = letter->Top();
        preview.cboFonts->setListIndex(0);
        const float widthBefore = letter->Width();
        preview.cboFonts->setListIndex(1);
        QCOMPARE(letter->Left(), left);
        QCOMPARE(letter->Top(), top);
        QVERIFY(letter->Width() != widthBefore); // sized to its text in the new face, at once
        QCOMPARE(letter->FontSize(), 12.f);
        QCOMPARE(letter->shownFont().family(), faces[1]);
        QCOMPARE(preview.lblSpecial[0]->shownFont().weight(), QFont::Bold);
        QCOMPARE(preview.lblSpecial[1]->shownFont().weight(), QFont::Normal);
    }

    void dialogChoiceChangesLabelsNotTheList()
    {
        testing::Program program(usePlatform({QStringLiteral("Alpha Face"), QStringLiteral("Arial")}));
        frmMain& preview = program.preview;
        dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 20.f}, [](const testing::DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("Arial"));
            QCOMPARE(call.font.title, QStringLiteral("Select Font Name"));
        });
        preview.mnuChangeFont->action()->trigger();
        allPreviewFacesAre(preview, QStringLiteral("DejaVu Serif"));
        QCOMPARE(preview.lblLetters[0]->FontSize(), 12.f); // the size picked is ignored
        QCOMPARE(preview.lblLetters[0]->FontWeight(), 400);
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Arial"));
        QCOMPARE(preview.CommonDialog1.Flags, 0x10005);
    }

    void dialogCancelled_data()
    {
        QTest::addColumn<bool>("choseInDialogFirst");
        QTest::newRow("after a pick in the list: no change") << false;
        QTest::newRow("after a dialog choice: back to the list's face") << true;
    }
    void dialogCancelled()
    {
        QFETCH(bool, choseInDialogFirst);
        testing::Program program(usePlatform({QStringLiteral("Alpha Face"), QStringLiteral("Arial")}));
        frmMain& preview = program.preview;
        if (choseInDialogFirst) {
            dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 12.f});
            preview.mnuChangeFont_Click();
        }
        // The dialog opens on the list's face, not on the face chosen in it before.
        dialogs().expectFont(std::nullopt, [](const testing::DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("Arial"));
        });
        preview.mnuChangeFont_Click();
        allPreviewFacesAre(preview, QStringLiteral("Arial"));
    }

    void blankOrEmptyAnswerChangesNothing_data()
    {
        QTest::addColumn<QStringList>("fonts");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one blank") << QStringList{"Alpha Face"} << " "
                                   << "Alpha Face";
        QTest::newRow("empty list, cancelled") << QStringList{} << ""
                                               << "Arial";
    }
    void blankOrEmptyAnswerChangesNothing()
    {
        QFETCH(QStringList, fonts);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        testing::Program program(usePlatform(fonts));
        if (answer.isEmpty())
            dialogs().expectFont(std::nullopt);
        else
            dialogs().expectFont(FontChoice{answer, 12.f});
        program.preview.mnuChangeFont_Click();
        allPreviewFacesAre(program.preview, expected);
    }

    // After a face from the dialog, a pick of the entry the list already shows brings the
    // list's face back; so does setting ListIndex to it from code.
    void pickingTheShownEntryAgain_data()
    {
        QTest::addColumn<bool>("byUser");
        QTest::newRow("picked by the user") << true;
        QTest::newRow("ListIndex set from code") << false;
    }
    void pickingTheShownEntryAgain()
    {
        QFETCH(bool, byUser);
        testing::Program program(usePlatform({QStringLiteral("Alpha Face"), QStringLiteral("Arial")}));
        frmMain& preview = program.preview;
        dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 12.f});
        preview.mnuChangeFont_Click();
        allPreviewFacesAre(preview, QStringLiteral("DejaVu Serif"));
        if (byUser)
            pick(preview.cboFonts, QStringLiteral("Arial"));
        else
            preview.cboFonts->setListIndex(preview.cboFonts->ListIndex());
        allPreviewFacesAre(preview, QStringLiteral("Arial"));
    }

    // The machine's own list: each installed family once, by fontconfig's name, and no generic
    // alias (with fonts-urw-base35, whose families come in two formats and from two foundries).
    void theListHoldsInstalledFamiliesOnce()
    {
        QStringList names;
        for (std::int32_t i = 0; i < platform().Screen().FontCount(); ++i)
            names.append(platform().Screen().Fonts(i));
        QVERIFY(!names.isEmpty());
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        for (const QString& name : names)
            QVERIFY2(!name.contains(u'[') && name != u"Serif" && name != u"Sans Serif" && name != u"Monospace",
                     qPrintable(name));
        if (!names.contains(u"Nimbus Sans"_qs))
            QSKIP("Needs fonts-urw-base35");
        frmMain preview(platform());
        preview.lblLetters[0]->setFontName(QStringLiteral("Nimbus Sans"));
        QCOMPARE(preview.lblLetters[0]->shownFont().family(), QStringLiteral("Nimbus Sans"));
        QCOMPARE(QFontInfo(preview.lblLetters[0]->shownFont()).family().section(u" ["_qs, 0, 0), u"Nimbus Sans"_qs);
    }

    void aFaceThatIsNotInstalledShowsItsStandIn()
    {
        // "Arial" is seldom installed on Linux: it is drawn in what fontconfig gives for it.
        const QString family = installedFamilyFor(QStringLiteral("Arial"));
        QVERIFY(!family.isEmpty());
        QVERIFY(QFontDatabase::families().contains(family));
        frmMain preview(platform());
        QCOMPARE(preview.lblLetters[0]->shownFont().family(), family);
    }
};

QTEST_MAIN(TestFontSelection)
#include "tst_fontselection.moc"
