// The sentence viewer, driven through the Preview window as a person would.
#include "sentence/frmsentence.h"
#include "support/program.h"

#include <QAction>
#include <QLabel>
#include <QTest>
#include <QWidget>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;

namespace {
const QString kPrompt = QStringLiteral("Enter the sentence to view");
const QString kLong = QStringLiteral("The quick brown fox jumps over the lazy dog");

void isCentred(const frmSentence& viewer)
{
    QCOMPARE(viewer.Top(), (Screen::Height() - viewer.Height()) / 2);
    QCOMPARE(viewer.Left(), (Screen::Width() - viewer.Width()) / 2);
}

// Everything of the Preview window a person can see or change.
QStringList previewState(const frmMain& p)
{
    QStringList state{p.cboFonts->Text(), p.lblLetters[0]->FontName(), p.lblLetters[0]->Caption(), p.Label1[0]->Caption()};
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
    void openingAsksFirstThenShowsItself()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& preview = program.preview;
        bool askedWhileNothingShown = false;
        dialogs()
            .expectInput(QStringLiteral("Héllo"), [](const DialogCall& call) {
                QCOMPARE(call.prompt, kPrompt);
                QCOMPARE(call.title, QStringLiteral("Glyvex"));
            })
            .expectFont(FontChoice{QStringLiteral("DejaVu Serif"), 20.f}, [](const DialogCall& call) {
                QCOMPARE(call.font.initialFace, QString()); // no starting face
                QCOMPARE(call.font.title, QString());       // the dialog's own title
            })
            .then([&] { askedWhileNothingShown = !preview.Visible() && !preview.sentenceViewer()->Visible(); });
        preview.mnuSentence->action()->trigger();
        frmSentence* viewer = preview.sentenceViewer();
        QVERIFY(askedWhileNothingShown);
        QVERIFY(viewer->Visible() && !preview.Visible());
        QCOMPARE(viewer->Caption(), QStringLiteral("Glyvex Sentence Viewer"));
        QCOMPARE(viewer->CommonDialog1.Flags, 0x10005);
        QVERIFY(!(viewer->window()->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(viewer->window()->minimumSize(), viewer->window()->maximumSize());
        QCOMPARE(viewer->lblOriginal->shownFont().family(), installedFamilyFor(QStringLiteral("Arial")));
        QCOMPARE(viewer->lblNewSentence->FontName(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(viewer->lblNewSentence->FontSize(), 10.8f); // the size picked is ignored
        QCOMPARE(viewer->lblNewSentence->FontWeight(), 400);
        QCOMPARE(viewer->lblFont->Caption(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(viewer->lblFont->BorderStyle(), 1);
        auto* box = static_cast<QLabel*>(viewer->lblFont->widget()); // the name fits inside its box
        QVERIFY(box->sizeHint().width() <= box->width() && box->sizeHint().height() <= box->height());
        QCOMPARE(viewer->Height(), frmSentence(preview).Height()); // the height as built
        isCentred(*viewer);
        QStringList items;
        for (MenuItem* item : viewer->mnuFile->items())
            items << item->Caption() + item->Shortcut();
        QCOMPARE(items, (QStringList{"New &Sentence", "New &Font", "-", "&CloseCtrl+X"}));
    }

    void cancelledAtLoad_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::addColumn<bool>("cancelFont");
        QTest::addColumn<QString>("face");
        QTest::newRow("input box cancelled") << "" << false << "DejaVu Serif";
        QTest::newRow("font dialog cancelled") << "Hello" << true << "";
        QTest::newRow("one-blank face") << "Hello" << false << " ";
    }
    void cancelledAtLoad()
    {
        QFETCH(QString, sentence);
        QFETCH(bool, cancelFont);
        QFETCH(QString, face);
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, sentence, cancelFont ? std::nullopt : std::optional(FontChoice{face, 12}));
        QVERIFY(viewer->Visible());
        QCOMPARE(viewer->lblOriginal->Caption(), sentence);
        QCOMPARE(viewer->lblNewSentence->Caption(), sentence);
        const bool applied = !cancelFont && face.trimmed().size() > 0;
        QCOMPARE(viewer->lblNewSentence->FontName(), applied ? face : QStringLiteral("Arial"));
        QCOMPARE(viewer->lblFont->Caption(), applied ? face : QString());
        QCOMPARE(viewer->lblFont->BorderStyle(), 1); // an empty box when nothing was chosen
        if (sentence.isEmpty())
            QCOMPARE(viewer->Width(), 2892.f);
    }

    void cancelledLater_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("answer"); // "-": the dialog is cancelled
        QTest::newRow("new sentence cancelled") << "mnuSentence" << "-";
        QTest::newRow("new font cancelled") << "mnuFont" << "-";
        QTest::newRow("new font, one blank") << "mnuFont" << " ";
    }
    void cancelledLater()
    {
        QFETCH(QString, command);
        QFETCH(QString, answer);
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, kLong, FontChoice{QStringLiteral("DejaVu Serif"), 12});
        if (command == QLatin1String("mnuSentence")) {
            dialogs().expectInput(QString());
        } else {
            const auto check = [](const DialogCall& call) { QCOMPARE(call.font.initialFace, QStringLiteral("DejaVu Serif")); };
            dialogs().expectFont(answer == QLatin1String("-") ? std::nullopt : std::optional(FontChoice{answer, 12}), check);
        }
        viewer->setLeft(0); // moved away: every command centres it again
        viewer->setTop(0);
        viewer->menu(QStringLiteral("mnuFile"))->item(command)->action()->trigger();
        const QString shown = command == QLatin1String("mnuSentence") ? QString() : kLong;
        QCOMPARE(viewer->lblOriginal->Caption(), shown);
        QCOMPARE(viewer->lblNewSentence->Caption(), shown);
        QCOMPARE(viewer->lblNewSentence->FontName(), QStringLiteral("DejaVu Serif")); // the face stays
        QCOMPARE(viewer->lblFont->Caption(), QStringLiteral("DejaVu Serif"));
        if (shown.isEmpty())
            QCOMPARE(viewer->Width(), 2892.f);
        isCentred(*viewer);
    }

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

    void aSentenceWiderThanTheScreenIsNotClamped()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, kLong.repeated(8), std::nullopt);
        QVERIFY(viewer->Width() > Screen::Width());
        QVERIFY(viewer->Left() < 0);
        isCentred(*viewer);
    }

