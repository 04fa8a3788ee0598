#include "platform/platform.h"

#include "platform/errors.h"
#include "platform/twips.h"
#include "platform/windowframe.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace glyvex::platform {

namespace {
QRect screenRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}
} // namespace

float ScreenObject::Width() const { return fromPixelsX(screenRect().width()); }
float ScreenObject::Height() const { return fromPixelsY(screenRect().height()); }

std::int32_t ScreenObject::FontCount() const { return static_cast<std::int32_t>(m_platform.fonts().families().size()); }

QString ScreenObject::Fonts(std::int32_t index) const
{
    const QStringList all = m_platform.fonts().families();
    if (index < 0 || index >= all.size())
        throw Error(QStringLiteral("Invalid font index %1").arg(index));
    return all.at(index);
}

// Over every window of the program: Qt's override cursor, one level deep.
void ScreenObject::setMousePointer(MousePointer pointer)
{
    m_pointer = pointer;
    // Loading a pointer from the cursor theme takes milliseconds. With none of the program's
    // windows on screen there is nothing to show it over: it is then loaded once the first
    // window has been handed to the window system, not before.
    const QWidgetList windows = QApplication::topLevelWidgets();
    if (std::any_of(windows.begin(), windows.end(), [](const QWidget* w) { return w->isVisible(); }))
        applyPointer();
}

void ScreenObject::applyPointer()
{
    if (m_applied == m_pointer)
        return;
    if (m_applied != MousePointer::Default)
        QApplication::restoreOverrideCursor();
    if (m_pointer == MousePointer::ArrowHourglass)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else if (m_pointer == MousePointer::UpArrow)
        QApplication::setOverrideCursor(Qt::UpArrowCursor);
    m_applied = m_pointer;
}

Platform::Platform(std::unique_ptr<Dialogs> dialogs, std::unique_ptr<FontSource> fonts, QString appPath)
    : m_dialogs(std::move(dialogs))
    , m_fonts(std::move(fonts))
{
    m_app.m_path = appPath.isEmpty() ? QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) : appPath;
}

Platform::~Platform()
{
    m_screen.m_pointer = MousePointer::Default;
    m_screen.applyPointer();
}

QMargins Platform::frameBeforeMapping(QWidget* window) { return platform::frameBeforeMapping(window); }
QMargins Platform::reportedFrame(const QWidget* window) { return platform::reportedFrame(window); }

void Platform::runHandler(const std::function<void()>& handler)
{
    if (const auto problem = caught(handler))
        m_dialogs->messageBox(QApplication::activeWindow(), *problem, MsgBoxStyle::Critical, QStringLiteral("Glyvex"));
}

void Platform::formUnloaded()
{
    if (m_loadedForms > 0 && --m_loadedForms == 0)
        emit lastFormUnloaded();
}

std::unique_ptr<Platform> desktopPlatform()
{
    return std::make_unique<Platform>(qtDialogs(), std::make_unique<FontSource>());
}

} // namespace glyvex::platform
