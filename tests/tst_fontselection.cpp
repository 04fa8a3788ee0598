// Choosing the preview face from the list and from the font dialog.
#include "platform/collation.h"
#include "platform/toolkit.h"
#include "sentence/frmsentence.h"
#include "support/files.h"
#include "support/labels.h"
#include "support/program.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFontDatabase>
#include <QLineEdit>
#include <QMimeData>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

using namespace glyvex;
using namespace glyvex::platform;

namespace {
// All 68 preview labels drawn in the face (or in what stands in for it).
void allPreviewFacesAre(const frmMain& preview, const QString& face)
{
    const QString family = preview.platform().fonts().familyFor(face);
    for (const auto* labels : {&preview.lblLetters, &preview.lblNumbers, &preview.lblSpecial})
        for (Label* label : *labels)
            QCOMPARE(testing::shownFont(label).family(), family);
}

// Picks an entry as a screen reader's user does: the list's "show menu" action, the entry, Enter.
void pick(ComboBox* list, const QString& entry)
{
    auto* combo = static_cast<QComboBox*>(list->widget());
    const int row = combo->findText(entry);
    QVERIFY(row >= 0);
    QAccessible::queryAccessibleInterface(combo)->actionInterface()->doAction(
        QAccessibleActionInterface::showMenuAction());
    QAbstractItemView* view = combo->view();
    QVERIFY(view->isVisible());
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QVERIFY(!view->isVisible());
}
// What a screen reader says of a control.
QString spoken(const Control* control, QAccessible::Text text = QAccessible::Name)
{
    QCoreApplication::sendPostedEvents();
    return QAccessible::queryAccessibleInterface(control->widget())->text(text);
}
} // namespace

class TestFontSelection : public testing::GuiTest {
    Q_OBJECT
private slots:
    // A pick in the list gives all 68 preview labels its face; the place, the size and the bold
    // stay, the box fits the new letter. A screen reader tells a character's two labels apart.
    void pickingInTheList()
    {
        const QStringList faces = testing::twoInstalledFaces();
        if (faces.size() < 2)
            QSKIP("Needs two installed faces");
        testing::Program program(usePlatform({faces[0], faces[1], QStringLiteral("Arial")}));
        frmMain& preview = program.preview;
        QCOMPARE(preview.cboFonts->Text(), QStringLiteral("Arial"));
        Label* letter = preview.lblLetters[22]; // "W": wide in every face
        const QRectF before(letter->Left(), letter->Top(), letter->Width(), letter->Height());
        pick(preview.cboFonts, faces[1]);
        QCOMPARE(spoken(preview.lblLetters[0]) + u", "_qs + spoken(preview.Label1[0]),
                 u"A in %1, A in Arial"_qs.arg(faces[1]));
        QCOMPARE(spoken(preview.cboFonts) + u'=' + spoken(preview.cboFonts, QAccessible::Value),
                 u"Select Font="_qs + faces[1]);
        allPreviewFacesAre(preview, faces[1]);
        QCOMPARE(QPointF(letter->Left(), letter->Top()), before.topLeft());
        QVERIFY(letter->Width() != before.width());
        QCOMPARE(testing::shownFont(letter).family(), faces[1]);
        QCOMPARE(testing::shownFont(letter).pointSizeF(), 12.);
        QVERIFY(testing::shownFont(preview.lblSpecial[0]).bold() && !testing::shownFont(preview.lblSpecial[1]).bold());
    }

    // "&Change Font..." opens on the list's face; a face chosen there goes to the preview labels at
    // 12 points, not to the list; a cancel or a blank brings the list's face back or changes
    // nothing; picking the entry the list shows again brings the list's face back.
    void changeFont_data()
    {
        QTest::addColumn<QStringList>("fonts");
        QTest::addColumn<QStringList>("answers"); // in the dialog, in turn: "-" cancels
        QTest::addColumn<bool>("pickAgain"); // afterwards, the entry the list shows
        QTest::addColumn<QString>("expected");
        const QStringList two{"Alpha Face", "Arial"};
        for (const auto& [row, fonts, answers, then, expected] :
             {std::tuple{"a face chosen", two, QStringList{"DejaVu Serif"}, false, "DejaVu Serif"},
              {"cancelled after a choice", two, QStringList{"DejaVu Serif", "-"}, false, "Arial"},
              {"one blank", QStringList{"Alpha Face"}, QStringList{" "}, false, "Alpha Face"},
              {"empty list, cancelled", QStringList{}, QStringList{"-"}, false, "Arial"},
              {"shown entry picked again", two, QStringList{"DejaVu Serif"}, true, "Arial"}})
            QTest::newRow(row) << fonts << answers << then << QString::fromLatin1(expected);
    }
    void changeFont()
    {
        QFETCH(QStringList, fonts);
        QFETCH(QStringList, answers);
        QFETCH(bool, pickAgain);
        QFETCH(QString, expected);
        testing::Program program(usePlatform(fonts));
        frmMain& preview = program.preview;
        const QString listFace = preview.cboFonts->Text();
        for (const QString& answer : answers) {
            const auto choice = answer == u"-" ? std::nullopt : std::optional(FontChoice{answer, 20.f});
            dialogs().expectFont(choice, [&](const testing::DialogCall& call) {
                QCOMPARE(call.font.initialFace, listFace);
                QCOMPARE(call.font.title, QStringLiteral("Select Font Name"));
            });
            testing::choose(preview, "mnuChangeFont");
        }
        if (pickAgain)
            pick(preview.cboFonts, listFace);
        allPreviewFacesAre(preview, expected);
        QCOMPARE(testing::shownFont(preview.lblLetters[0]).pointSizeF(), 12.);
        QCOMPARE(preview.cboFonts->Text(), listFace);
    }

