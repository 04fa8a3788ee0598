// The sentence viewer, driven through the Preview window as a person would.
#include "sentence/frmsentence.h"
#include "support/program.h"

#include <QAction>
#include <QLabel>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;

namespace {

const QString kLong = QStringLiteral("The quick brown fox jumps over the lazy dog");

void isCentred(const frmSentence& viewer)
{
    QCOMPARE(viewer.Top(), (Screen::Height() - viewer.Height()) / 2);
    QCOMPARE(viewer.Left(), (Screen::Width() - viewer.Width()) / 2);
}

// Everything of the Preview window a person can see or change.
QStringList previewState(const frmMain& p)
{
    QStringList state{p.cboFonts->Text(), p.lblLetters[0]->FontName(), p.lblLetters[0]->Caption()};
    for (const float value : {p.Left(), p.Top(), p.Width(), p.Height(), p.fraNumbers->Left(), p.fraSpecial->Left()})
        state << QString::number(value);
    for (const bool flag : {p.fraLetters->Visible(), p.fraNumbers->Visible(), p.fraSpecial->Visible(),
                            p.mnuLetters->Checked(), p.mnuNumbers->Checked(), p.mnuSpecial->Checked(),
                            p.cboFonts->Visible(), p.cmdMacRestore->Visible(), p.cmdMacRestore->Default()})
        state << QString::number(flag);
    return state << QString::number(p.blnUpperCase) << QString::number(p.blnMacMin) << QString::number(p.lngSavedHeight);
}

} // namespace

class TestSentence : public testing::GuiTest {
    Q_OBJECT

