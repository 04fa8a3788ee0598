// glyvex_keywatch: times how a program's font list answers the keyboard, seen from the X
// server, with no help from the program.
//
//   glyvex_keywatch [-v] [-t SECONDS] [-q MS] [-k STEPS] -n TITLE -- PROGRAM [ARGS...]
//
// It moves the pointer to the screen's far corner (no hover or tool tip in the figures), asks
// the server for the creation and map events of every top-level window and for the damage
// (XDamage) of each new one, then starts PROGRAM and waits for its window TITLE to be mapped,
// drawn, and quiet (no damage for -q MS, default 300). It gives that window the input focus
// (there is no window manager to do it) and waits for quiet again; the list is expected to
// have the keyboard focus in it, and at least STEPS + 1 entries, the last one selected.
// Then, with keys sent through XTest:
//   1. F4 opens the list's pop-up: the time from the key to the pop-up window mapped and to
//      its first damage (drawn) is printed as
//        popup_mapped MS
//        popup_drawn MS
//      and Escape closes it again (untimed: its unmap and quiet awaited);
//   2. Home selects the first entry (untimed: damage and quiet awaited), then Down is sent
//      STEPS times (-k, default 50), each once the window's damage for the one before has
//      been seen: the time from each key to the window's first damage after it is printed as
//        step I MS
//      and at the end
//        steps_total MS
//        steps_median MS
// With -v each damage event (time, window, bounding box) goes to standard error, and each
// key sent too. Then it kills the program. Exit status 0 when all was seen, 3 when the program ended or
// the timeout (-t, default 120 s, for the whole run) passed first, 2 on a usage or X error.
// Needs DISPLAY, a server with the XTEST and DAMAGE extensions and no window manager.

#include "xwatch.h"

#include <X11/extensions/Xdamage.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <map>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using xwatch::ignoreErrors;
using xwatch::nowMs;

int usage()
{
    std::fprintf(stderr, "usage: glyvex_keywatch [-v] [-t SECONDS] [-q MS] [-k STEPS] -n TITLE -- PROGRAM [ARGS...]\n");
    return 2;
}

struct Failed {
    const char* what;
};

// What the server has told about the program's top-level windows.
class Watch {
public:
    Watch(Display* display, int damageEvent, pid_t child, double deadline)
        : m_display(display)
        , m_damageEvent(damageEvent)
        , m_child(child)
        , m_deadline(deadline)
    {
    }

    struct Window_ {
        Damage damage = None;
        bool mapped = false;
        double mappedAt = 0, lastDamage = 0;
        int damages = 0;
    };

    std::map<Window, Window_> windows;
    Window lastMapped = None;

    std::string title(Window window) { return xwatch::title(m_display, window); }

    // Handles events until `done` says so; Failed when the program ends or time runs out.
    void until(const std::function<bool()>& done, const char* what)
    {
        const int fd = ConnectionNumber(m_display);
        while (!done()) {
            if (XPending(m_display)) {
                handle();
                continue;
            }
            int status = 0;
            if (waitpid(m_child, &status, WNOHANG) == m_child) {
                m_ended = true;
                throw Failed{"the program ended"};
            }
            const double left = m_deadline - nowMs();
            if (left <= 0)
                throw Failed{what};
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::clamp(left, 1.0, 10.0)));
        }
    }

    // Reads what has come in so far, after a round trip to the server.
    void drain()
    {
        XSync(m_display, False);
        while (XPending(m_display))
            handle();
    }

    bool ended() const { return m_ended; }
    void setVerbose(bool verbose) { m_verbose = verbose; }

private:
    void track(Window window)
    {
        Window_& w = windows[window];
        if (w.damage == None)
            w.damage = XDamageCreate(m_display, window, XDamageReportNonEmpty);
    }

    void handle()
    {
        XEvent event;
        XNextEvent(m_display, &event);
        const double at = nowMs();
        if (event.type == CreateNotify) {
            track(event.xcreatewindow.window);
        } else if (event.type == MapNotify) {
            track(event.xmap.window); // made before we listened: its damage from now on
            Window_& w = windows[event.xmap.window];
            w.mapped = true;
            w.mappedAt = at;
            lastMapped = event.xmap.window;
        } else if (event.type == UnmapNotify) {
            windows[event.xunmap.window].mapped = false;
        } else if (event.type == DestroyNotify) {
            windows.erase(event.xdestroywindow.window);
        } else if (event.type == m_damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            const auto found = windows.find(damage.drawable);
            if (m_verbose)
                std::fprintf(stderr, "%.1f damage 0x%lx %dx%d+%d+%d\n", at, damage.drawable, damage.area.width,
                             damage.area.height, damage.area.x, damage.area.y);
            if (found != windows.end()) {
                ++found->second.damages;
                found->second.lastDamage = at;
            }
            XDamageSubtract(m_display, damage.damage, None, None);
        }
    }

    Display* m_display;
    int m_damageEvent;
    pid_t m_child;
    double m_deadline;
    bool m_ended = false;
    bool m_verbose = false;
};

bool g_verbose = false;