    // A face is drawn with its own glyphs only, in the preview and in the sentence viewer's line in
    // the chosen face: a face of capitals alone shows every small letter as its own missing-character
    // box (the same for each, so "ab" looks like "ba"), not another face's letters; a symbol face
    // keeps its symbols at the letters' codes.
    void ownGlyphsOnly_data()
    {
        QTest::addColumn<QString>("face");
        QTest::addColumn<bool>("boxes");
        QTest::newRow("capitals only") << "Glyvex Capitals" << true;
        QTest::newRow("symbols") << "D050000L" << false;
    }
    void ownGlyphsOnly()
    {
        QFETCH(QString, face);
        QFETCH(bool, boxes);
        usePlatform({face}).fonts().addFile(QStringLiteral(GLYVEX_TEST_FONTS "/capitals.ttf"));
        testing::Program program(platform());
        frmMain& preview = program.preview;
        testing::choose(preview, "mnuToggleCase");
        const auto image = [](Control* c) { return (void)c->Width(), c->widget()->grab().toImage(); }; // changes in
        QCOMPARE(testing::shownFont(preview.lblLetters[0]).family(), face);
        const QImage a = image(preview.lblLetters[0]);
        QVERIFY(a.width() > 1 && image(preview.Label1[0]) != a);
        const auto same = std::count_if(preview.lblLetters.begin(), preview.lblLetters.end(),
                                        [&](Label* letter) { return image(letter) == a; });
        QCOMPARE(same == 26, boxes);

        dialogs().expectInput(u"ab"_qs).expectFont(FontChoice{face, 12}).expectInput(u"ba"_qs);
        testing::choose(preview, "mnuSentence");
        frmSentence& viewer = *preview.findChild<frmSentence*>();
        const QImage ab = image(viewer.lblNewSentence);
        testing::choose(viewer, "mnuSentence");
        QCOMPARE(image(viewer.lblNewSentence) == ab, boxes);
    }

