// The README and About windows; and what every window shares: a fixed size where it has a
// fixed border, labels that size themselves to their text, and controls a screen reader can
// name and the keyboard can reach.
#include "convert/frmdocconvert.h"
#include "info/addresses.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "platform/richtextbox.h"
#include "platform/textview.h"
#include "sentence/frmsentence.h"
#include "support/files.h"
#include "support/labels.h"
#include "support/program.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

void expectNotFoundMessage(testing::ScriptedDialogs& dialogs)
{
    dialogs.expectMessage([](const testing::DialogCall& call) {
        QCOMPARE(call.title, QStringLiteral("README.txt Not Found"));
        QVERIFY(call.style == MsgBoxStyle::Critical
                && call.prompt.endsWith(u"README.txt with fonts, please contact "_qs + info::kEmail));
    });
}

// What a screen reader and the keyboard get of a window: every control is named by what it shows,
// buttons are reached with Tab. The faults found.
QStringList accessFaults(QWidget* window)
{
    QStringList faults;
    for (Control* control : window->findChildren<Control*>()) {
        QWidget* w = control->widget();
        auto* label = qobject_cast<Label*>(control);
        auto* button = qobject_cast<Button*>(control);
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed();
        const QString shown = label ? testing::shownText(label)
            : button                ? Label::stripAccessKeys(static_cast<QPushButton*>(w)->text())
                                    : QString();
        if (name.isEmpty() || !name.startsWith(shown))
            faults << QStringLiteral("%1: called \"%2\", shows \"%3\"").arg(control->objectName(), name, shown);
        if (button && !(w->focusPolicy() & Qt::TabFocus))
            faults << control->objectName() + QStringLiteral(": not reached with Tab");
    }
    return faults;
}

} // namespace

class TestInfoWindows : public testing::GuiTest {
    Q_OBJECT
private slots:
    // Modal over the Preview window, the button focused; other keys do nothing, Enter (and Esc
    // for About) closes it, but not Enter in the README's text. Each opening starts afresh: the
    // link blue again, red under the pointer and opened by a click, then by Tab and space; the
    // README first without the file, then with it (RTF markup, shown raw).
    void closesOnKeys_data()
    {
        QTest::addColumn<bool>("about");
        QTest::addColumn<Qt::Key>("key");
        QTest::newRow("About, Enter") << true << Qt::Key_Return;
        QTest::newRow("About, keypad Enter") << true << Qt::Key_Enter;
        QTest::newRow("About, Esc") << true << Qt::Key_Escape;
        QTest::newRow("README, Enter") << false << Qt::Key_Return;
    }
    void closesOnKeys()
    {
        QFETCH(bool, about);
        QFETCH(Qt::Key, key);
        const QString markup = u"{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hi \\b bold\\b0\\par}\r\n"_qs;
        QTemporaryDir directory;
        testing::Program program(usePlatform({QStringLiteral("Arial")}, directory.path()));
        frmMain& preview = program.preview;
        if (!about)
            expectNotFoundMessage(dialogs());
        for (int opening = 0; opening < 2; ++opening) {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the last opening's window goes
            testing::choose(preview, about ? "mnuAbout" : "mnuReadMe");
            Form& form = *preview.findChild<Form*>(about ? u"frmAbout"_qs : u"frmReadMe"_qs);
            QCOMPARE(form.window()->parentWidget(), preview.window());
            QCOMPARE(QApplication::activeModalWidget(), form.window());
            QVERIFY(QTest::qWaitForWindowActive(form.window()));
            QWidget* window = form.window();
            QVERIFY(window->focusWidget() && window->focusWidget()->objectName() == u"cmdOK");
            QTest::keyClick(window->focusWidget(), Qt::Key_A);
            QVERIFY(testing::visible(form));
            if (about) {
                Label& link = *static_cast<frmAbout&>(form).lblWebPage;
                QCOMPARE(testing::shownColor(&link), QColor(0, 0, 255));
                dialogs().expectUrl(opening == 0,
                                    [](const testing::DialogCall& call) { QCOMPARE(call.url, QUrl(info::kWebPage)); });
                if (opening == 0) {
                    const QPoint centre = link.widget()->rect().center();
                    QMouseEvent move(QEvent::MouseMove, centre, link.widget()->mapToGlobal(centre), Qt::NoButton,
                                     Qt::NoButton, Qt::NoModifier);
                    QApplication::sendEvent(link.widget(), &move); // straight to the link: the offscreen
                                                                   // platform hands moves to the first window
                    QTest::mouseClick(link.widget(), Qt::LeftButton);
                    QCOMPARE(testing::shownColor(&link), QColor(255, 0, 0));
                } else {
                    QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
                    QCOMPARE(window->focusWidget(), link.widget());
                    QTest::keyClick(link.widget(), Qt::Key_Space);
                }
            } else {
                const frmReadMe& readMe = static_cast<frmReadMe&>(form);
                QTest::keyClick(readMe.rtfReadMe->view(), key); // in the text: stays open
                QVERIFY(testing::visible(form));
                QCOMPARE(readMe.lblNotFound->Visible(), opening == 0);
                QCOMPARE(readMe.rtfReadMe->Text(), opening == 0 ? QString() : markup);
                QVERIFY(testing::writeFile(directory.filePath(u"README.txt"_qs), markup.toUtf8()));
            }
            QTest::keyClick(window->focusWidget(), key);
            QVERIFY(!form.IsLoaded() && !testing::visible(form) && testing::visible(preview));
        }
    }

