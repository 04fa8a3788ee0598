// Screen readers, the keyboard and the desktop's colours: every control of every window has a name
// to speak, the name says what the control shows, every command can be reached without the mouse,
// and text stays readable on a dark theme.
#include "app/frmsplash.h"
#include "convert/frmdocconvert.h"
#include "info/frmabout.h"
#include "info/frmreadme.h"
#include "sentence/frmsentence.h"
#include "support/program.h"

#include <QAccessible>
#include <QAction>
#include <QSet>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QTest>
#include <algorithm>
#include <cmath>
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

// WCAG contrast ratio of two colours.
double contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor c) {
        const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
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

    // Colours a window does not name are the palette's, so that text stays readable on a dark
    // theme; the colours it names stay as they are.
    void coloursFollowThePalette_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("dark");
        QTest::addColumn<QColor>("named");
        const QColor readable; // none named: the text must be readable (contrast 4.5:1)
        for (const auto& [row, window, control, dark, named] :
             {std::tuple{"preview label", "frmMain", "lblLetters(0)", true, readable},
              {"viewer label", "frmSentence", "Label1", true, readable},
              {"converter label", "frmDocConvert", "Label1", true, readable},
              {"splash white", "frmSplash", "lblVersion", true, QColor(255, 255, 255)},
              {"About white", "frmAbout", "lblVersion", false, QColor(255, 255, 255)},
              {"About link blue", "frmAbout", "lblWebPage", true, QColor(0, 0, 255)},
              {"About rule grey", "frmAbout", "Line1(1)", true, QColor(128, 128, 128)},
              {"README note red", "frmReadMe", "lblNotFound", true, QColor(255, 0, 0)}})
            QTest::newRow(row) << QString::fromLatin1(window) << QString::fromLatin1(control) << dark << named;
    }
    void coloursFollowThePalette()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(bool, dark);
        QFETCH(QColor, named);
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(original); });
        QPalette palette = original;
        for (auto [role, colour] : {std::pair{QPalette::Window, 0x323232},
                                    {QPalette::Base, 0x2d2d2d},
                                    {QPalette::Button, 0x3c3c3c},
                                    {QPalette::WindowText, 0xeeeeec},
                                    {QPalette::Text, 0xeeeeec},
                                    {QPalette::ButtonText, 0xeeeeec}})
            palette.setColor(role, QColor::fromRgb(colour));
        if (dark)
            QApplication::setPalette(palette);
        AllWindows windows(platform());
        Form& form = windows.byName(window);
        QWidget* widget = form.window()->findChild<QWidget*>(control);
        QVERIFY(widget);
        widget->show();
        QCoreApplication::sendPostedEvents();
        form.window()->resize(1000, 1000); // room for every control: the window is not loaded, so not sized
        const QImage whole = form.window()->grab().toImage(); // lays the window out first
        const QImage image = whole.copy(QRect(widget->mapTo(form.window(), QPoint()), widget->size()));
        // The text is the colour that stands out most from the background (a corner's).
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                colours.insert(image.pixel(x, y) & RGB_MASK);
        }
        const QColor background = image.pixelColor(0, 0);
        QColor text = background;
        for (QRgb colour : colours) {
            if (contrast(QColor(colour), background) > contrast(text, background))
                text = QColor(colour);
        }
        if (named.isValid()) {
            QVERIFY2(colours.contains(named.rgb() & RGB_MASK), qPrintable(named.name() + QStringLiteral(" not drawn")));
        } else {
            QVERIFY2(contrast(text, background) >= 4.5,
                     qPrintable(QStringLiteral("%1 on %2: %3:1")
                                    .arg(text.name(), background.name())
                                    .arg(contrast(text, background), 0, 'f', 1)));
        }
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
