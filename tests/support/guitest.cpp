#include "support/guitest.h"

#include "platform/controls.h"
#include "platform/screen.h"

#include <QApplication>
#include <QFontDatabase>
#include <QTest>

namespace glyvex::testing {

void useFonts(const QStringList& names)
{
    platform::setFontSource(std::make_unique<FixedFontSource>(names));
    platform::Screen::reloadFonts();
}

void GuiTest::init()
{
    auto scripted = std::make_unique<ScriptedDialogs>();
    m_dialogs = scripted.get();
    platform::setDialogs(std::move(scripted));
}

void GuiTest::cleanup()
{
    platform::Control::flushPending();
    const QStringList failures = m_dialogs->failures();
    const int pending = m_dialogs->pending();
    platform::setDialogs(nullptr);
    m_dialogs = nullptr;
    platform::setFontSource(nullptr);
    platform::Screen::reloadFonts();
    platform::Screen::setMousePointer(0);
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(QLatin1String("; "))));
    QVERIFY2(pending == 0, qPrintable(QStringLiteral("%1 expected dialog(s) never shown").arg(pending)));
}

bool installed(const QString& family) { return QFontDatabase::families().contains(family); }

QStringList twoInstalledFaces()
{
    QStringList faces;
    for (const QString& family : {QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Mono"),
                                  QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Serif")}) {
        if (installed(family))
            faces.append(family);
    }
    return faces.mid(0, 2);
}

} // namespace glyvex::testing