void key(Display* display, KeySym symbol)
{
    if (g_verbose)
        std::fprintf(stderr, "%.1f key %s\n", nowMs(), XKeysymToString(symbol));
    const KeyCode code = XKeysymToKeycode(display, symbol);
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
}

} // namespace

int main(int argc, char** argv)
{
    std::string wanted;
    double timeoutMs = 120000, quietMs = 300;
    int steps = 50;
    bool verbose = false;
    for (int option; (option = getopt(argc, argv, "+vn:t:q:k:")) != -1;) {
        if (option == 'v')
            verbose = true;
        else if (option == 'n')
            wanted = optarg;
        else if (option == 't')
            timeoutMs = std::atof(optarg) * 1000;
        else if (option == 'q')
            quietMs = std::atof(optarg);
        else if (option == 'k')
            steps = std::atoi(optarg);
        else
            return usage();
    }
    const int i = optind;
    if (wanted.empty() || i >= argc || steps < 1)
        return usage();

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "glyvex_keywatch: cannot open display\n");
        return 2;
    }
    int damageEvent = 0, damageError = 0, major = 0, minor = 0, xtestEvent = 0, xtestError = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError) || !XDamageQueryVersion(display, &major, &minor)
        || !XTestQueryExtension(display, &xtestEvent, &xtestError, &major, &minor)) {
        std::fprintf(stderr, "glyvex_keywatch: the X server lacks the DAMAGE or XTEST extension\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    const Screen* screen = DefaultScreenOfDisplay(display);
    XWarpPointer(display, None, root, 0, 0, 0, 0, WidthOfScreen(screen) - 1, HeightOfScreen(screen) - 1);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);
    fcntl(ConnectionNumber(display), F_SETFD, FD_CLOEXEC);

    const double start = nowMs();
    const pid_t child = xwatch::launch("glyvex_keywatch", argv + i);
    if (child < 0)
        return 2;

    Watch watch(display, damageEvent, child, start + timeoutMs);
    watch.setVerbose(verbose);
    g_verbose = verbose;
    int status = 0;
    try {
        // Its window, mapped, drawn and then quiet; then quiet again once it has the focus.
        Window window = None;
        watch.until(
            [&] {
                for (const auto& [id, w] : watch.windows)
                    if (w.mapped && watch.title(id) == wanted)
                        window = id;
                return window != None;
            },
            "no window of that title was mapped in time");
        std::printf("mapped %.1f %s\n", watch.windows[window].mappedAt - start, wanted.c_str());
        const auto quiet = [&](const char* what) {
            watch.until(
                [&] {
                    const Watch::Window_& w = watch.windows[window];
                    return w.damages > 0 && nowMs() - w.lastDamage >= quietMs;
                },
                what);
        };
        quiet("the window was not drawn in time");
        // The server hands the program its focus event before any key sent after it.
        XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
        watch.drain();
        watch.windows[window].lastDamage = nowMs(); // quiet from here on
        quiet("the window did not settle after the focus");
        std::printf("ready %.1f\n", nowMs() - start);

        // 1. The pop-up.
        watch.drain();
        Window popup = None;
        double sent = nowMs();
        key(display, XK_F4);
        watch.until(
            [&] {
                if (watch.lastMapped != None && watch.lastMapped != window && watch.windows[watch.lastMapped].mapped)
                    popup = watch.lastMapped;
                return popup != None;
            },
            "no pop-up window was mapped after F4");
        std::printf("popup_mapped %.1f\n", watch.windows[popup].mappedAt - sent);
        watch.until([&] { return watch.windows[popup].damages > 0; }, "the pop-up was not drawn");
        std::printf("popup_drawn %.1f\n", watch.windows[popup].lastDamage - sent);
        std::fflush(stdout);
        key(display, XK_Escape);
        watch.until([&] { return !watch.windows.count(popup) || !watch.windows[popup].mapped; },
                    "the pop-up did not close on Escape");
        watch.drain();
        watch.windows[window].lastDamage = nowMs(); // quiet from the pop-up's closing on
        quiet("the window did not settle after the pop-up");

        // 2. Steps down the list from its first entry.
        int seen = watch.windows[window].damages;
        key(display, XK_Home);
        watch.until([&] { return watch.windows[window].damages > seen; }, "no repaint after Home");
        quiet("the window did not settle after Home");
        std::vector<double> times;
        for (int step = 1; step <= steps; ++step) {
            watch.drain();
            seen = watch.windows[window].damages;
            sent = nowMs();
            key(display, XK_Down);
            watch.until([&] { return watch.windows[window].damages > seen; }, "no repaint after Down");
            times.push_back(watch.windows[window].lastDamage - sent);
            std::printf("step %d %.1f\n", step, times.back());
        }
        double total = 0;
        for (const double t : times)
            total += t;
        std::sort(times.begin(), times.end());
        const size_t n = times.size();
        const double median = n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
        std::printf("steps_total %.1f\nsteps_median %.1f\n", total, median);
    } catch (const Failed& failure) {
        std::fprintf(stderr, "glyvex_keywatch: %s\n", failure.what);
        status = 3;
    }
    std::fflush(stdout);
    if (!watch.ended()) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    XCloseDisplay(display);
    return status;
}
