// Screen readers and the keyboard: every control of every window has a name to speak, the name
// says what the control shows, and every command can be reached without the mouse.
#include "app/frmsplash.h"
#include "convert/frmdocconvert.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "sentence/frmsentence.h"
#include "support/program.h"

#include <QAccessible>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <memory>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

// Every window of the program, built from its tables (not loaded: no dialog is asked).
struct AllWindows {
    frmMain preview;
    frmSplash splash{preview};
    frmSentence sentence{preview};
    frmDocConvert converter;
    frmReadMe readMe;
    frmAbout about;

    Form& byName(const QString& name)
    {
        for (Form* form : std::initializer_list<Form*>{&preview, &splash, &sentence, &converter, &readMe, &about}) {
            if (form->Name() == name)
                return *form;
        }
        qFatal("no window %s", qPrintable(name));
    }
};

QString spoken(QWidget* widget, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(text) : QString();
}

void windowRows()
{
    QTest::addColumn<QString>("window");
    for (const char* name : {"frmMain", "frmSplash", "frmSentence", "frmDocConvert", "frmReadMe", "frmAbout"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

} // namespace

class TestAccessibility : public testing::GuiTest {
    Q_OBJECT
private slots:
    void everyControlHasAName_data() { windowRows(); }
    void everyControlHasAName()
    {
        QFETCH(QString, window);
        AllWindows windows;
        Form& form = windows.byName(window);
        Control::flushPending();
        const QList<Control*> controls = form.window()->findChildren<Control*>();
        QVERIFY(!controls.isEmpty());
        QStringList faults;
        for (Control* control : controls) {
            QWidget* w = control->widget();
            const QString name = spoken(w).trimmed();
            if (name.isEmpty())
                faults << control->Name() + QStringLiteral(": no name");
            // What the control shows is what it is called (a voice command can use it).
            QString shown;
            if (auto* label = qobject_cast<Label*>(control))
                shown = label->shownText();
            else if (auto* button = qobject_cast<Button*>(control))
                shown = Label::stripAccessKeys(button->Caption());
            if (!shown.isEmpty() && name != shown)
                faults << QStringLiteral("%1: called \"%2\", shows \"%3\"").arg(control->Name(), name, shown);
            if (!w->toolTip().isEmpty() && spoken(w, QAccessible::Description) != w->toolTip())
                faults << control->Name() + QStringLiteral(": tooltip not given as its description");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }

    // A label's name follows its caption; an empty one falls back to its tooltip or its role.
    void labelNamesFollowCaptions_data()
    {
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QString>("whenEmpty");
        QTest::newRow("no tooltip") << QString() << QStringLiteral("New Sentence");
        QTest::newRow("tooltip") << QStringLiteral("File Path/Name") << QStringLiteral("File Path/Name");
    }
    void labelNamesFollowCaptions()
    {
        QFETCH(QString, toolTip);
        QFETCH(QString, whenEmpty);
        QWidget parent;
        Label label({.kind = ControlKind::Label, .name = QStringLiteral("lblNewSentence"), .rect = {0, 0, 600, 300},
                     .toolTip = toolTip, .autoSize = true},
                    FontSpec{QStringLiteral("Arial"), 10.8f, 400}, &parent);
        QCOMPARE(spoken(label.widget()), whenEmpty);
        label.setCaption(QStringLiteral("Fish && &Chips"));
        Control::flushPending();
        QCOMPARE(spoken(label.widget()), QStringLiteral("Fish & Chips"));
        label.setCaption(QString());
        Control::flushPending();
        QCOMPARE(spoken(label.widget()), whenEmpty);
    }

    void spokenNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kind prefix") << "fraLetters" << "Letters";
        QTest::newRow("words") << "rtfReadMe" << "Read Me";
        QTest::newRow("capitals") << "cmdOK" << "OK";
        QTest::newRow("number") << "Image2" << "Image 2";
        QTest::newRow("array element") << "Label4(12)" << "Label 4";
        QTest::newRow("all small") << "sep1" << "sep 1";
    }
    void spokenNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(Control::spokenName(name), expected);
    }

    // Menus and menu items have access keys; buttons and links take the focus from Tab.
    void everyCommandHasAKey_data() { windowRows(); }
    void everyCommandHasAKey()
    {
        QFETCH(QString, window);
        AllWindows windows;
        Form& form = windows.byName(window);
        QStringList faults;
        if (auto* bar = form.window()->findChild<QMenuBar*>()) {
            for (QAction* top : bar->actions()) {
                if (QKeySequence::mnemonic(top->text()).isEmpty())
                    faults << QStringLiteral("menu \"%1\" has no access key").arg(top->text());
                for (QAction* item : top->menu()->actions()) {
                    if (!item->isSeparator() && QKeySequence::mnemonic(item->text()).isEmpty())
                        faults << QStringLiteral("menu item \"%1\" has no access key").arg(item->text());
                }
            }
        }
        for (Button* button : form.window()->findChildren<Button*>()) {
            if (!(button->widget()->focusPolicy() & Qt::TabFocus))
                faults << button->Name() + QStringLiteral(": not reached with Tab");
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }

    // The About window's web link: Tab reaches it, the space bar opens it; Enter still closes
    // the window, wherever the focus is.
    void linkFromTheKeyboard()
    {
        testing::Program program({QStringLiteral("Arial")});
        program.preview.mnuAbout->action()->trigger();
        frmAbout& about = *program.preview.about();
        QVERIFY(QTest::qWaitForWindowActive(about.window()));
        QCOMPARE(QApplication::focusWidget(), about.cmdOK->widget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), about.lblWebPage->widget());
        dialogs().expectUrl(true, [](const testing::DialogCall& call) {
            QCOMPARE(call.url, QUrl(QStringLiteral("https://www.example.org/glyvex/")));
        });
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(about.IsLoaded());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!about.IsLoaded());
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