    // Chooses "&Sentence Viewer..." in the Preview window and answers its two questions.
    frmSentence* open(testing::Program& program, const QString& sentence, std::optional<FontChoice> face)
    {
        dialogs().expectInput(sentence).expectFont(face);
        program.preview.mnuSentence->action()->trigger();
        return program.preview.sentenceViewer();
    }

private slots:
    // The viewer asks first, while nothing is shown, then replaces the Preview window, centred.
    // Every opening starts from the window as built, whatever the one before chose (and the
    // Preview window's own font dialog neither gives nor takes the viewer's face). A question
    // cancelled leaves the sentence empty, or the new line in the window's face.
    void opening_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("face"); // "-": the font dialog is cancelled
        QTest::newRow("both answered") << "Héllo" << "DejaVu Sans";
        QTest::newRow("input box cancelled") << "" << "DejaVu Sans";
        QTest::newRow("font dialog cancelled") << "Hello" << "-";
        QTest::newRow("one-blank face") << "Hello" << " ";
        QTest::newRow("both cancelled") << "" << "-";
    }
    void opening()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, face);
        testing::Program program({QStringLiteral("Arial")});
        frmMain& preview = program.preview;
        open(program, kLong, FontChoice{QStringLiteral("DejaVu Serif"), 12})->mnuClose_Click();
        dialogs().expectFont(FontChoice{QStringLiteral("Liberation Mono"), 12}, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("Arial"));
        });
        preview.mnuChangeFont_Click();
        bool askedWhileNothingShown = false;
        dialogs()
            .expectInput(sentence, [](const DialogCall& call) {
                QCOMPARE(call.prompt, QStringLiteral("Enter the sentence to view"));
                QCOMPARE(call.title, QStringLiteral("Glyvex"));
            })
            .expectFont(face == u"-" ? std::nullopt : std::optional(FontChoice{face, 20}),
                        [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QString()); })
            .then([&] { askedWhileNothingShown = !preview.Visible() && !preview.sentenceViewer()->Visible(); });
        preview.mnuSentence->action()->trigger();
        frmSentence* viewer = preview.sentenceViewer();
        QVERIFY(askedWhileNothingShown);
        QVERIFY(viewer->Visible() && !preview.Visible());
        QCOMPARE(viewer->lblOriginal->Caption(), sentence);
        QCOMPARE(viewer->lblNewSentence->Caption(), sentence);
        QCOMPARE(viewer->lblOriginal->shownFont().family(), installedFamilyFor(QStringLiteral("Arial")));
        const bool applied = face.trimmed().size() > 0 && face != u"-";
        QCOMPARE(viewer->lblNewSentence->FontName(), applied ? face : QStringLiteral("Arial"));
        QCOMPARE(viewer->lblNewSentence->FontSize(), 10.8f); // the size picked is ignored
        QCOMPARE(viewer->lblFont->Caption(), applied ? face : QString());
        QCOMPARE(viewer->lblFont->BorderStyle(), 1); // an empty box when nothing was chosen
        auto* box = static_cast<QLabel*>(viewer->lblFont->widget()); // the name fits inside its box
        QVERIFY(!applied || (box->sizeHint().width() <= box->width() && box->sizeHint().height() <= box->height()));
        if (sentence.isEmpty())
            QCOMPARE(viewer->Width(), 2892.f);
        isCentred(*viewer);
    }

    // After every command, the window moved by the user is centred again at its built height;
    // a cancel keeps the face. A command chosen in the pop-up menu runs the same handler.
    void laterCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // "-": the dialog is cancelled
        QTest::newRow("new sentence cancelled") << "mnuSentence" << "-";
        QTest::newRow("new font cancelled") << "mnuFont" << "-";
        QTest::newRow("new font, one blank") << "mnuFont" << " ";
        QTest::newRow("new font from the pop-up") << "popup" << "DejaVu Sans Mono";
    }
    void laterCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, kLong, FontChoice{QStringLiteral("DejaVu Serif"), 12});
        const float height = viewer->Height();
        viewer->window()->move(viewer->window()->pos() + QPoint(40, 30));
        QCoreApplication::processEvents();
        QVERIFY(viewer->Left() != (Screen::Width() - viewer->Width()) / 2);
        if (command == u"mnuSentence") {
            dialogs().expectInput(QString());
        } else {
            if (command == u"popup")
                dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuFont"));
            const auto check = [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QStringLiteral("DejaVu Serif")); };
            dialogs().expectFont(answer == u"-" ? std::nullopt : std::optional(FontChoice{answer, 12}), check);
        }
        if (command == u"popup")
            viewer->lblOriginal_MouseUp(2, 0, 0, 0);
        else
            viewer->menu(QStringLiteral("mnuFile"))->item(command)->action()->trigger();
        const QString shown = command == u"mnuSentence" ? QString() : kLong;
        const QString face = answer == u"-" || answer == u" " ? QStringLiteral("DejaVu Serif") : answer;
        QCOMPARE(viewer->lblOriginal->Caption(), shown);
        QCOMPARE(viewer->lblNewSentence->Caption(), shown);
        QCOMPARE(viewer->lblNewSentence->FontName(), face);
        QCOMPARE(viewer->lblFont->Caption(), face);
        if (shown.isEmpty())
            QCOMPARE(viewer->Width(), 2892.f);
        QCOMPARE(viewer->Height(), height);
        isCentred(*viewer);
    }

    // The wider sentence line and its margins, but never narrower than the font caption needs;
    // centred even when wider than the screen.
    void widthRule_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<QString>("face");
        QTest::addColumn<QString>("wider"); // the label the width comes from, or "minimum"
        QTest::newRow("short") << "Hi" << "DejaVu Serif" << "minimum";
        QTest::newRow("empty") << "" << "Liberation Mono" << "minimum";
        QTest::newRow("long, wider face") << kLong << "Liberation Mono" << "lblNewSentence";
        QTest::newRow("long, narrower face") << kLong << "Liberation Sans Narrow" << "lblOriginal";
        QTest::newRow("equal widths") << kLong << "Arial" << "lblOriginal";
        QTest::newRow("face name wider than the window")
            << "Hi" << "A face name far wider than this little window could ever be" << "minimum";
        QTest::newRow("wider than the screen") << kLong.repeated(8) << "Arial" << "lblOriginal";
    }
    void widthRule()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, face);
        QFETCH(QString, wider);
        if (face.startsWith(u'L') && !testing::installed(face))
            QSKIP("Needs the face installed");
        testing::Program program({QStringLiteral("Arial")});
        // Opened with the font dialog cancelled; the face comes with "New Font" afterwards, so
        // both the opening and a later command are measured after their changes.
        frmSentence* viewer = open(program, sentence, std::nullopt);
        const float original = viewer->lblOriginal->Width();
        QCOMPARE(viewer->Width(), std::max(2892.f, original + 480));
        dialogs().expectFont(FontChoice{face, 12});
        viewer->mnuFont->action()->trigger();
        const float shown = viewer->lblNewSentence->Width();
        QCOMPARE(viewer->lblOriginal->Width(), original);
        if (wider == QLatin1String("minimum")) {
            QCOMPARE(viewer->Width(), 2892.f);
        } else if (wider == QLatin1String("lblNewSentence")) {
            QVERIFY(shown > original);
            QCOMPARE(viewer->Width(), shown + 480);
        } else {
            QVERIFY(shown <= original);
            QCOMPARE(viewer->Width(), original + 480);
        }
        if (face == QLatin1String("Arial"))
            QCOMPARE(shown, original);
        if (face.size() > 40)
            QVERIFY(viewer->lblFont->Width() > viewer->Width()); // cut off at the edge
        isCentred(*viewer);
    }

    void rightClick_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Qt::MouseButton>("button");
        for (const char* target : {"background", "lblOriginal", "lblNewSentence", "Label1", "lblFont"}) {
            QTest::addRow("%s, right", target) << target << Qt::RightButton;
            QTest::addRow("%s, left", target) << target << Qt::LeftButton;
        }
        QTest::newRow("background, middle") << "background" << Qt::MiddleButton;
    }
    // A right click opens the File menu as a pop-up; another button does nothing.
    void rightClick()
    {
        QFETCH(QString, target);
        QFETCH(Qt::MouseButton, button);
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, QStringLiteral("Hello"), FontChoice{QStringLiteral("DejaVu Serif"), 12});
        QWidget* client = viewer->background()->widget();
        QWidget* widget = target == QLatin1String("background") ? client : client->findChild<QLabel*>(target);
        const QPoint at = widget == client ? QPoint(client->width() - 4, client->height() - 4) : widget->rect().center();
        if (button == Qt::RightButton)
            dialogs().expectPopup(QStringLiteral("mnuFile"));
        QTest::mouseClick(widget, button, {}, at);
    }

    void closingBringsThePreviewBackAsItWas_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("Close") << "menu";
        QTest::newRow("Close in the pop-up") << "popup";
        QTest::newRow("close box") << "close box";
        QTest::newRow("Ctrl+X") << "keys";
    }
    void closingBringsThePreviewBackAsItWas()
    {
        QFETCH(QString, how);
        testing::Program program({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")});
        frmMain& preview = program.preview;
        preview.cboFonts->setListIndex(1);
        for (MenuItem* item : {preview.mnuNumbers, preview.mnuSpecial, preview.mnuLetters, preview.mnuToggleCase, preview.mnuMacMin})
            item->action()->trigger();
        const QStringList before = previewState(preview);
        frmSentence* viewer = open(program, QStringLiteral("Hello"), FontChoice{QStringLiteral("Liberation Mono"), 12});
        QVERIFY(!preview.Visible());
        if (how == QLatin1String("menu")) {
            viewer->mnuClose->action()->trigger();
        } else if (how == QLatin1String("popup")) {
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuClose"));
            viewer->Form_MouseUp(2, 0, 0, 0);
        } else if (how == QLatin1String("close box")) {
            viewer->window()->close();
        } else {
            viewer->window()->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(viewer->window()));
            QTest::keyClick(viewer->window(), Qt::Key_X, Qt::ControlModifier);
        }
        QVERIFY(!viewer->IsLoaded() && !viewer->Visible());
        QVERIFY(preview.Visible() && preview.IsLoaded());
        QCOMPARE(previewState(preview), before);
    }

    // Typed text is shown literally: ampersands are no access keys, markup is no markup.
    void typedTextIsShownAsTyped_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::newRow("accents, CJK, emoji") << QStringLiteral("Ça déjà vu, 永和九年 😀👍🏽");
        QTest::newRow("right to left") << QStringLiteral("שלום עולם مرحبا");
        QTest::newRow("ampersands") << QStringLiteral("Tom & Jerry && co&");
        QTest::newRow("markup") << QStringLiteral("<b>not bold</b>");
    }
    void typedTextIsShownAsTyped()
    {
        QFETCH(QString, sentence);
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, sentence, FontChoice{QStringLiteral("Fonts & Co"), 12});
        for (Label* label : {viewer->lblOriginal, viewer->lblNewSentence})
            QCOMPARE(static_cast<QLabel*>(label->widget())->text(), sentence);
        QCOMPARE(viewer->lblFont->shownText(), QStringLiteral("Fonts & Co"));
        QCOMPARE(viewer->Width(), std::max({2892.f, viewer->lblOriginal->Width() + 480, viewer->lblNewSentence->Width() + 480}));
    }
};

QTEST_MAIN(TestSentence)
#include "tst_sentence.moc"
