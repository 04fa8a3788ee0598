#include "app/frmsplash.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/programicon.h"
#include "preview/frmmain.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

bool displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[])
{
    if (!displayAvailable()) {
        std::fprintf(stderr, "glyvex: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set); "
                             "run it in a desktop session, or under a virtual display: xvfb-run -a glyvex\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Glyvex"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Glyvex"));
    QApplication::setWindowIcon(glyvex::platform::programIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    glyvex::platform::useInstalledDefaultFont();
    // The program ends when its last window is unloaded. exit(), not quit(): Qt 6 turns quit()
    // into a close request to every window, which a window may refuse.
    QObject::connect(&glyvex::platform::Forms::instance(), &glyvex::platform::Forms::lastFormUnloaded, &app,
                     [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);

    // The Preview window and its controls are made when the start-up sequence loads it, once
    // the splash window is on screen.
    std::optional<glyvex::frmMain> preview;
    glyvex::frmSplash splash([&]() -> glyvex::frmMain& { return preview.emplace(); });
    glyvex::platform::runHandler([&] { splash.Load(); });
    if (!preview || !preview->IsLoaded())
        return 1;
    return app.exec();
}
