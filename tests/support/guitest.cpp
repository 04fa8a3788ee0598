#include "support/guitest.h"

#include <QAction>
#include <QFontDatabase>
#include <QTest>

namespace glyvex::testing {

namespace {
// The list of fonts the program sees is fixed; faces are drawn as the machine has them.
struct FixedFonts final : platform::FontSource {
    explicit FixedFonts(QStringList names)
        : names(std::move(names))
    {
    }
    QStringList families() override { return names; }
    QStringList names;
};
} // namespace

TestPlatform::TestPlatform(std::optional<QStringList> fonts, const QString& appPath)
    : Platform(std::make_unique<ScriptedDialogs>(),
               fonts ? std::make_unique<FixedFonts>(*fonts) : std::make_unique<platform::FontSource>(), appPath)
{
}

TestPlatform& GuiTest::usePlatform(const QStringList& fonts, const QString& appPath)
{
    cleanup();
    m_platform = std::make_unique<TestPlatform>(fonts, appPath);
    return *m_platform;
}

void GuiTest::cleanup()
{
    const std::unique_ptr<TestPlatform> done = std::move(m_platform);
    if (!done)
        return;
    QVERIFY2(done->scripted().failures().isEmpty(), qPrintable(done->scripted().failures().join(u"; ")));
    QVERIFY2(done->scripted().pending() == 0, "expected dialog(s) never shown");
}

void choose(const platform::Form& form, const char* item)
{
    QAction* action = form.window()->findChild<QAction*>(QString::fromLatin1(item));
    QVERIFY2(action, item);
    action->trigger();
}

QStringList twoInstalledFaces()
{
    QStringList faces{u"DejaVu Serif"_qs, u"Liberation Mono"_qs, u"DejaVu Sans Mono"_qs, u"Liberation Serif"_qs};
    faces.removeIf([](const QString& face) { return !QFontDatabase::families().contains(face); });
    return faces.mid(0, 2);
}

} // namespace glyvex::testing
