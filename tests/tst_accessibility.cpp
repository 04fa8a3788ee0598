// Screen readers and the keyboard: every control of every window has a name to speak, the name
// says what the control shows, and every command can be reached without the mouse. (The About
// link from the keyboard: tst_infowindows; text on a dark theme, in a real session: check_e2e.sh.)
#include "app/frmsplash.h"
#include "convert/frmdocconvert.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "preview/frmmain.h"
#include "sentence/frmsentence.h"
#include "support/guitest.h"

#include <QAccessible>
#include <QApplication>
#include <QKeySequence>
#include <QMenu>
#include <QTest>

using namespace glyvex;
using namespace glyvex::platform;

namespace {

QString spoken(QWidget* widget, QAccessible::Text text = QAccessible::Name)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(text) : QString();
}

} // namespace

class TestAccessibility : public testing::GuiTest {
    Q_OBJECT
private slots:
    void everyControlHasANameAndAKey_data()
    {
        QTest::addColumn<QString>("window");
        for (const char* name : {"frmMain", "frmSplash", "frmSentence", "frmDocConvert", "frmReadMe", "frmAbout"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    // Every control has a name that says what it shows (a voice command can use it) and its
    // tooltip as its description; buttons are reached with Tab, menu items have access keys.
    void everyControlHasANameAndAKey()
    {
        QFETCH(QString, window);
        frmMain preview(platform()); // every window, built from its tables (not loaded: no dialog is asked)
        const frmSplash splash(preview);
        const frmSentence sentence(preview);
        const frmDocConvert converter(platform());
        const frmReadMe readMe(platform());
        const frmAbout about(platform());
        QCoreApplication::sendPostedEvents();
        QWidget* form = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            form = w->objectName() == window ? w : form;
        QVERIFY(form && !form->findChildren<Control*>().isEmpty());
        QStringList faults;
        for (Control* control : form->findChildren<Control*>()) {
            QWidget* w = control->widget();
            const QString name = spoken(w).trimmed();
            QString shown;
            if (auto* label = qobject_cast<Label*>(control))
                shown = label->shownText();
            else if (auto* button = qobject_cast<Button*>(control))
                shown = Label::stripAccessKeys(button->Caption());
            if (name.isEmpty() || !name.startsWith(shown))
                faults << QStringLiteral("%1: called \"%2\", shows \"%3\"").arg(control->Name(), name, shown);
            if (!w->toolTip().isEmpty() && spoken(w, QAccessible::Description) != w->toolTip())
                faults << control->Name() + QStringLiteral(": tooltip not given as its description");
            if (qobject_cast<Button*>(control) && !(w->focusPolicy() & Qt::TabFocus))
                faults << control->Name() + QStringLiteral(": not reached with Tab");
        }
        for (QMenu* menu : form->findChildren<QMenu*>()) {
            const QList<QAction*> items = menu->actions() << menu->menuAction();
            for (QAction* item : items) {
                if (!item->text().isEmpty() && QKeySequence::mnemonic(item->text()).isEmpty())
                    faults << QStringLiteral("menu item \"%1\" has no access key").arg(item->text());
            }
        }
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1String("; "))));
    }
};

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
