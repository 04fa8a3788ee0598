// The sentence viewer, driven through the Preview window as a person would.
#include "platform/twips.h"
#include "sentence/frmsentence.h"
#include "support/labels.h"
#include "support/program.h"

#include <QLabel>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;

namespace {

const QString kLong = QStringLiteral("The quick brown fox jumps over the lazy dog");

std::optional<FontChoice> fontAnswer(const QString& face) // "-": the dialog is cancelled
{
    return face == u"-" ? std::nullopt : std::optional(FontChoice{face, 20});
}

// What the viewer shows: the sentence as typed, in Arial and in the face chosen last (at the
// window's size), the face's name in a box, every line sized to its text; the window as wide
// as the wider line and its margins, never narrower than the caption needs, at its built
// height and centred, half twips kept.
void checkViewer(frmSentence& viewer, const QString& sentence, const QString& face)
{
    QCoreApplication::sendPostedEvents();
    for (Label* label : {viewer.lblOriginal, viewer.lblNewSentence})
        QCOMPARE(static_cast<QLabel*>(label->widget())->text(), sentence);
    QCOMPARE(viewer.lblOriginal->shownFont().family(), installedFamilyFor(QStringLiteral("Arial")));
    QCOMPARE(viewer.lblNewSentence->FontName(), face.isEmpty() ? QStringLiteral("Arial") : face);
    QCOMPARE(viewer.lblNewSentence->FontSize(), 10.8f);
    QCOMPARE(static_cast<QLabel*>(viewer.lblFont->widget())->text(), face);
    QCOMPARE(static_cast<QLabel*>(viewer.lblFont->widget())->frameShape(), QFrame::Box);
    for (Label* label : {viewer.lblOriginal, viewer.lblNewSentence, viewer.lblFont})
        QVERIFY2(testing::fitsItsText(label), qPrintable(label->Name()));
    QCOMPARE(viewer.Width(),
             std::max({2892.f, viewer.lblOriginal->Width() + 480, viewer.lblNewSentence->Width() + 480}));
    QCOMPARE(viewer.window()->height(),
             toPixelsY(frmSentence(static_cast<Form&>(viewer)).Height())); // as built, frame around it
    QCOMPARE(viewer.Top(), (viewer.Screen().Height() - viewer.Height()) / 2);
    QCOMPARE(viewer.Left(), (viewer.Screen().Width() - viewer.Width()) / 2);
}

} // namespace

class TestSentence : public testing::GuiTest {
    Q_OBJECT

