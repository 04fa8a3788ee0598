// The sentence viewer, driven through the Preview window as a person would.
#include "sentence/frmsentence.h"
#include "support/labels.h"
#include "support/program.h"

#include <QLabel>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;
using testing::DialogCall;

namespace {

const char* const kLong = "The quick brown fox jumps over the lazy dog";

// The viewer shows the sentence as typed in Arial and in the face chosen last, the face's name in
// a box, each sized to its text, in a centred window as wide as the wider line (or its caption).
void checkViewer(frmSentence& viewer, const QString& sentence, const QString& face)
{
    QCoreApplication::sendPostedEvents();
    for (Label* label : {viewer.lblOriginal, viewer.lblNewSentence, viewer.lblFont}) {
        QCOMPARE(testing::shownText(label), label == viewer.lblFont ? face : sentence);
        QVERIFY2(testing::fitsItsText(label), qPrintable(label->objectName()));
    }
    QCOMPARE(static_cast<QLabel*>(viewer.lblFont->widget())->frameShape(), QFrame::Box);
    FontSource& fonts = viewer.platform().fonts();
    QCOMPARE(testing::shownFont(viewer.lblOriginal).family(), fonts.familyFor(QStringLiteral("Arial")));
    QCOMPARE(testing::shownFont(viewer.lblNewSentence).family(), fonts.familyFor(face.isEmpty() ? u"Arial"_qs : face));
    QCOMPARE(float(testing::shownFont(viewer.lblNewSentence).pointSizeF()), 10.8f);
    QCOMPARE(viewer.Width(),
             std::max({2892.f, viewer.lblOriginal->Width() + 480, viewer.lblNewSentence->Width() + 480}));
    QCOMPARE(QPointF(viewer.Left(), viewer.Top()),
             QPointF(viewer.Screen().Width() - viewer.Width(), viewer.Screen().Height() - viewer.Height()) / 2);
}

} // namespace

class TestSentence : public testing::GuiTest {
    Q_OBJECT
private slots:
    // Opened after a face was chosen in the Preview window, it asks while nothing is shown, then
    // replaces that window. A command (menu or right-click pop-up) centres the moved window again;
    // closing brings the Preview window back as it was.
    void viewer_data()
    {
        for (const char* column : {"sentence", "face", "command", "answer"}) // "-": cancelled
            QTest::addColumn<QString>(column);
        for (auto [row, sentence, face, command, answer] :
             {std::tuple{"new sentence cancelled", kLong, "DejaVu Sans", "mnuSentence", ""},
              {"text shown literally", "Tom & <b>Jerry</b> Ça 永和 😀&", "Fonts & Co", "mnuSentence", "Hi"},
              {"input box cancelled", "", "DejaVu Sans", "mnuFont", "DejaVu Sans Mono"},
              {"font dialog cancelled, twice", "Hello", "-", "mnuFont", "-"},
              {"one-blank face, twice", "Hello", " ", "mnuFont", " "},
              {"wider face", kLong, "DejaVu Serif", "mnuFont", "Liberation Mono"},
              {"narrower face", kLong, "DejaVu Serif", "mnuFont", "Liberation Sans Narrow"}})
            QTest::newRow(row) << sentence << face << command << answer;
        for (const char* target : {"frmSentence", "lblOriginal", "lblNewSentence", "Label1", "lblFont"})
            QTest::addRow("pop-up on %s", target) << kLong << "DejaVu Serif" << target << "Arial";
    }
    void viewer()
    {
        QFETCH(QString, sentence);
        QFETCH(QString, face);
        QFETCH(QString, command);
        QFETCH(QString, answer);
        const auto font = [](const QString& name) { // "-": the dialog is cancelled
            return name == u"-" ? std::nullopt : std::optional(FontChoice{name, 20});
        };
        testing::Program program(usePlatform({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")}));
        frmMain& preview = program.preview;
        dialogs().expectInput(u"Before"_qs).expectFont(font(u"DejaVu Sans"_qs)).expectFont(font(u"DejaVu Serif"_qs));
        testing::choose(preview, "mnuSentence");
        testing::choose(*preview.findChild<frmSentence*>(), "mnuClose");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed viewer goes
        testing::choose(preview, "mnuChangeFont");
        QCoreApplication::sendPostedEvents();
        const QImage before = preview.window()->grab().toImage();

        bool askedWhileNothingShown = false;
        dialogs().expectInput(sentence).expectFont(font(face), [&](const DialogCall& call) {
            QCOMPARE(call.font.initialFace, QString());
            askedWhileNothingShown
                = !testing::visible(preview) && !testing::visible(*preview.findChild<frmSentence*>());
        });
        testing::choose(preview, "mnuSentence");
        frmSentence* viewer = preview.findChild<frmSentence*>();
        QVERIFY(askedWhileNothingShown && testing::visible(*viewer) && !testing::visible(preview));
        const QString opened = face.trimmed().isEmpty() || face == u"-" ? QString() : face;
        checkViewer(*viewer, sentence, opened);

        viewer->window()->move(viewer->window()->pos() + QPoint(40, 30));
        QCoreApplication::processEvents();
        if (command == u"mnuSentence")
            dialogs().expectInput(answer);
        else if (!command.startsWith(u"mnu"))
            dialogs().expectPopup(QStringLiteral("mnuFile"), QStringLiteral("mnuFont"));
        if (command != u"mnuSentence")
            dialogs().expectFont(font(answer), [&](const DialogCall& call) {
                QCOMPARE(call.font.initialFace, face == u"-" ? QString() : face);
            });
        if (command.startsWith(u"mnu"))
            testing::choose(*viewer, qPrintable(command));
        else // a right click anywhere in the window
            QTest::mouseClick(viewer->window()->findChild<QWidget*>(command), Qt::RightButton, {}, QPoint(2, 2));
        const bool newFace = command != u"mnuSentence" && !answer.trimmed().isEmpty() && answer != u"-";
        checkViewer(*viewer, command == u"mnuSentence" ? answer : sentence, newFace ? answer : opened);

        viewer->window()->close(); // the close box (Ctrl+X in a real session: check_e2e.sh)
        QVERIFY(!viewer->IsLoaded() && !testing::visible(*viewer) && testing::visible(preview));
        QCOMPARE(preview.window()->grab().toImage(), before);
    }
};

QTEST_MAIN(TestSentence)
#include "tst_sentence.moc"
