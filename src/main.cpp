#include "app/frmsplash.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/programicon.h"
#include "preview/frmmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QMutex>
#include <QTimer>
#include <QWidget>
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
            std::fprintf(stderr, "glyvex: cannot open the display (%s); run it in a desktop session, "
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
            const QMessageLogContext context(held.file.c_str(), held.line, held.function.c_str(), held.category.c_str());
            s_previous(held.type, context, held.message);
        }
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline QMutex s_mutex;
    static inline std::vector<Held> s_held;
};

// With GLYVEX_QUIT_WHEN_SHOWN=1 the program ends once the Preview window has been painted:
// start-up benchmarks time launch to first picture.
class QuitWhenPainted final : public QObject {
public:
    QuitWhenPainted(QWidget* window, const QElapsedTimer& clock)
        : m_window(window)
        , m_clock(clock)
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget && widget->window() == m_window) {
                m_done = true;
                QTimer::singleShot(0, qApp, [this] {
                    std::fprintf(stderr, "glyvex: preview shown after %lld ms\n", static_cast<long long>(m_clock.elapsed()));
                    QCoreApplication::exit(0);
                });
            }
        }
        return false;
    }

private:
    QWidget* m_window;
    const QElapsedTimer& m_clock;
    bool m_done = false;
};

} // namespace

int main(int argc, char* argv[])
{
    QElapsedTimer clock;
    clock.start();
    std::optional<DisplayGuard> guard(std::in_place);
    QApplication app(argc, argv);
    guard.reset();
    QApplication::setApplicationName(QStringLiteral("Glyvex"));
    QApplication::setApplicationVersion(QStringLiteral("2.0"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.Glyvex"));
    QApplication::setWindowIcon(glyvex::platform::programIcon());
    QApplication::setQuitOnLastWindowClosed(false);
    glyvex::platform::useInstalledDefaultFont();
    QObject::connect(&glyvex::platform::Forms::instance(), &glyvex::platform::Forms::lastFormUnloaded, &app,
                     &QCoreApplication::quit, Qt::QueuedConnection);

    glyvex::frmMain preview;
    glyvex::frmSplash splash(preview);
    std::unique_ptr<QuitWhenPainted> probe;
    if (qEnvironmentVariableIntValue("GLYVEX_QUIT_WHEN_SHOWN") == 1)
        probe = std::make_unique<QuitWhenPainted>(preview.window(), clock);
    glyvex::platform::runHandler([&] { splash.Load(); });
    if (!preview.IsLoaded())
        return 1;
    return app.exec();
}