    // Chooses "&Sentence Viewer..." in the Preview window and answers its two questions.
    frmSentence* open(testing::Program& program, const QString& sentence, const QString& face)
    {
        dialogs().expectInput(sentence).expectFont(fontAnswer(face));
        program.preview.mnuSentence->action()->trigger();
        return program.preview.sentenceViewer();
    }

private slots:
    // The viewer asks first, while nothing is shown, then replaces the Preview window. Every
    // opening starts from the window as built, whatever the one before chose, and the Preview
    // window's own font dialog neither gives nor takes the viewer's face. Typed text is shown
    // literally: ampersands are no access keys, markup is no markup.
    void opening_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("face");
        QTest::newRow("both answered") << "Héllo"
                                       << "DejaVu Sans";
        QTest::newRow("input box cancelled") << ""
                                             << "DejaVu Sans";
        QTest::newRow("font dialog cancelled") << "Hello"
                                               << "-";
        QTest::newRow("one-blank face") << "Hello"
                                        << " ";
        QTest::newRow("both cancelled") << ""
                                        << "-";
        QTest::newRow("accents, CJK, emoji") << "Ça déjà vu, 永和九年 😀👍🏽"
                                             << "DejaVu Sans";
        QTest::newRow("right to left") << "שלום עולם مرحبا"
                                       << "DejaVu Sans";
        QTest::newRow("ampersands") << "Tom & Jerry && co&"
                                    << "Fonts & Co";
        QTest::newRow("markup") << "<b>not bold</b>"
                                << "DejaVu Sans";
    }
    void opening()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, face);
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmMain& preview = program.preview;
        open(program, kLong, QStringLiteral("DejaVu Serif"))->mnuClose_Click();
        dialogs().expectFont(FontChoice{QStringLiteral("Liberation Mono"), 12},
                             [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QStringLiteral("Arial")); });
        preview.mnuChangeFont_Click();
        bool askedWhileNothingShown = false;
        dialogs()
            .expectInput(sentence,
                         [](const DialogCall& call) {
                             QCOMPARE(call.prompt, QStringLiteral("Enter the sentence to view"));
                             QCOMPARE(call.title, QStringLiteral("Glyvex"));
                         })
            .expectFont(fontAnswer(face), [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QString()); })
            .then([&] { askedWhileNothingShown = !preview.Visible() && !preview.sentenceViewer()->Visible(); });
        preview.mnuSentence->action()->trigger();
        frmSentence* viewer = preview.sentenceViewer();
        QVERIFY(askedWhileNothingShown);
        QVERIFY(viewer->Visible() && !preview.Visible());
        checkViewer(*viewer, sentence, face.trimmed().isEmpty() || face == u"-" ? QString() : face);
    }

    // After a command, the window the user moved is centred again; a cancel keeps the face. A
    // right click anywhere opens the File menu as a pop-up, whose commands are the same. The rows from "wider face" on
    // take either line's width, or the narrowest, or more than the screen.
    void laterCommands_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // "-": the dialog is cancelled
        QTest::newRow("new sentence cancelled") << kLong << "mnuSentence"
                                                << "";
        QTest::newRow("new sentence") << kLong << "mnuSentence"
                                      << "Hi";
        QTest::newRow("new font cancelled") << kLong << "mnuFont"
                                            << "-";
        QTest::newRow("new font, one blank") << kLong << "mnuFont"
                                             << " ";
        for (const char* target : {"frmSentence", "lblOriginal", "lblNewSentence", "Label1", "lblFont"})
            QTest::addRow("new font from the pop-up on %s", target) << kLong << target << "DejaVu Sans Mono";
        QTest::newRow("wider face") << kLong << "mnuFont"
                                    << "Liberation Mono";
        QTest::newRow("narrower face") << kLong << "mnuFont"
                                       << "Liberation Sans Narrow";
        QTest::newRow("equal widths") << kLong << "mnuFont"
                                      << "Arial";
        QTest::newRow("short") << "Hi"
                               << "mnuFont"
                               << "Liberation Mono";
        QTest::newRow("face name wider than the window") << "Hi"
                                                         << "mnuFont" << QString(60, u'W');
        QTest::newRow("wider than the screen") << kLong.repeated(8) << "mnuFont"
                                               << "Arial";
    }
    void laterCommands()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, command);
        QFETCH(QString, answer);
        if (answer.startsWith(u'L') && !testing::installed(answer))
            QSKIP("Needs the face installed");
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
        frmSentence* viewer = open(program, sentence, QStringLiteral("DejaVu Serif"));
        viewer->window()->move(viewer->window()->pos() + QPoint(40, 30));
        QCoreApplication::processEvents();
        QVERIFY(viewer->Left() != (platform().Screen().Width() - viewer->Width()) / 2);
        const bool popup = !command.startsWith(u"mnu");
        if (command == u"mnuSentence") {
            dialogs().expectInput(answer);
        } else {
            if (popup)
                dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuFont"));
            const auto check
                = [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QStringLiteral("DejaVu Serif")); };
            dialogs().expectFont(fontAnswer(answer), check);
        }
        if (popup) // a right click anywhere in the window
            QTest::mouseClick(viewer->window()->findChild<QWidget*>(command), Qt::RightButton, {}, QPoint(2, 2));
        else
            viewer->menu(QStringLiteral("mnuFile"))->item(command)->action()->trigger();
        const bool newFace = command != u"mnuSentence" && answer != u"-" && answer != u" ";
        checkViewer(*viewer, command == u"mnuSentence" ? answer : sentence,
                    newFace ? answer : QStringLiteral("DejaVu Serif"));
        if (answer == u"Arial")
            QCOMPARE(viewer->lblNewSentence->Width(), viewer->lblOriginal->Width());
    }

    // Every way of closing brings the Preview window back exactly as it was left.
    void closing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close") << "menu";
        QTest::newRow("Close in the pop-up") << "popup";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Ctrl+X") << "keys";
    }
    void closing()
    {
        QFETCH(QString, how);
        testing::Program program(usePlatform({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")}));
        frmMain& preview = program.preview;
        preview.cboFonts->setListIndex(1);
        for (MenuItem* item :
             {preview.mnuNumbers, preview.mnuSpecial, preview.mnuLetters, preview.mnuToggleCase, preview.mnuMacMin})
            item->action()->trigger();
        const auto state = [&] {
            return std::tuple{preview.window()->grab().toImage(), preview.Left(), preview.Top(), preview.Width(),
                              preview.Height()};
        };
        const auto before = state();
        frmSentence* viewer = open(program, QStringLiteral("Hello"), QStringLiteral("Liberation Mono"));
        QVERIFY(!preview.Visible());
        if (how == u"menu") {
            viewer->mnuClose->action()->trigger();
        } else if (how == u"popup") {
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuClose"));
            QTest::mouseClick(viewer->background()->widget(), Qt::RightButton, {}, QPoint(2, 2));
        } else if (how == u"close box") {
            viewer->window()->close();
        } else {
            viewer->window()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(viewer->window()));
            QTest::keyClick(viewer->window(), Qt::Key_X, Qt::ControlModifier);
        }
        QVERIFY(!viewer->IsLoaded() && !viewer->Visible());
        QVERIFY(preview.Visible() && preview.IsLoaded());
        QVERIFY(state() == before);
    }
};

QTEST_MAIN(TestSentence)
#include "tst_sentence.moc"
