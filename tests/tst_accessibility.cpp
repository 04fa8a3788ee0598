// Screen readers and the keyboard: every control of every window has a name to speak, the name
// says what the control shows, and every command can be reached without the mouse. (Text on a
// dark theme is checked in a real session: check_e2e.sh.)
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
    explicit AllWindows(Platform& platform)
        : preview(platform)
        , converter(platform)
        , readMe(platform)
        , about(platform)
    {
    }
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
    // Every control has a name that says what it shows, and is reached from the keyboard.
    void everyControlHasANameAndAKey_data() { windowRows(); }
    void everyControlHasANameAndAKey()
    {
        QFETCH(QString, window);
        AllWindows windows(platform());
        Form& form = windows.byName(window);
        QCoreApplication::sendPostedEvents();
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
            if (!shown.isEmpty() && !name.startsWith(shown))
                faults << QStringLiteral("%1: called \"%2\", shows \"%3\"").arg(control->Name(), name, shown);
            if (!w->toolTip().isEmpty() && spoken(w, QAccessible::Description) != w->toolTip())
                faults << control->Name() + QStringLiteral(": tooltip not given as its description");
            if (qobject_cast<Button*>(control) && !(w->focusPolicy() & Qt::TabFocus))
                faults << control->Name() + QStringLiteral(": not reached with Tab");
        }
        // Menus and their items have access keys.
        for (QMenu* menu : form.window()->findChildren<QMenu*>()) {
            const QList<QAction*> items = menu->actions() << menu->menuAction();
            for (QAction* item : items) {
                if (!item->text().isEmpty() && QKeySequence::mnemonic(item->text()).isEmpty())
                    faults << QStringLiteral("menu item \"%1\" has no access key").arg(item->text());
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }

    // The About window's web link: Tab reaches it, the space bar opens it; Enter still closes
    // the window, wherever the focus is.
    void linkFromTheKeyboard()
    {
        testing::Program program(usePlatform({QStringLiteral("Arial")}));
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