    // Each window opened as a person opens it: those with a fixed border cannot be resized or
    // minimised, the Preview window can; none can be maximised. Every self-sizing label fits its
    // text (or, wrapped, its lines); the converter's headings are underlined; a screen reader and
    // the keyboard get every control. (Centred: check_e2e.sh.)
    void everyWindow_data()
    {
        QTest::addColumn<QString>("item"); // the menu item that opens it (the README: why it is not found)
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<QString>("sized"); // the labels that size themselves
        QTest::newRow("Preview") << "" << false << "lbl(Letters|Numbers|Special)\\(\\d+\\)";
        for (const char* problem : {"no README.txt", "a folder named README.txt"}) // (other causes: tst_richtextbox)
            QTest::addRow("README, %s", problem) << u"mnuReadMe, "_qs + problem << true << "lblNotFound";
        QTest::newRow("About") << "mnuAbout" << true << "lblVersion|lblWebPage|Label1|Label3|Label4";
        QTest::newRow("Document Converter") << "mnuDocConvert" << true << "Label1|lblFileName|Label2|lblFontName";
        QTest::newRow("Sentence Viewer") << "mnuSentence" << true << "lblOriginal|lblNewSentence|lblFont";
    }
    void everyWindow()
    {
        QFETCH(QString, item);
        QFETCH(bool, fixed);
        QFETCH(QString, sized);
        QTemporaryDir directory;
        const QString file = directory.filePath(u"a document with a rather long name, to be shown whole.txt"_qs);
        QVERIFY(testing::writeFile(file, "text"));
        if (item.endsWith(u"a folder named README.txt"))
            QVERIFY(QDir(directory.path()).mkdir(QStringLiteral("README.txt")));
        testing::Program program(
            usePlatform({QStringLiteral("Arial"), QStringLiteral("DejaVu Serif")}, directory.path()));
        frmMain& preview = program.preview;
        if (item.startsWith(u"mnuReadMe"))
            expectNotFoundMessage(dialogs());
        if (item == u"mnuDocConvert")
            dialogs().expectFile(file).expectFont(FontChoice{u"DejaVu Sans Condensed Bold Oblique"_qs, 12});
        if (item == u"mnuSentence")
            dialogs().expectInput(u"A sentence"_qs).expectFont(FontChoice{u"DejaVu Serif"_qs, 12});
        if (!item.isEmpty())
            testing::choose(preview, qPrintable(item.section(u',', 0, 0)));
        QList<Form*> forms = preview.findChildren<Form*>() << &preview;
        Form* form = *std::find_if(forms.begin(), forms.end(), [](Form* f) { return testing::visible(*f); });
        if (item.startsWith(u"mnuReadMe")) { // the red note between the pane and the button
            const frmReadMe& readMe = *preview.findChild<frmReadMe*>();
            const Label& note = *readMe.lblNotFound;
            QVERIFY(readMe.rtfReadMe->Text().isEmpty() && note.Visible()
                    && testing::shownColor(&note) == QColor(255, 0, 0));
            QVERIFY(note.Top() >= readMe.rtfReadMe->Top() + readMe.rtfReadMe->Height());
            QVERIFY(note.Top() + note.Height() <= readMe.cmdOK->Top());
        }
        if (item == u"mnuDocConvert")
            for (Label* heading :
                 {preview.findChild<frmDocConvert*>()->Label1, preview.findChild<frmDocConvert*>()->Label2})
                QVERIFY(testing::shownFont(heading).underline());
        QWidget* shown = form->window();
        QVERIFY2(accessFaults(shown).isEmpty(), qPrintable(accessFaults(shown).join(u"; ")));
        QCOMPARE(shown->minimumSize() == shown->maximumSize(), fixed);
        QVERIFY(!(shown->windowFlags() & Qt::WindowMaximizeButtonHint));
        QCOMPARE(bool(shown->windowFlags() & Qt::WindowMinimizeButtonHint), !fixed);
        if (fixed)
            QCOMPARE(shown->maximumSize(), shown->size());
        const QRegularExpression names(QRegularExpression::anchoredPattern(sized));
        for (Label* label : shown->findChildren<Label*>()) {
            if (names.match(label->objectName()).hasMatch())
                QVERIFY2(testing::fitsItsText(label), qPrintable(label->objectName()));
        }
    }
};

QTEST_MAIN(TestInfoWindows)
#include "tst_infowindows.moc"
