#include "app/frmsplash.h"
#include "platform/errors.h"
#include "platform/form.h"
#include "platform/programicon.h"
#include "preview/frmmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

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