    // Font files given to the program, or dropped on its window, join the list in their sorted
    // places (each face of a collection, each kind of font file) and the first face is shown as if
    // picked. A file that cannot be opened is named with its reason in one message box with the
    // others; the rest are opened all the same.
    void openingFontFiles_data()
    {
        QTest::addColumn<QStringList>("files"); // from the test fonts, or made here
        QTest::addColumn<QStringList>("added"); // the families new in the list
        QTest::addColumn<QString>("refused"); // the reasons given, in order, a line each
        QTest::addColumn<bool>("dropped");
        const QStringList twins{"Glyvex Twin One", "Glyvex Twin Two"};
        QTest::newRow("a collection") << QStringList{"twins.ttc"} << twins << "" << false;
        QTest::newRow("a collection dropped") << QStringList{"twins.ttc"} << twins << "" << true;
        QTest::newRow("every kind") << QStringList{"formats/opentype.otf", "formats/web.woff", "formats/web.woff2",
                                                   "formats/type1.pfb", "formats/truetype.ttf"}
                                    << QStringList{"Glyvex OpenType", "Glyvex WOFF", "Glyvex WOFF2", "Glyvex Type One",
                                                   "Glyvex TrueType"}
                                    << "" << false;
        QTest::newRow("no fonts among them")
            << QStringList{"random.ttf", "empty.ttf",   "cut.ttf",    "damaged.ttf", "folder",
                           "pipe",       "missing.ttf", "locked.ttf", "serif.ttf"}
            << QStringList{"Glyvex Serif"}
            << "not a font file\nempty\n(damaged|not a font file)\nglyph of \"A\"\nfolder\nnot a regular file\n"
               "No such file\nPermission denied"
            << true;
    }
    void openingFontFiles()
    {
        QFETCH(QStringList, files);
        QFETCH(QStringList, added);
        QFETCH(QString, refused);
        QFETCH(bool, dropped);
        QTemporaryDir dir;
        const QString fonts = QStringLiteral(GLYVEX_TEST_FONTS "/");
        const QByteArray serif = testing::readFile(fonts + u"serif.ttf"_qs);
        for (const auto& [name, content] : {std::pair{"random.ttf", QByteArray(5000, '\x5a')},
                                            {"empty.ttf", {}},
                                            {"cut.ttf", serif.left(serif.size() / 3)},
                                            {"locked.ttf", serif}})
            QVERIFY(testing::writeFile(dir.filePath(QString::fromLatin1(name)), content));
        QVERIFY(QDir(dir.path()).mkdir(u"folder"_qs) && ::mkfifo(qPrintable(dir.filePath(u"pipe"_qs)), 0600) == 0
                && QFile::setPermissions(dir.filePath(u"locked.ttf"_qs), {}));
        QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther);
        for (QString& file : files)
            file = QFile::exists(fonts + file) ? fonts + file : dir.filePath(file);
        testing::Program program(usePlatform({u"Arial"_qs, u"Zapf"_qs}));
        frmMain& preview = program.preview;
        if (!refused.isEmpty())
            dialogs().expectMessage([&](const testing::DialogCall& call) {
                QCOMPARE(call.title, u"Glyvex"_qs);
                const QStringList lines = call.prompt.split(u'\n').mid(2);
                const QStringList reasons = refused.split(u'\n');
                QCOMPARE(lines.size(), reasons.size());
                for (qsizetype i = 0; i < lines.size(); ++i)
                    QVERIFY2(lines[i].contains(QRegularExpression(reasons[i])) && lines[i].contains(files[i]),
                             qPrintable(lines[i]));
            });
        const testing::AnotherUser nobody(true); // locked.ttf is unreadable, also to root
        if (dropped) {
            QMimeData data;
            for (const QString& file : files)
                data.setUrls(data.urls() << QUrl::fromLocalFile(file));
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(preview.window(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(preview.window(), &drop);
        } else {
            preview.openFontFiles(files);
        }
        QStringList listed;
        for (std::int32_t i = 0; i < preview.cboFonts->ListCount(); ++i)
            listed.append(preview.cboFonts->List(i));
        QCOMPARE(listed, platform::sortedForPeople(QStringList{u"Arial"_qs, u"Zapf"_qs} + added));
        QCOMPARE(preview.cboFonts->Text(), added.first());
        allPreviewFacesAre(preview, added.first());
    }

    // The real font dialog offers the installed families by the list's names and returns one of
    // them: typed in another case, or the face it opened on, with a size typed to a tenth of a point.
    // A name no family has, or no size, is not taken (Enter does nothing; Esc cancels).
    void realFontDialog_data()
    {
        for (const char* column : {"preset", "typedFace", "typedSize", "face"}) // face: "" none chosen
            QTest::addColumn<QString>(column);
        QTest::addColumn<float>("size");
        for (const auto& [row, preset, face, size, chosen, points] :
             {std::tuple{"typed in another case", "", "c059", "", "C059", 12.f},
              {"opened on a two-foundry face", "Z003", "", "", "Z003", 12.f},
              {"a size with a decimal", "P052", "", "10.8", "P052", 10.8f},
              {"a name no family has", "", "C059 [urw]", "", "", 0.f},
              {"no size", "P052", "", "0", "", 0.f}})
            QTest::newRow(row) << QString(preset) << QString(face) << QString(size) << QString(chosen) << points;
    }
    void realFontDialog()
    {
        QFETCH(QString, preset);
        QFETCH(QString, typedFace);
        QFETCH(QString, typedSize);
        QFETCH(QString, face);
        QFETCH(float, size);
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog);
            for (const auto& [field, text] : {std::pair{"family", typedFace}, {"fontSize", typedSize}}) {
                auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(field));
                if (!text.isEmpty())
                    edit->selectAll(), QTest::keyClicks(edit, text);
            }
            QTest::keyClick(dialog->findChild<QLineEdit*>(u"family"_qs), Qt::Key_Return);
            if (dialog->isVisible())
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        const auto chosen = qtDialogs()->chooseFont(nullptr, {u"Select Font"_qs, preset, 12, FontSource().families()});
        QCOMPARE(chosen ? chosen->face : QString(), face);
        QCOMPARE(chosen ? chosen->size : 0.f, size);
    }

    // The machine's own list: each installed family once, by fontconfig's name, and no generic
    // alias (fonts-urw-base35's families come in two formats and from two foundries). "Arial",
    // seldom installed on Linux, is drawn in what fontconfig gives for it.
    void theListHoldsInstalledFamiliesOnce()
    {
        const QStringList names = FontSource().families();
        QCOMPARE(QSet<QString>(names.begin(), names.end()).size(), names.size());
        QVERIFY(names.contains(u"C059"_qs)
                && names.filter(QRegularExpression(u"\\[|^(Sans Serif|Serif|Monospace)$"_qs)).isEmpty());
        QVERIFY(QFontDatabase::families().contains(testing::shownFont(frmMain(platform()).lblLetters[0]).family()));
    }
};

QTEST_MAIN(TestFontSelection)
#include "tst_fontselection.moc"
