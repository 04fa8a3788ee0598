#include "platform/screen.h"

#include "platform/errors.h"
#include "platform/fonts.h"
#include "platform/twips.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QPalette>
#include <QScreen>
#include <optional>

namespace glyvex::platform {

namespace {
std::optional<QStringList>& fontNames()
{
    static std::optional<QStringList> names;
    return names;
}

const QStringList& loadedFontNames()
{
    if (!fontNames())
        fontNames() = fontSource().families();
    return *fontNames();
}

int g_mousePointer = 0;

QRect screenRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 800, 600);
}
} // namespace

namespace Screen {
float Width() { return fromPixelsX(screenRect().width()); }
float Height() { return fromPixelsY(screenRect().height()); }

std::int32_t FontCount() { return static_cast<std::int32_t>(loadedFontNames().size()); }

QString Fonts(std::int32_t index)
{
    const QStringList& names = loadedFontNames();
    if (index < 0 || index >= names.size())
        throw Error(QStringLiteral("Invalid font index %1").arg(index));
    return names.at(index);
}

void reloadFonts() { fontNames().reset(); }

void setMousePointer(int code)
{
    if (code == g_mousePointer)
        return;
    if (g_mousePointer != 0)
        QApplication::restoreOverrideCursor();
    if (code == 13)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else if (code != 0)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    g_mousePointer = code;
}

int MousePointer() { return g_mousePointer; }
} // namespace Screen

namespace App {
namespace {
QString& pathOverride()
{
    static QString directory;
    return directory;
}
} // namespace

QString Path()
{
    if (!pathOverride().isEmpty())
        return pathOverride();
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
}

void overridePath(const QString& directory) { pathOverride() = directory; }
} // namespace App

void DoEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString LCase(const QString& text) { return text.toLower(); }
QString UCase(const QString& text) { return text.toUpper(); }

QColor systemColor(int index)
{
    switch (index) {
    case 4:
        return QApplication::palette("QMenu").color(QPalette::Window);
    case 5:
        return QApplication::palette().color(QPalette::Base);
    default:
        throw Error(QStringLiteral("Invalid system colour %1").arg(index));
    }
}

} // namespace glyvex::platform