    void aMoveByTheUserIsUndoneByTheNextCommand()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, QStringLiteral("Hello"), std::nullopt);
        const float height = viewer->Height();
        viewer->window()->move(viewer->window()->pos() + QPoint(40, 30));
        QCoreApplication::processEvents();
        QVERIFY(viewer->Left() != (Screen::Width() - viewer->Width()) / 2);
        dialogs().expectInput(kLong);
        viewer->mnuSentence->action()->trigger();
        isCentred(*viewer);
        QCOMPARE(viewer->Height(), height);
    }

    void rightClick_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<Qt::MouseButton>("button");
        for (const char* target : {"background", "lblOriginal", "lblNewSentence", "Label1", "lblFont"}) {
            QTest::addRow("%s, right", target) << target << Qt::RightButton;
            QTest::addRow("%s, left", target) << target << Qt::LeftButton;
            QTest::addRow("%s, middle", target) << target << Qt::MiddleButton;
        }
    }
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

    void aCommandChosenInThePopUpRunsItsHandler()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, kLong, FontChoice{QStringLiteral("DejaVu Serif"), 12});
        dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuFont"));
        dialogs().expectFont(FontChoice{QStringLiteral("DejaVu Sans Mono"), 12}, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("DejaVu Serif")); // the face chosen last
        });
        viewer->setLeft(0);
        viewer->lblOriginal_MouseUp(2, 0, 0, 0);
        QCOMPARE(viewer->lblFont->Caption(), QStringLiteral("DejaVu Sans Mono"));
        QCOMPARE(viewer->lblNewSentence->FontName(), QStringLiteral("DejaVu Sans Mono"));
        isCentred(*viewer);
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
        preview.mnuNumbers->action()->trigger();
        preview.mnuSpecial->action()->trigger();
        preview.mnuLetters->action()->trigger();
        preview.mnuToggleCase->action()->trigger();
        preview.mnuMacMin->action()->trigger();
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

    void aSecondOpeningStartsAfresh()
    {
        testing::Program program({QStringLiteral("Arial")});
        frmMain& preview = program.preview;
        frmSentence* first = open(program, kLong, FontChoice{QStringLiteral("DejaVu Serif"), 12});
        first->mnuClose_Click();
        // The Preview window's own dialog neither gives nor takes the viewer's face.
        dialogs().expectFont(FontChoice{QStringLiteral("Liberation Mono"), 12}, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QStringLiteral("Arial"));
        });
        preview.mnuChangeFont_Click();
        dialogs().expectInput(QString()).expectFont(std::nullopt, [](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QString());
        });
        preview.mnuSentence->action()->trigger();
        frmSentence* second = preview.sentenceViewer();
        QVERIFY(second->Visible());
        QCOMPARE(second->strSentence, QString());
        QCOMPARE(second->lblOriginal->Caption(), QString());
        QCOMPARE(second->lblNewSentence->FontName(), QStringLiteral("Arial"));
        QCOMPARE(second->lblFont->Caption(), QString());
        QCOMPARE(second->Width(), 2892.f);
    }

    void typedTextIsShownAsTyped_data()
    {
        QTest::addColumn<QString>("sentence");
        QTest::newRow("accents") << QStringLiteral("Ça déjà vu, naïve façade");
        QTest::newRow("CJK") << QStringLiteral("永和九年，岁在癸丑");
        QTest::newRow("emoji") << QStringLiteral("Fonts 😀👍🏽 here");
        QTest::newRow("right to left") << QStringLiteral("שלום עולם مرحبا");
        QTest::newRow("ampersands") << QStringLiteral("Tom & Jerry && co&");
        QTest::newRow("markup") << QStringLiteral("<b>not bold</b>");
    }
    void typedTextIsShownAsTyped()
    {
        QFETCH(QString, sentence);
        testing::Program program({QStringLiteral("Arial")});
        frmSentence* viewer = open(program, sentence, FontChoice{QStringLiteral("Fonts & Co"), 12});
        for (Label* label : {viewer->lblOriginal, viewer->lblNewSentence}) {
            QCOMPARE(label->shownText(), sentence);
            QCOMPARE(static_cast<QLabel*>(label->widget())->text(), sentence);
        }
        QCOMPARE(viewer->lblFont->shownText(), QStringLiteral("Fonts & Co"));
        const float wider = std::max(viewer->lblOriginal->Width(), viewer->lblNewSentence->Width());
        QCOMPARE(viewer->Width(), std::max(2892.f, wider + 480));
    }
};

QTEST_MAIN(TestSentence)
#include "tst_sentence.moc"
