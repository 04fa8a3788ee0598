#include "support/guitest.h"

#include <QFontDatabase>
#include <QTest>
#include <QWidget>

namespace glyvex::testing {

namespace {
class FixedFonts final : public platform::FontSource {
public:
    explicit FixedFonts(QStringList names)
        : m_names(std::move(names))
    {
    }
    QStringList families() override { return m_names; }

private:
    QStringList m_names;
};
} // namespace

TestPlatform::TestPlatform(std::optional<QStringList> fonts, const QString& appPath)
    : Platform(std::make_unique<ScriptedDialogs>(),
               fonts ? std::make_unique<FixedFonts>(*fonts) : platform::installedFonts(), appPath)
{
}

QMargins TestPlatform::frameBeforeMapping(QWidget* window)
{
    return frameBefore ? *frameBefore : Platform::frameBeforeMapping(window);
}

QMargins TestPlatform::reportedFrame(const QWidget* window)
{
    if (!frameShown)
        return Platform::reportedFrame(window);
    return window->isVisible() ? *frameShown : QMargins();
}

TestPlatform& GuiTest::restart(std::optional<QStringList> fonts, const QString& appPath)
{
    cleanup();
    m_platform = std::make_unique<TestPlatform>(std::move(fonts), appPath);
    return *m_platform;
}

void GuiTest::init() { m_platform = std::make_unique<TestPlatform>(); }

void GuiTest::cleanup()
{
    const std::unique_ptr<TestPlatform> done = std::move(m_platform);
    if (!done)
        return;
    const QStringList failures = done->scripted().failures();
    const int pending = done->scripted().pending();
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
