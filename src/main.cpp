#include "app/frmsplash.h"
#include "platform/platform.h"
#include "preview/frmmain.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMutex>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Qt ends the process with an abort when no platform plugin can open a display (no display set,
// an X server or a Wayland compositor that cannot be reached), after several lines that suggest
// reinstalling the program. While the application is being set up this guard holds Qt's messages
// back; if Qt gives up on the display it says so in one line and ends with status 2, otherwise
// the held messages go out as usual.
class DisplayGuard {
public:
    DisplayGuard() { s_previous = qInstallMessageHandler(&DisplayGuard::hold); }
    ~DisplayGuard()
    {
        qInstallMessageHandler(s_previous);
        release();
    }

private:
    struct Held {
        QtMsgType type;
        std::string file, function, category;
        int line;
        QString message;
    };

    static void hold(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        if (type == QtFatalMsg && message.contains(QLatin1String("platform plugin"))) {
            std::string where;
            for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
                const char* value = std::getenv(name);
                if (value && *value)
                    where += (where.empty() ? "" : ", ") + std::string(name) + '=' + value;
            }
            std::fprintf(stderr,
                         "glyvex: cannot open the display (%s); run it in a desktop session, "
                         "or under a virtual display: xvfb-run -a glyvex\n",
                         where.empty() ? "neither DISPLAY nor WAYLAND_DISPLAY is set" : where.c_str());
            std::fflush(stderr);
            std::_Exit(2);
        }
        if (type == QtFatalMsg) {
            release();
            s_previous(type, context, message);
            return;
        }
        const QMutexLocker lock(&s_mutex);
        s_held.push_back({type, context.file ? context.file : "", context.function ? context.function : "",
                          context.category ? context.category : "", context.line, message});
    }

    static void release()
    {
        const QMutexLocker lock(&s_mutex);
        for (const Held& held : std::exchange(s_held, {})) {
            const QMessageLogContext context(held.file.c_str(), held.line, held.function.c_str(),
                                             held.category.c_str());
            s_previous(held.type, context, held.message);
        }
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline QMutex s_mutex;
    static inline std::vector<Held> s_held;
};

} // namespace

int main(int argc, char* argv[])
{
    std::optional<DisplayGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    QApplication::setApplicationName(QStringLiteral("Glyvex"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Glyvex"));
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Shows the characters of the installed fonts beside Arial."));
    options.addHelpOption();
    options.addVersionOption();
    options.addPositionalArgument(QStringLiteral("FILE"),
                                  QStringLiteral("A font file to look at before it is installed (TrueType, OpenType, "
                                                 "a collection, WOFF, WOFF2, Type 1): opened for this run only."),
                                  QStringLiteral("[FILE...]"));
    options.process(app);
    QApplication::setQuitOnLastWindowClosed(false);
    const std::unique_ptr<glyvex::platform::Platform> platform = glyvex::platform::desktopPlatform();
    // The program ends when its last window is unloaded. exit(), not quit(): Qt 6 turns quit()
    // into a close request to every window, which a window may refuse.
    QObject::connect(
        platform.get(), &glyvex::platform::Platform::lastFormUnloaded, &app, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);

    // The Preview window and its controls are made when the start-up sequence loads it, once
    // the splash window is on screen; so is the choice of the default font, which reads the
    // installed fonts (the splash window names its own faces).
    std::optional<glyvex::frmMain> preview;
    glyvex::frmSplash splash(*platform, [&]() -> glyvex::frmMain& {
        platform->fonts().useInstalledDefaultFont();
        return preview.emplace(*platform);
    });
    platform->runHandler([&] { splash.Load(); });
    if (!preview || !preview->IsLoaded())
        return 1;
    // Font files given: opened once the Preview window is shown, the first one's face selected.
    if (const QStringList files = options.positionalArguments(); !files.isEmpty())
        platform->runHandler([&] { preview->openFontFiles(files); });
    return app.exec();
}
